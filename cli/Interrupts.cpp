#include "cli/Interrupts.h"

#include <csignal>
#include <iterator>

namespace orva::cli {
namespace {

volatile std::sig_atomic_t g_presses = 0;
volatile std::sig_atomic_t g_terminated = 0;
constexpr int kCounted[] = {SIGINT, SIGTERM, SIGHUP};

void onSignal(int signal) {
    if (signal == SIGINT) {
        g_presses = g_presses + 1;
    } else {
        g_terminated = 1;
    }
}

}  // namespace

Interrupts::Interrupts() {
    g_presses = 0;
    g_terminated = 0;
    for (std::size_t i = 0; i < std::size(kCounted); ++i) {
        m_previous[i] = std::signal(kCounted[i], onSignal);
    }
}

Interrupts::~Interrupts() {
    for (std::size_t i = 0; i < std::size(kCounted); ++i) {
        std::signal(kCounted[i], m_previous[i]);
    }
}

int Interrupts::presses() const {
    return g_presses;
}

bool Interrupts::terminated() const {
    return g_terminated != 0;
}

}  // namespace orva::cli
