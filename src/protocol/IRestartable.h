#pragma once

namespace orva {

// The two link restarts.
enum class RestartKind {
    File,   // start-up and Refresh: the stored port, and a new controller may stand behind it
    Combo,  // the port list and the custom frame's Save: the port the list shows
};

// State that a link restart puts back: its holder says once, for both kinds, what a restart does
// to it. The link tells every holder before it closes the port.
class IRestartable {
  public:
    virtual ~IRestartable() = default;
    virtual void onRestart(RestartKind kind) = 0;
};

}  // namespace orva
