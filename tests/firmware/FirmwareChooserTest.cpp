#include "firmware/FirmwareFixture.h"

namespace orva {
namespace {

class FirmwareChooserTest : public test::FirmwareFixture {
  protected:
    void SetUp() override { start(); }

    // The message box of a refused choice, and the Upgrade button left off.
    void expectRefused(const std::string& text) {
        ASSERT_FALSE(prompts.shown.empty());
        EXPECT_EQ(lastMessage(), text);
        EXPECT_EQ(prompts.shown.back().title, "Halvane Mentioned:");
        EXPECT_EQ(prompts.shown.back().buttons, MessageButtons::Ok);
        EXPECT_FALSE(enabled(ids::main::kUpgrade));
    }
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
    EXPECT_EQ(image.transferLength(), 101);
    EXPECT_EQ(image.blockCount(), 3);
    EXPECT_EQ(image.byteAt(99), static_cast<std::uint8_t>(sampleImage(100)[99]));
    EXPECT_EQ(image.byteAt(100), 0);
    // Choosing talks to nobody.
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(FirmwareChooserTest, OnlyTheLastThreeCharactersOfTheNameCount) {
    english();
    EXPECT_FALSE(choose(sampleImage(100), "/pilot/firmware.BIN"));
    expectRefused("The file was not the Fw for Kivrel!Please select it again!");
    // The refused path stays on show.
    EXPECT_EQ(core.model().text(ids::main::kUpgradeHint), "/pilot/firmware.BIN");

    EXPECT_TRUE(choose(sampleImage(100), "/pilot/notes.txtbin"));
    EXPECT_EQ(core.firmware().chooser().fileName(), "notes.txtbin");
}

TEST_F(FirmwareChooserTest, RefusalsInChinese) {
    prompts.files.push_back(std::string());  // confirmed with nothing typed
    click(ids::main::kChooseFirmware);
    EXPECT_EQ(lastMessage(), "您尚未选择升级文件，请重新选择!");
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示:");

    EXPECT_FALSE(choose(sampleImage(10), "/pilot/readme.txt"));
    EXPECT_EQ(lastMessage(), "你选择的不是升级文件，请重新选择升级文件");

    EXPECT_FALSE(choose("x", "/pilot/one.bin"));
    EXPECT_EQ(lastMessage(), "文件已损坏，请重新选择升级文件");

    EXPECT_FALSE(choose(sampleImage(FirmwareImage::kCapacity + 1), "/pilot/huge.bin"));
    EXPECT_EQ(lastMessage(), "文件错误，请重新选择升级文件");
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
}

TEST_F(FirmwareChooserTest, CancelShowsTheHintAndTheFileError) {
    english();
    ASSERT_TRUE(choose(sampleImage(100)));
    click(ids::main::kChooseFirmware);  // no file scripted: the dialog is cancelled
    expectRefused("File error ! Please select it again!");
    EXPECT_EQ(core.model().text(ids::main::kUpgradeHint),
              "<-Please select FW file(*.bin),then click the [Upgrade]!");
    EXPECT_EQ(core.firmware().chooser().fileName(), "");
}

TEST_F(FirmwareChooserTest, DamagedAndUnreadableFilesAreRefused) {
    english();
    EXPECT_FALSE(choose("", "/pilot/empty.bin"));
    expectRefused("File error ! Please select it again!");
    EXPECT_FALSE(choose("x", "/pilot/one.bin"));
    expectRefused("File error ! Please select it again!");

    files.failing["/pilot/locked.bin"] = "\"/pilot/locked.bin\": Permission denied";
    prompts.files.push_back(std::string("/pilot/locked.bin"));
    click(ids::main::kChooseFirmware);
    expectRefused("File error ! Please select it again!");

    // Opened, then the disk fails: the read error.
    files.failingAfter["/pilot/bad.bin"] = 30;
    EXPECT_FALSE(choose(sampleImage(100), "/pilot/bad.bin"));
    expectRefused("File error ! Please select it again!");
    files.failingAfter["/pilot/bad2.bin"] = 30;
    core.onUserAction({ActionKind::Click, ids::main::kLanguage});
    EXPECT_FALSE(choose(sampleImage(100), "/pilot/bad2.bin"));
    EXPECT_EQ(lastMessage(), "文件错误，请重新选择升级文件");
    core.onUserAction({ActionKind::Click, ids::main::kLanguage});

    // Two bytes are enough: one data packet.
    EXPECT_TRUE(choose("ab", "/pilot/two.bin"));
    EXPECT_EQ(core.firmware().image().blockCount(), 2);
}

TEST_F(FirmwareChooserTest, TheBufferHoldsUpTo65536Bytes) {
    english();
    const std::string full = sampleImage(FirmwareImage::kCapacity);
    ASSERT_TRUE(choose(full, "/pilot/full.bin"));
    const FirmwareImage& image = core.firmware().image();
    EXPECT_EQ(image.blockCount(), 1172);
    EXPECT_EQ(image.byteAt(FirmwareImage::kCapacity - 1), static_cast<std::uint8_t>(full.back()));

    // One byte more is refused and leaves the loaded image but not the button.
    EXPECT_FALSE(choose(sampleImage(FirmwareImage::kCapacity + 1), "/pilot/over.bin"));
    expectRefused("File error ! Please select it again!");
    EXPECT_EQ(image.fileLength(), FirmwareImage::kCapacity);
}

}  // namespace
}  // namespace orva
