#include <tuple>

#include "Golden.h"
#include "SampleStore.h"
#include "paramfile/GbkConverter.h"
#include "support/CoreHarness.h"

namespace orva::test {
namespace {

constexpr const char* kPath = "/home/pilot/QDMC_Data.txt";

using SaveFlow = CoreHarness;

TEST_F(SaveFlow, WritesTheStoreAfterConfirmationAndChoice) {
    core.store() = sampleStore();
    core.model().setValue(ids::main::kPortCombo, 9);  // COM10, the first without a zero
    prompts.files.push_back(kPath);
    click(ids::main::kSaveData);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage().title, "Halvane提示:");
    EXPECT_EQ(lastMessage().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(lastMessage().text,
              "此操作将把当前显示的飞控参数保存到电脑中，默认文件名为QDMC_Data.txt,\r\r"
              "可自行更改文件名和存贮路径。\r\r注意：保存后的文本格式请不要更改，否则将无法正确"
              "恢复到飞控中！\r\r您确定需要立即保存当前各项数据吗？");
    const FileChoice& choice = prompts.asked.at(0);
    EXPECT_TRUE(choice.save);
    EXPECT_EQ(choice.defaultName + "." + choice.defaultSuffix, "QDMC_Data.txt");
    EXPECT_EQ(choice.filter, "文本文件 (*.txt)|*.txt||");
    EXPECT_EQ(files.content[kPath], goldenSaveFile().replace(13, 2, "10"));
    EXPECT_TRUE(port.writes.empty());  // saving talks to nobody
}

// Settings, the alarm voltage and the declination at four characters at least; the rest plain.
TEST_F(SaveFlow, ValueTextsArePaddedAsTheRestoreReadsThem) {
    const std::tuple<int, int, const char*> rows[] = {
        {3, 7, "0007"},      {3, 100, "0100"},      {26, 330, "0330"},  {24, -5, "-5"},
        {17, 1000, "01000"}, {190, 7, "0007"},      {190, 180, "0180"}, {190, -12, "-12"},
        {27, 7, "7"},        {175, 0, "5000-5000"},
    };
    for (const auto& [slot, value, text] : rows) {
        core.store().set(slot, value);
        prompts.files.push_back(kPath);
        click(ids::main::kSaveData);
        const std::string& file = files.content[kPath];
        std::size_t at = 0;
        for (int line = 0; line <= slot; ++line) {
            at = file.find("\r\r\n", at) + 3;
        }
        EXPECT_EQ(file.substr(at + 13, file.find("\r\r\n", at) - at - 13), text) << slot;
    }
}

TEST_F(SaveFlow, CancelAndFailures) {
    click(ids::main::kLanguage);
    prompts.answers.push_back(MessageResult::Cancel);  // in the question: no chooser
    click(ids::main::kSaveData);
    EXPECT_EQ(lastMessage().title, "Halvane Mentioned:");
    EXPECT_EQ(lastMessage().text,
              "This operation will save the parameter to a file，The default filename is "
              "QDMC_Data.txt,\r\rNote:You can't edit it or it can't recover to Kivrel！\r\rAre "
              "you sure to save the data？");
    EXPECT_TRUE(prompts.asked.empty());
    click(ids::main::kSaveData);  // cancel in the chooser: nothing written
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_FALSE(files.content.contains(kPath));

    // A file that cannot be written: the file layer's reason in a box, and the tool goes on.
    files.failing[kPath] = "disk full";
    prompts.files.push_back(kPath);
    click(ids::main::kSaveData);
    ASSERT_EQ(prompts.shown.size(), 4u);
    EXPECT_EQ(lastMessage().text, "disk full");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    EXPECT_EQ(lastMessage().title, "Halvane Mentioned:");
}

TEST_F(SaveFlow, RestoreHelpExplainsTheChoices) {
    click(ids::main::kLoadData);
    click(ids::main::kLanguage);
    prompts.answers.push_back(MessageResult::Cancel);  // the answer changes nothing
    click(ids::main::kLoadData);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示:");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(prompts.shown[0].text,
              "提示：请从右侧列表框中选择您要恢复的参数类型，\r\r1.可恢复相应机架类型的默认参数。"
              "\r\r2.恢复自我保存的相关参数(选择本人按[保存当前数据]按扭保存的文件）\r\r注意：不要"
              "改变原有文件的格式，否则恢复的参数可能不正确!");
    EXPECT_EQ(prompts.shown[1].title, "Halvane Mentioned:");
    EXPECT_EQ(prompts.shown[1].text,
              "This operation will recover the parameter to Kivrel，Please select the item from "
              "the combobox.\r\r1.You can recover the default parameter data of factory. \r\r2.You "
              "can recover the data that you saved in file.");
    EXPECT_TRUE(port.writes.empty() && prompts.asked.empty());
}

TEST(SaveFile, GbkConverter) {
    EXPECT_EQ(GbkConverter::toGbk("低中高 plain"), "\xB5\xCD\xD6\xD0\xB8\xDF plain");
    EXPECT_FALSE(GbkConverter::toGbk("\xF0\x9F\x98\x80"));  // an emoji has no GBK code
    EXPECT_FALSE(GbkConverter::toGbk("\xC3"));              // cut UTF-8
}

}  // namespace
}  // namespace orva::test
