#pragma once

namespace orva::cli {

// What a script learns from orva-cli's exit status; --help and the README list the same numbers.
enum class ExitCode {
    Done = 0,
    Usage = 2,
    PortNotOpened = 3,
    NoAnswer = 4,
    Refused = 5,  // the controller said no: a checksum, a bad block, a value it did not take
    BadFile = 6,
    OutputFailed = 7,   // stdout could not be written: a full disk, a closed pipe
    Interrupted = 130,  // stopped by Ctrl-C (twice), SIGTERM or SIGHUP halfway through an overwrite
};

inline int exitStatus(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace orva::cli
