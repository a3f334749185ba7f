#pragma once

namespace orva::cli {

// Ctrl-C, SIGTERM and SIGHUP counted instead of ending the process, for as long as an object
// lives: a stream must send its stop command, and an overwrite must say where it left the
// controller. The previous handlers come back when it goes.
class Interrupts {
  public:
    Interrupts();
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;

    // Ctrl-C presses so far.
    int presses() const;
    // SIGTERM or SIGHUP: nobody is there to press Ctrl-C a second time.
    bool terminated() const;
    bool any() const { return presses() > 0 || terminated(); }

  private:
    using Handler = void (*)(int);
    Handler m_previous[3] = {};
};

}  // namespace orva::cli
