#pragma once

#include <string>

namespace orva::sim {

// One message the controller sends, as a whole; the line may still cut or join it.
struct Outgoing {
    enum class Kind {
        Reply,         // answer to a command of the ASCII language
        LoaderAnswer,  // 64-byte answer of the upgrade loader
        Monitor,       // frame of the live data stream
    };
    Kind kind = Kind::Reply;
    std::string bytes;

    bool isAnswer() const { return kind != Kind::Monitor; }
};

}  // namespace orva::sim
