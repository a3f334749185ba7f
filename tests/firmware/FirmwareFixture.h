#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "support/Fakes.h"

namespace orva::test {

// A started main window over a fake port, with helpers that play the user choosing an image
// and the controller's loader answering.
class FirmwareFixture : public ::testing::Test {
  public:
    static std::string bytes(std::initializer_list<int> values) {
        std::string out;
        for (int v : values) {
            out.push_back(static_cast<char>(v));
        }
        return out;
    }

    // A file whose bytes are not all alike and never zero, so that padding shows.
    static std::string sampleImage(std::size_t size) {
        std::string out(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = static_cast<char>(1 + (i * 37 + 11) % 255);
        }
        return out;
    }

    static std::uint32_t sum(std::string_view data) {
        std::uint32_t total = 0;
        for (char c : data) {
            total += static_cast<unsigned char>(c);
        }
        return total;
    }

  protected:
    static constexpr const char* kImagePath = "/pilot/fw/kivrel.bin";

    void start() {
        core.initialise();
        port.takeWritten();
    }
    void click(ControlKey key) { core.onUserAction({ActionKind::Click, key}); }
    void english() { core.onUserAction({ActionKind::Click, ids::main::kLanguage}); }

    // The user picks `path` holding `content` in the file dialog.
    bool choose(const std::string& content, const std::string& path = kImagePath) {
        files.content[path] = content;
        prompts.files.push_back(path);
        const std::size_t before = prompts.shown.size();
        click(ids::main::kChooseFirmware);
        return prompts.shown.size() == before && enabled(ids::main::kUpgrade);
    }

    // Chooses an image, presses Upgrade and lets the controller name its tag and get ready; the
    // start packet is then the last thing written.
    void enterLoader(const std::string& image) {
        ASSERT_TRUE(choose(image));
        click(ids::main::kUpgrade);
        ASSERT_EQ(port.takeWritten(), "?W\r");
        port.receive("HALVANE KIVREL QDMC1220");
        ASSERT_EQ(port.takeWritten(), "UPQDMC\r");
        port.receive("RADY\r\n");
    }

    // A loader answer: type echo, three bytes, the expected block and the loader's checksum,
    // both least significant byte first, then zeros.
    static std::string answer(std::uint32_t expected, std::uint32_t checksum = 0) {
        std::string out(frames::kPacketSize, '\0');
        out[0] = static_cast<char>(0xA5);
        for (int i = 0; i < 4; ++i) {
            out[4 + i] = static_cast<char>((expected >> (8 * i)) & 0xFF);
            out[8 + i] = static_cast<char>((checksum >> (8 * i)) & 0xFF);
        }
        return out;
    }

    ProtocolMode mode() { return core.link().mode(); }
    const std::string& status() { return core.model().text(ids::main::kStatus); }
    int progress() { return core.model().value(ids::main::kProgress); }
    bool progressShown() { return core.model().visible(ids::main::kProgress); }
    bool enabled(ControlKey key) { return core.model().enabled(key); }
    const std::string& lastMessage() { return prompts.shown.back().text; }

    FakePort port;
    FakeClock clock;
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

}  // namespace orva::test
