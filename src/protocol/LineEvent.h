#pragma once

namespace orva {

// What happened to the line, as the Link reports it; what follows from it is read from the Link.
enum class LineEvent {
    Opened,
    OpenFailed,  // the cause and the holder are in the Link's diagnosis()
    NotClosed,   // the port refused to close for a restart: it counts as not opened
    Lost,        // the open line went away
    // A command has waited 2 s for a whole answer (quiet()), or bytes that make no answer came
    // during that wait (heardSinceAnswer()).
    Quiet,
    QuietEnded,     // an answer came, or a restart: nothing is awaited any more
    StreamStopped,  // a controller streaming outside the monitor was told to stop
};

}  // namespace orva
