#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace orva::test {

// The save file of sampleStore() with COM3 selected, worked out by hand: GBK labels of 13 bytes,
// CR CR LF line ends, no terminator after the last remark.
inline std::string goldenSaveFile() {
    std::ifstream in(ORVA_GOLDEN_DIR "/QDMC_Data.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace orva::test
