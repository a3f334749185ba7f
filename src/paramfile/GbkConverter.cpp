#include "paramfile/GbkConverter.h"

#include <iconv.h>

#include <cerrno>

namespace orva {
namespace {

// One conversion through the C library's converter, opened and closed around the call so no
// shift state survives between texts.
std::optional<std::string> convert(const char* to, const char* from, std::string_view text) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    // GBK never takes more than two bytes per character, UTF-8 never more than three per GBK
    // pair; twice the input plus a little always suffices, and E2BIG grows it anyway.
    out.resize(text.size() * 2 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    std::size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t r = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        done = static_cast<std::size_t>(outPtr - out.data());
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            ok = false;  // EILSEQ or EINVAL: a byte sequence that has no place in the target
            break;
        }
        if (r > 0) {
            ok = false;  // characters replaced by an approximation are not the text asked for
            break;
        }
    }
    ::iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    out.resize(done);
    return out;
}

}  // namespace

std::optional<std::string> GbkConverter::toGbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8);
}

}  // namespace orva
