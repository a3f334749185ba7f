#include <benchmark/benchmark.h>

#include "LoopbackController.h"
#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "protocol/Link.h"
#include "support/Fakes.h"

namespace orva::bench {
namespace {

// A port that hands the same reply over and over, cut into pieces of `chunk` bytes.
class ReplayPort : public test::FakePort {
  public:
    void deliver(std::string_view reply, std::size_t chunk) {
        for (std::size_t at = 0; at < reply.size(); at += chunk) {
            receive(reply.substr(at, chunk));
        }
    }
};

// Framing and dispatch of one 10-byte reply, from one event per byte to one per reply.
void BM_FrameReply(benchmark::State& state) {
    ReplayPort port;
    test::FakeClock clock;
    // No restart runs here: the port is never chosen.
    struct : IPortChoice {
        int recorded() override { return 3; }
        int listed() override { return 3; }
        void tried() override {}
    } choice;
    Link link(port, clock, choice);
    struct NoState : IRestartable {
        void onRestart(RestartKind) override {}
    } holder;
    long handled = 0;
    link.on<QueryReply>(ProtocolMode::Idle, Exchange::Readback, holder,
                        [&](const QueryReply&) { ++handled; });
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        port.deliver("?C\r=0050\r\n", chunk);
    }
    if (handled != static_cast<long>(state.iterations())) {
        state.SkipWithError("replies were lost");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameReply)->Arg(1)->Arg(3)->Arg(10);

// The whole main read-back chain, "?V\r" to "?j\r", against the in-memory controller.
void BM_FullReadback(benchmark::State& state) {
    LoopbackController port;
    test::FakeClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);
    core.initialise();
    port.pump();
    for (auto _ : state) {
        core.onUserAction({ActionKind::Click, ids::main::kRefresh});
        port.pump();
    }
    state.counters["queries"] =
        static_cast<double>(port.writes()) / static_cast<double>(state.iterations() + 1);
}
BENCHMARK(BM_FullReadback)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orva::bench

BENCHMARK_MAIN();
