#include <gtest/gtest.h>

#include "Golden.h"
#include "SampleStore.h"
#include "paramfile/GbkConverter.h"
#include "paramfile/ParameterSaveFile.h"

namespace orva::test {
namespace {

TEST(SaveFile, TheSampleStoreSavesToTheGoldenBytes) {
    const std::string golden = goldenSaveFile();
    // The port line, then the first entry: 13 bytes of GBK label, four digits, CR CR LF.
    EXPECT_EQ(golden.substr(0, 38),
              "\xB5\xB1 \xC7\xB0 \xB4\xAE\xBF\xDA"
              "COM03\r\r\n\xB6\xE0\xD6\xE1\xC4\xA3\xCA\xBD \xD1\xA1\xD4\xF1"
              "0008\r\r\n");
    EXPECT_EQ(ParameterSaveFile::compose(sampleStore(), 2), golden);  // COM3
}

TEST(SaveFile, GbkConverter) {
    EXPECT_EQ(GbkConverter::toGbk("低中高 plain"), "\xB5\xCD\xD6\xD0\xB8\xDF plain");
    EXPECT_FALSE(GbkConverter::toGbk("\xF0\x9F\x98\x80"));  // an emoji has no GBK code
    EXPECT_FALSE(GbkConverter::toGbk("\xC3"));              // cut UTF-8
}

}  // namespace
}  // namespace orva::test
