#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orva::test {

// The save file of sampleStore() with COM3 selected, worked out by hand: GBK labels of 13 bytes,
// CR CR LF line ends, no terminator after the last remark.
inline std::string goldenSaveFile() {
    std::ifstream in(ORVA_GOLDEN_DIR "/QDMC_Data.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything the restore of the golden file writes, in order, with firmware 1220: the
// announcement, one set command per acknowledgement in chain order, then the read-back.
inline const std::vector<std::string> kGoldenRestore = {
    "Sj0004\r", "SC0045\r", "SA0015\r", "SB0007\r", "SP0003\r", "SD0007\r", "SE0100\r", "SF0050\r",
    "SG0060\r", "SY0070\r", "SZ0080\r", "SR0090\r", "ST0011\r", "S`0012\r", "S@0013\r", "S#0014\r",
    "S$0015\r", "S!0016\r", "SJ0041\r", "SK0040\r", "S%0042\r", "S)0021\r", "S_0020\r", "S+0022\r",
    "S^0130\r", "S&0095\r", "S(0000\r", "SL0330\r", "SQ0168\r", "Sa4095\r", "Sb2048\r", "Sc0003\r",
    "Sd0000\r", "Se0000\r", "Sf0000\r", "S=0000\r", "Sg0000\r", "Sh0000\r", "Si0032\r", "SM0095\r",
    "SN0129\r", "SO0004\r", "?V\r"};

}  // namespace orva::test
