#pragma once

#include <string>
#include <vector>

#include "sim/Outgoing.h"

namespace orva::sim::test {

// The bytes of `messages` as they would follow each other on a clean line.
inline std::string wire(const std::vector<Outgoing>& messages) {
    std::string out;
    for (const Outgoing& m : messages) {
        out += m.bytes;
    }
    return out;
}

}  // namespace orva::sim::test
