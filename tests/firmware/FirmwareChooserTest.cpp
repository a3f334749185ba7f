#include "firmware/FirmwareFixture.h"

namespace orva {
namespace {

constexpr const char* kFileError = "File error ! Please select it again!";

class FirmwareChooserTest : public test::FirmwareFixture {
  protected:
    void SetUp() override { start(); }
};

TEST_F(FirmwareChooserTest, AGoodFileIsLoadedAndEnablesUpgrade) {
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
    ASSERT_TRUE(choose(sampleImage(100)));
    ASSERT_EQ(prompts.asked.size(), 1u);
    const FileChoice& dialog = prompts.asked[0];
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.defaultName, "");
    EXPECT_EQ(dialog.defaultSuffix, "bin");
    EXPECT_EQ(dialog.filter, "Halvane升级文件(*.bin)|*.bin|所有文件(*.*)|*.*||");

    EXPECT_EQ(core.model().text(ids::main::kUpgradeHint), kImagePath);
    EXPECT_EQ(core.firmware().chooser().fileName(), "kivrel.bin");
    const FirmwareImage& image = core.firmware().image();
    EXPECT_EQ(image.fileLength(), 100u);
    EXPECT_EQ(port.takeWritten(), "");  // choosing talks to nobody

    // Only the last three characters of the name count; 2 to 65536 bytes load.
    EXPECT_TRUE(choose("ab", "/pilot/notes.txtbin"));
    EXPECT_EQ(core.firmware().chooser().fileName(), "notes.txtbin");
    // The shorter file replaces the longer one whole: nothing of the first is left behind it.
    EXPECT_EQ(image.fileLength(), 2u);
    EXPECT_EQ(image.blockCount(), 2);
    EXPECT_EQ(image.byteAt(1), 'b');
    EXPECT_EQ(image.byteAt(2), 0);
    EXPECT_EQ(image.byteAt(99), 0);
    EXPECT_TRUE(choose(sampleImage(FirmwareImage::kCapacity), "/pilot/full.bin"));
}

// Every refusal: a message box, the Upgrade button off, the refused path left on show.
TEST_F(FirmwareChooserTest, RefusalsInBothLanguages) {
    struct Case {
        bool english;
        std::string content;
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        {true, "abc", "/pilot/firmware.BIN",
         "The file was not the Fw for Kivrel!Please select it again!"},
        {false, "abc", "/pilot/readme.txt", "你选择的不是升级文件，请重新选择升级文件"},
        {false, "x", "/pilot/one.bin", "文件已损坏，请重新选择升级文件"},
        {true, "x", "/pilot/one.bin", kFileError},
        {false, "", "/pilot/empty.bin", "文件已损坏，请重新选择升级文件"},
        {false, std::string(FirmwareImage::kCapacity + 1, 'x'), "/pilot/huge.bin",
         "文件错误，请重新选择升级文件"},
        {true, std::string(FirmwareImage::kCapacity + 1, 'x'), "/pilot/huge.bin", kFileError},
    };
    for (const Case& c : cases) {
        if (c.english != (core.language() == Language::English)) {
            english();
        }
        ASSERT_TRUE(choose("ab", "/pilot/good.bin"));
        EXPECT_FALSE(choose(c.content, c.path)) << c.path;
        EXPECT_EQ(lastMessage(), c.message) << c.path;
        EXPECT_EQ(prompts.shown.back().title, c.english ? "Halvane Mentioned:" : "Halvane提示:");
        EXPECT_EQ(prompts.shown.back().buttons, MessageButtons::Ok);
        EXPECT_FALSE(enabled(ids::main::kUpgrade)) << c.path;
        EXPECT_EQ(core.model().text(ids::main::kUpgradeHint), c.path);
    }
}

TEST_F(FirmwareChooserTest, NoFileCancelAndReadFailures) {
    prompts.files.push_back(std::string());  // confirmed with nothing typed
    click(ids::main::kChooseFirmware);
    EXPECT_EQ(lastMessage(), "您尚未选择升级文件，请重新选择!");

    english();
    ASSERT_TRUE(choose(sampleImage(100)));
    click(ids::main::kChooseFirmware);  // no file scripted: the dialog is cancelled
    EXPECT_EQ(lastMessage(), kFileError);
    EXPECT_EQ(core.model().text(ids::main::kUpgradeHint),
              "<-Please select FW file(*.bin),then click the [Upgrade]!");
    EXPECT_EQ(core.firmware().chooser().fileName(), "");
    EXPECT_FALSE(enabled(ids::main::kUpgrade));

    files.failing["/pilot/locked.bin"] = "\"/pilot/locked.bin\": Permission denied";
    prompts.files.push_back(std::string("/pilot/locked.bin"));
    click(ids::main::kChooseFirmware);
    EXPECT_EQ(lastMessage(), kFileError);
    files.failingAfter["/pilot/bad.bin"] = 30;  // opened, then the disk fails
    EXPECT_FALSE(choose(sampleImage(100), "/pilot/bad.bin"));
    EXPECT_EQ(lastMessage(), kFileError);
}

TEST(FirmwareImageTest, BlockCountCountsTheStartPacketAndOneZeroBehindTheFile) {
    // (file length, B): N = L + 1 bytes in 56-byte pieces, plus the start packet.
    const std::pair<std::size_t, int> cases[] = {
        {2, 2}, {55, 2}, {56, 3}, {100, 3}, {111, 3}, {112, 4}, {1000, 19}, {65536, 1172},
    };
    for (const auto& [length, blocks] : cases) {
        EXPECT_EQ(FirmwareImage::blockCountFor(length), blocks) << length;
    }
}

}  // namespace
}  // namespace orva
