#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SampleStore.h"
#include "paramfile/GbkConverter.h"
#include "paramfile/ParameterSaveFile.h"
#include "paramfile/RestoreEntries.h"

namespace orva::test {
namespace {

std::string gbk(const std::string& utf8) {
    auto bytes = GbkConverter::toGbk(utf8);
    EXPECT_TRUE(bytes) << utf8;
    return bytes.value_or("");
}

TEST(SaveFile, GoldenBytesOfASavedStore) {
    // The value lines of the sample store: label (13 GBK bytes) and value text.
    std::vector<std::pair<std::string, std::string>> lines = {
        {"多轴模式 选择", "0008"},  // 0 A: "8. INV Y6" is index 7
        {"电调 输出模式", "0005"},  // 1 B
        {"舵机 输出模式", "0002"},  // 2 P
        {"主  稳  定 度", "0045"},  // 3 C
        {"辅 助  稳定度", "0007"},  // 4 D: one digit, three zeros
        {"动 态   稳 定", "0100"},  // 5 E: three digits, one zero
        {"主 平   衡 度", "0050"},  // 6 F
        {"辅 助   平 衡", "0060"},  // 7 G
        {"方 向   稳 定", "0070"},  // 8 Y
        {"方 向   锁 定", "0080"},  // 9 Z
        {"高 度   锁 定", "0090"},  // 10 R
        {"辅  助  高 度", "0011"},  // 11 T
        {"高  度 稳  定", "0012"},  // 12 `
        {"定点回中力 度", "0013"},  // 13 @
        {"定点抗风力 度", "0014"},  // 14 #
        {"定点动态阻 尼", "0015"},  // 15 $
        {"一键返航速 度", "0016"},  // 16 !
        {"云台 俯仰比例", "0040"},  // 17 K
        {"云台 横滚比例", "0041"},  // 18 J
        {"云台 Z 轴比例", "0042"},  // 19 %
        {"俯仰舵角限 制", "0020"},  // 20 _
        {"横滚舵角限 制", "0021"},  // 21 )
        {" Z 轴舵角限制", "0022"},  // 22 +
        {"俯仰舵机中 点", "-5"},    // 23 &: below zero, no padding
        {"横滚舵机中 点", "0030"},  // 24 ^
        {" Z 轴舵机中点", "-100"},  // 25 (
        {"报警电压 设置", "0330"},  // 26 L
        {"电 池 1 电 压", "412"},   // 27-30 cell voltages: plain
        {"电 池 2 电 压", "398"},  {"电 池 3 电 压", "405"}, {"电 池 4 电 压", "0"},
        {"电         池", "1"},  // 31-38 sensor boxes
        {"接   收    机", "1"},    {"陀   螺    仪", "1"},   {"加 速 度   计", "1"},
        {"磁 传 感   器", "1"},    {"气    压   计", "0"},   {"超声波 传感器", "1"},
        {"GPS 传  感 器", "0"},
    };
    for (int ch = 1; ch <= 8; ++ch) {  // 39-46
        lines.push_back({"接收 CH" + std::to_string(ch) + " 反向", ch == 1 || ch == 8 ? "1" : "0"});
    }
    for (int out = 1; out <= 8; ++out) {  // 47-54
        lines.push_back({"输出M/S" + std::to_string(out) + " 反向", out == 3 ? "1" : "0"});
    }
    // 55-174: each row's text before the channel digit, between digit and position, after it.
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"自稳  CH", "  "},  // a
        {"3D特技 CH", " "},  // b
        {"定高  CH", "  "},  // c
        {"锁定航向CH", ""},  // d
        {"无向CF CH", " "},  // e
        {"云台增稳CH", ""},  // f
        {"Z 轴跟随CH", ""},  // =
        {"松杆定点CH", ""},  // g
        {"一键返航CH", ""},  // h
        {"自动降落CH", ""},  // i
    };
    const char* positions[] = {"低", "中", "高"};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int bit = 0; bit < 12; ++bit) {
            const bool on =
                r == 0 || (r == 1 && bit == 11) || (r == 2 && bit < 2) || (r == 9 && bit == 5);
            lines.push_back(
                {rows[r].first + std::to_string(5 + bit / 3) + rows[r].second + positions[bit % 3],
                 on ? "1" : "0"});
        }
    }
    lines.push_back({"异形多轴轴 数", "5006-5000"});  // 175: value + 5000, then "-5000"
    lines.push_back({"X方向轴最大值", "5250-5000"});  // 176
    lines.push_back({"Y方向轴最大值", "5300-5000"});  // 177
    lines.push_back({"1号电机横坐标", "4880-5000"});  // 178: -120
    lines.push_back({"1号电机纵坐标", "5075-5000"});  // 179
    for (int m = 2; m <= 6; ++m) {                    // 180-189: 0
        lines.push_back({std::to_string(m) + "号电机横坐标", "5000-5000"});
        lines.push_back({std::to_string(m) + "号电机纵坐标", "5000-5000"});
    }
    lines.push_back({"本地 磁 偏 角", "-12"});  // 190 declination
    ASSERT_EQ(lines.size(), 191u);

    const std::string end = "\r\r\n";
    // Port line: "当 前 串口" is 10 GBK bytes, so the COM number starts at byte 13 too.
    std::string expected =
        "\xB5\xB1 \xC7\xB0 \xB4\xAE\xBF\xDA"
        "COM03" +
        end;
    for (const auto& [label, value] : lines) {
        const std::string bytes = gbk(label);
        EXPECT_EQ(bytes.size(), 13u) << label;
        expected += bytes + value + end;
    }
    expected +=
        gbk("特别备注：1.本处列出的“俯仰舵机中点，横滚中点与z轴中点值=软件显示值+50后所得") + end;
    expected +=
        gbk("特别备注：2.异形多轴的相关数据减去5000才是正常坐标值，并且只有使用这个界面，") + end;
    // The space after the colon is the ideographic space, GBK A1 A1.
    expected += "\xCC\xD8\xB1\xF0\xB1\xB8\xD7\xA2\xA3\xBA\xA1\xA1" +
                gbk("并按“保存按扭后，才有相应数据。否则为0") + end;
    expected += gbk("特别备注：3.异形多轴数据不能自动恢复到飞控中");  // no terminator

    const auto file = ParameterSaveFile::compose(sampleStore(), 2);  // COM3
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, expected);

    // The first label as GBK bytes: 多轴模式, a space, 选择.
    EXPECT_EQ(file->substr(18, 13), "\xB6\xE0\xD6\xE1\xC4\xA3\xCA\xBD \xD1\xA1\xD4\xF1");
    // 196 lines, 195 terminators; every value line's text starts at byte 13.
    std::size_t count = 0;
    for (std::size_t at = 0; (at = file->find(end, at)) != std::string::npos; at += end.size()) {
        ++count;
    }
    EXPECT_EQ(count, 195u);
}

