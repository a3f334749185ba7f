#include <gtest/gtest.h>

#include <string>

#include "Golden.h"
#include "SampleStore.h"
#include "paramfile/GbkConverter.h"
#include "paramfile/ParameterSaveFile.h"
#include "paramfile/RestoreEntries.h"

namespace orva::test {
namespace {

TEST(SaveFile, TheSampleStoreSavesToTheGoldenBytes) {
    const std::string golden = goldenSaveFile();
    ASSERT_EQ(golden.size(), 3729u);
    // Spot checks of the file itself: the port text is 10 GBK bytes, the first label 13.
    EXPECT_EQ(golden.substr(0, 18),
              "\xB5\xB1 \xC7\xB0 \xB4\xAE\xBF\xDA"
              "COM03\r\r\n");
    EXPECT_EQ(golden.substr(18, 20),
              "\xB6\xE0\xD6\xE1\xC4\xA3\xCA\xBD \xD1\xA1\xD4\xF1"
              "0008\r\r\n");

    const auto file = ParameterSaveFile::compose(sampleStore(), 2);  // COM3
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, golden);
    // Line by line, for a readable failure.
    for (std::size_t at = 0, line = 0; at < golden.size(); ++line) {
        const std::size_t end = std::min(golden.find("\r\r\n", at), golden.size());
        EXPECT_EQ(file->substr(at, end - at), golden.substr(at, end - at)) << "line " << line;
        at = end + 3;
    }
    EXPECT_EQ(ParameterSaveFile::label(191), "");
    EXPECT_EQ(ParameterSaveFile::remark(3), "特别备注：3.异形多轴数据不能自动恢复到飞控中");
}

TEST(SaveFile, PortLineFromCom10OnHasNoZero) {
    const auto file = ParameterSaveFile::compose(sampleStore(), 9);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(10, 8), "COM10\r\r\n");
    EXPECT_EQ(file->substr(18), goldenSaveFile().substr(18));
}

TEST(SaveFile, TheGoldenFileReadsBackAsRestoreEntries) {
    RestoreEntries entries;
    EXPECT_EQ(entries.readFrom(goldenSaveFile()), 196);
    const std::pair<int, std::string> texts[] = {
        {0, "03\r"},                // the port line: "COM" from byte 10, then the digits
        {1, "0008"},                // four bytes from byte 13
        {24, "-5\r"},               // short text: the CR left by the text-mode read
        {28, "412\r"},  {56, "1"},  // flags: one byte
        {176, "5006"},              // the shift stays in; the frame is not restored
        {191, "-12\r"}, {192, "\xBE\xB4\xA6\xC1"},  // a remark, cut through a character
    };
    for (const auto& [index, text] : texts) {
        EXPECT_EQ(entries.text(index), text) << index;
    }
    for (int slot = 0; slot < 175; ++slot) {
        EXPECT_EQ(entries.integer(slot + 1), sampleStore().get(slot)) << slot;
    }
    EXPECT_EQ(entries.integer(191), -12);
}

TEST(SaveFile, GbkConverter) {
    EXPECT_EQ(GbkConverter::toGbk("低中高"), "\xB5\xCD\xD6\xD0\xB8\xDF");
    EXPECT_EQ(GbkConverter::toUtf8("\xB5\xCD\xD6\xD0\xB8\xDF"), "低中高");
    EXPECT_EQ(GbkConverter::toGbk("plain"), "plain");
    EXPECT_FALSE(GbkConverter::toGbk("\xF0\x9F\x98\x80"));  // an emoji has no GBK code
    EXPECT_FALSE(GbkConverter::toGbk("\xC3"));              // cut UTF-8
    EXPECT_FALSE(GbkConverter::toUtf8("\xFF\xFF"));
}

}  // namespace
}  // namespace orva::test
