#include "protocol/Frames.h"

namespace orva::frames {

std::string query(char code) {
    return std::string{'?', code, kCr};
}

std::string digits4(int value) {
    // Senders only produce 0..4095; a negative value is folded into range rather than trusted.
    int r = value % 10000;
    if (r < 0) {
        r += 10000;
    }
    std::string out;
    for (int divisor : {1000, 100, 10, 1}) {
        out.push_back(static_cast<char>('0' + r / divisor));
        r %= divisor;
    }
    return out;
}

std::string set(char code, int value) {
    std::string out{'S', code};
    out += digits4(value);
    out.push_back(kCr);
    return out;
}

}  // namespace orva::frames
