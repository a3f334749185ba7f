#pragma once

namespace orva {

// Whoever owns the port choice: tells a link restart which port to open, and keeps the choice
// once a port has been tried.
class IPortChoice {
  public:
    virtual ~IPortChoice() = default;

    // The port of the start-up and Refresh restarts: the one recorded for the next start.
    virtual int recorded() = 0;
    // The port of the port list and custom frame Save restarts: the one the list shows.
    virtual int listed() = 0;
    // The restart has tried to open the port it was given.
    virtual void tried() = 0;
};

}  // namespace orva