TEST(SaveFile, ValueTextsAndPortLine) {
    EXPECT_EQ(ParameterSaveFile::valueText(3, 7), "0007");
    EXPECT_EQ(ParameterSaveFile::valueText(3, 100), "0100");
    EXPECT_EQ(ParameterSaveFile::valueText(3, 0), "0000");
    EXPECT_EQ(ParameterSaveFile::valueText(26, 330), "0330");
    EXPECT_EQ(ParameterSaveFile::valueText(24, -5), "-5");
    EXPECT_EQ(ParameterSaveFile::valueText(190, -12), "-12");
    EXPECT_EQ(ParameterSaveFile::valueText(190, 3), "0003");
    EXPECT_EQ(ParameterSaveFile::valueText(190, 1234), "01234");  // "0" before any three or more
    EXPECT_EQ(ParameterSaveFile::valueText(27, 7), "7");          // plain from 27 on
    EXPECT_EQ(ParameterSaveFile::valueText(60, 1), "1");
    EXPECT_EQ(ParameterSaveFile::valueText(174, 0), "0");
    EXPECT_EQ(ParameterSaveFile::valueText(175, 0), "5000-5000");
    EXPECT_EQ(ParameterSaveFile::valueText(189, -120), "4880-5000");
    EXPECT_EQ(ParameterSaveFile::portLine(1), "当 前 串口COM01");
    EXPECT_EQ(ParameterSaveFile::portLine(10), "当 前 串口COM10");
    EXPECT_EQ(ParameterSaveFile::portLine(12), "当 前 串口COM12");
    // Every label is 13 bytes in GBK, whatever mix of spaces and characters it holds.
    for (int slot = 0; slot < ParameterSaveFile::kStoredValues; ++slot) {
        EXPECT_EQ(gbk(ParameterSaveFile::label(slot)).size(), 13u) << slot;
    }
    EXPECT_EQ(ParameterSaveFile::label(191), "");
}

TEST(SaveFile, OwnFileReadsBackAsRestoreEntries) {
    const auto file = ParameterSaveFile::compose(sampleStore(), 0);
    ASSERT_TRUE(file);
    RestoreEntries entries;
    EXPECT_EQ(entries.readFrom(*file), 196);
    EXPECT_EQ(entries.text(0), "01\r");  // the port line: "COM" from byte 10, then "01"
    EXPECT_EQ(entries.text(1), "0008");  // four bytes from byte 13
    EXPECT_EQ(entries.text(4), "0045");
    EXPECT_EQ(entries.text(24), "-5\r");  // short text: the CR left by the text-mode read
    EXPECT_EQ(entries.integer(24), -5);
    EXPECT_EQ(entries.text(28), "412\r");
    EXPECT_EQ(entries.text(56), "1");  // flags: one byte
    EXPECT_EQ(entries.text(79), "1");
    EXPECT_EQ(entries.text(78), "0");
    EXPECT_EQ(entries.text(176), "5006");  // the shift stays in; the frame is not restored
    EXPECT_EQ(entries.text(191), "-12\r");
    EXPECT_EQ(entries.integer(191), -12);
    // Remark lines are cut like any other line, here through the middle of a character.
    EXPECT_EQ(entries.text(192), gbk(std::string(ParameterSaveFile::remark(0))).substr(13, 4));
    for (int slot = 0; slot < ParameterSaveFile::kStoredValues; ++slot) {
        const int shown = sampleStore().get(slot);
        if (slot < 175 || slot == 190) {
            EXPECT_EQ(entries.integer(slot + 1), shown) << slot;
        }
    }
}

TEST(SaveFile, GbkConverter) {
    EXPECT_EQ(GbkConverter::toGbk("低中高"), "\xB5\xCD\xD6\xD0\xB8\xDF");
    EXPECT_EQ(GbkConverter::toUtf8("\xB5\xCD\xD6\xD0\xB8\xDF"), "低中高");
    EXPECT_EQ(GbkConverter::toGbk("plain"), "plain");
    EXPECT_FALSE(GbkConverter::toGbk("\xF0\x9F\x98\x80"));  // an emoji has no GBK code
    EXPECT_FALSE(GbkConverter::toGbk("\xC3"));              // cut UTF-8
    EXPECT_FALSE(GbkConverter::toUtf8("\xFF\xFF"));
    EXPECT_EQ(GbkConverter::toGbk(""), "");
}

}  // namespace
}  // namespace orva::test
