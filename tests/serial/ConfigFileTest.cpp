#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/PosixFiles.h"
#include "serial/ConfigFile.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

// On a real file in a fresh folder: only the real file layer can truncate by mistake.
class ConfigFileTest : public ::testing::Test {
  protected:
    ConfigFileTest() {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    ~ConfigFileTest() override { fs::remove_all(m_dir); }

    void put(const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    const fs::path m_dir = fs::path(::testing::TempDir()) / "orva-config";
    const std::string m_path = (m_dir / "qdmcconfig.ini").string();
    PosixFiles m_files;
    ConfigFile m_config{m_files, m_path};
    std::string m_error;
};

TEST_F(ConfigFileTest, TwoBytesGoOverTheStartAndTheRestStays) {
    put("12\r\nCOM12 tail");
    const auto read = m_config.read(m_error);
    ASSERT_TRUE(read) << m_error;
    EXPECT_EQ(read->port, 12);
    EXPECT_EQ(bytes(), "12\r\nCOM12 tail");  // reading leaves it whole

    ASSERT_TRUE(m_config.write(5, m_error)) << m_error;
    EXPECT_EQ(bytes(), std::string("5\0\r\nCOM12 tail", 14));
    ASSERT_TRUE(m_config.write(17, m_error));
    EXPECT_EQ(bytes(), "17\r\nCOM12 tail");
}

}  // namespace
}  // namespace orva
