#pragma once

#include <numeric>

#include "support/CoreHarness.h"
#include "support/LoaderBytes.h"

namespace orva::test {

// The started core, with the user choosing a firmware image.
class FirmwareFixture : public CoreHarness {
  public:
    // A file whose bytes are not all alike and never zero, so that padding shows.
    static std::string sampleImage(std::size_t size) {
        std::string out(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = static_cast<char>(1 + (i * 37 + 11) % 255);
        }
        return out;
    }

  protected:
    static constexpr const char* kImagePath = "/pilot/fw/kivrel.bin";

    void english() { click(ids::main::kLanguage); }
    // The user picks `path` holding `content`; true when it was taken without a message.
    bool choose(const std::string& content, const std::string& path = kImagePath) {
        files.content[path] = content;
        prompts.files.push_back(path);
        const std::size_t before = prompts.shown.size();
        click(ids::main::kChooseFirmware);
        return prompts.shown.size() == before && enabled(ids::main::kUpgrade);
    }
    // The text alone, which the chooser's cases compare with a string.
    const std::string& lastMessage() { return prompts.shown.back().text; }
};

}  // namespace orva::test
