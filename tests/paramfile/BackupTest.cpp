#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Golden.h"
#include "SampleStore.h"
#include "platform/DataFolders.h"
#include "support/CoreHarness.h"

namespace orva::test {
namespace {

constexpr const char* kFolder = "/home/pilot/.local/share/Orva/backups";
constexpr const char* kName = "2026-12-06_14-03-59_fw1220.txt";

class Backups : public CoreHarness, public ICalendar {
  protected:
    void SetUp() override {
        core.keepBackupsIn(kFolder, *this);
        start();
    }
    CalendarTime now() override {
        writesAtBackup = port.writes.size();
        return {2026, 12, 6, 14, 3, 59};
    }
    // A whole main read-back of firmware 1220, after which the store holds the sample values.
    void readBack() {
        click(ids::main::kRefresh);
        for (char code : std::string_view("VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j")) {
            answer(code, code == 'V' ? "1220" : "0001");
        }
        store() = sampleStore();
        port.takeWrites();
    }
    std::vector<std::string> backups() {
        std::vector<std::string> names = files.fileNames(kFolder);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::size_t writesAtBackup = 99;
};

TEST_F(Backups, TheStoreIsKeptAsSaveDataWritesItBeforeEachOverwrite) {
    select(ids::main::kRestoreChoice, 1);  // nothing read back yet: nothing to keep
    EXPECT_EQ(writes(), std::vector<std::string>{"Sj0001\r"});
    EXPECT_TRUE(backups().empty());

    files.content["/pilot/QDMC_Data.txt"] = goldenSaveFile();
    files.content["/pilot/kivrel.bin"] = std::string(300, '\x5a');
    const std::pair<const char*, std::function<void()>> overwrites[] = {
        {"default set 2", [&] { select(ids::main::kRestoreChoice, 2); }},
        {"restore from a file",
         [&] {
             prompts.files.push_back("/pilot/QDMC_Data.txt");
             select(ids::main::kRestoreChoice, 4);
         }},
        {"upgrade",
         [&] {
             prompts.files.push_back("/pilot/kivrel.bin");
             click(ids::main::kChooseFirmware);
             click(ids::main::kUpgrade);
         }},
    };
    for (const auto& [name, overwrite] : overwrites) {
        SCOPED_TRACE(name);
        readBack();
        files.content.erase(std::string(kFolder) + "/" + kName);
        overwrite();
        EXPECT_EQ(writesAtBackup, 0u);  // written before the first byte went out
        EXPECT_FALSE(port.takeWrites().empty());
        EXPECT_EQ(backups(), std::vector<std::string>{kName});
        EXPECT_EQ(files.content[std::string(kFolder) + "/" + kName], goldenSaveFile());
        EXPECT_EQ(text(ids::main::kPortDevice),
                  std::string("已备份: ") + kFolder + "/" + kName + "  COM3 = /dev/fake3");
    }
}

TEST_F(Backups, TheNewestTwentyStayAndAFailureIsSaidWithoutStoppingTheOverwrite) {
    for (int day = 1; day <= 20; ++day) {
        const std::string date = "2026-11-" + std::string(day < 10 ? "0" : "") +
                                 std::to_string(day) + "_08-00-00_fw1211.txt";
        files.content[std::string(kFolder) + "/" + date] = "old";
    }
    files.content[std::string(kFolder) + "/" + kName] = "this second";
    files.content[std::string(kFolder) + "/notes.txt"] = "the pilot's";
    readBack();
    select(ids::main::kRestoreChoice, 0);
    const std::vector<std::string> names = backups();
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(names.front(), "2026-11-03_08-00-00_fw1211.txt");
    EXPECT_EQ(names[18], kName);
    EXPECT_EQ(names[19], "2026-12-06_14-03-59_fw1220_2.txt");
    EXPECT_EQ(names.back(), "notes.txt");

    files.failing[kFolder] = "\"/home/pilot/.local\": Permission denied";
    click(ids::main::kLanguage);
    readBack();
    select(ids::main::kRestoreChoice, 3);
    EXPECT_EQ(writes(), std::vector<std::string>{"Sj0003\r"});
    EXPECT_EQ(text(ids::main::kPortDevice),
              "no backup written: \"/home/pilot/.local\": Permission denied  COM3 = /dev/fake3");
}

// Twenty backups named in the future (a clock once ahead): the new one still stays.
TEST_F(Backups, TheBackupJustWrittenIsNeverPruned) {
    for (int day = 10; day < 30; ++day) {
        files.content[std::string(kFolder) + "/2030-01-" + std::to_string(day) +
                      "_08-00-00_fw1211.txt"] = "ahead";
    }
    readBack();
    select(ids::main::kRestoreChoice, 0);
    const std::vector<std::string> names = backups();
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names.front(), kName);
    EXPECT_EQ(names[1], "2030-01-11_08-00-00_fw1211.txt");
    EXPECT_EQ(ParameterBackups::versionInName(std::string(kFolder) + "/" + names[1]), 1211);
    EXPECT_EQ(ParameterBackups::versionInName("/pilot/QDMC_Data.txt"), std::nullopt);
}

// The window goes on without a backup and says why; a tool that requires one sends nothing.
TEST_F(Backups, NoBackupOfValuesNeverReadAndNoneWithoutAFolder) {
    click(ids::main::kRefresh);
    for (char code : std::string_view("VCABDEFG!@#$HIJ")) {
        answer(code, code == 'V' ? "1220" : "0001");
    }
    for (int i = 0; i < 4; ++i) {
        answer('K', "1x00");  // damaged four times: K stays unread
    }
    for (char code : std::string_view("%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j")) {
        answer(code, "0001");
    }
    port.takeWrites();
    select(ids::main::kRestoreChoice, 2);
    EXPECT_EQ(writes(), std::vector<std::string>{"Sj0002\r"});
    EXPECT_TRUE(backups().empty());
    EXPECT_EQ(text(ids::main::kPortDevice),
              "未读到: K  备份未写入: 飞控参数未全部读到 (K)  COM3 = /dev/fake3");

    readBack();
    core.keepBackupsIn("", *this);  // no HOME
    click(ids::main::kLanguage);
    select(ids::main::kRestoreChoice, 1);
    EXPECT_EQ(writes(), std::vector<std::string>{"Sj0001\r"});
    EXPECT_EQ(text(ids::main::kPortDevice),
              "no backup written: no folder for backups (HOME is not set)  COM3 = /dev/fake3");

    core.keepBackupsIn(kFolder, *this, true);
    files.failing[kFolder] = "\"/home/pilot/.local\": Not a directory";
    files.content["/pilot/QDMC_Data.txt"] = goldenSaveFile();
    files.content["/pilot/kivrel.bin"] = std::string(300, '\x5a');
    prompts.files = {"/pilot/QDMC_Data.txt", "/pilot/kivrel.bin"};
    select(ids::main::kRestoreChoice, 3);
    select(ids::main::kRestoreChoice, 4);
    click(ids::main::kChooseFirmware);
    click(ids::main::kUpgrade);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(core.backups().stopped());
    EXPECT_EQ(text(ids::main::kPortDevice),
              "no backup written: \"/home/pilot/.local\": Not a directory  COM3 = /dev/fake3");
}

TEST(BackupFolder, FollowsTheDataHomeOfTheDesktop) {
    EXPECT_EQ(backupFolder("/data", "/home/p"), "/data/Orva/backups");
    EXPECT_EQ(backupFolder("relative", "/home/p"), "/home/p/.local/share/Orva/backups");
    EXPECT_EQ(backupFolder(nullptr, "/home/p"), "/home/p/.local/share/Orva/backups");
    EXPECT_EQ(backupFolder(nullptr, ""), "");
}

}  // namespace
}  // namespace orva::test
