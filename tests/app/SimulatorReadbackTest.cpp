#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

// The core on the real Qt port against the simulated controller on a pseudo-terminal.
class SimulatorReadback : public ::testing::Test {
  protected:
    // Runs the start-up read-back; true when it reached its end.
    bool readBack(const sim::SimOptions& options, std::size_t stallAt = 0) {
        m_controller = std::make_unique<sim::SimRunner>(options);
        m_port = std::make_unique<test::RecordingPort>(test::comTo(m_controller->start()));
        m_core = std::make_unique<OrvaCore>(*m_port, m_clock, m_prompts, m_files);
        m_core->initialise();
        if (stallAt == 0) {
            return test::runUntil(
                m_app, [&] { return m_port->readBackDone(); }, 20000);
        }
        // A stalled chain: its last query, then a while in which nothing more is asked.
        test::runUntil(
            m_app, [&] { return m_port->sent.size() >= stallAt; }, 20000);
        test::runUntil(
            m_app, [] { return false; }, 200);
        return m_port->readBackDone();
    }
    std::string asked() const {
        std::string codes;
        for (const std::string& query : m_port->sent) {
            codes += query.size() == 3 && query[0] == '?' && query[2] == '\r' ? query[1] : '#';
        }
        return codes;
    }

    int m_argc = 1;
    char m_name[5] = "test";
    char* m_argv[1] = {m_name};
    QCoreApplication m_app{m_argc, m_argv};
    SteadyClock m_clock;
    test::ScriptedPrompts m_prompts;
    test::MemoryFiles m_files;
    std::unique_ptr<sim::SimRunner> m_controller;
    std::unique_ptr<test::RecordingPort> m_port;
    std::unique_ptr<OrvaCore> m_core;
};


// The store slots that are not 0 after reading the power-on set 1 of firmware 1220.
const std::pair<int, int> kSetOneSlots[] = {
    {0, 5},    {1, 5},    {2, 3},  // A 5 (QUADX), B 7 (400 Hz), P 4 (333 Hz): list index + 1
    {3, 55},   {4, 45},   {5, 50},   {6, 50},   {7, 40},   // C D E F G
    {8, 55},   {9, 45},   {10, 50},  {11, 35},  {12, 50},  // Y Z R T `
    {13, 45},  {14, 40},  {15, 35},  {16, 45},             // @ # $ !
    {17, 55},  {18, 50},  {19, 45},  {20, 45},  {21, 45},
    {22, 40},                                               // K J % _ ) +; & ^ ( at 100
    {26, 340}, {27, 395}, {28, 394}, {29, 396}, {30, 393},  // L; cells 3950.. in tenths
    {31, 1},   {32, 1},   {33, 1},   {34, 1},   {35, 1},
    {36, 1},  // M 63: bits 0 to 5
    {55, 1},   {80, 1},   {95, 1},   {141, 1},  {156, 1},
    {171, 1},  // a 1, c 2, d 16, g 4, h 32, i 256
};

TEST_F(SimulatorReadback, RepliesInPiecesFillTheStoreWithTheControllersSettings) {
    sim::SimOptions options;
    options.faults.split = true;
    options.faults.splitGap = 200us;
    ASSERT_TRUE(readBack(options)) << asked();
    // Each 0 (N, O, b, e, f, =) asked three more times.
    EXPECT_EQ(asked(), "VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNNNNOOOOPabbbbcdeeeeffff====ghi<j");
    EXPECT_EQ(m_core->model().text(ids::main::kVersionText), "1.220");
    std::vector<int> expected(ParameterStore::kUsed, 0);
    for (const auto& [slot, value] : kSetOneSlots) {
        expected[slot] = value;
    }
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        EXPECT_EQ(m_core->store().get(slot), expected[slot]) << "slot " << slot;
    }
}

// Nothing times out: a reply that never comes whole leaves the chain at its query.
TEST_F(SimulatorReadback, LineFaultsStallTheChainAtTheirQuery) {
    struct Case {
        const char* name;
        sim::SimOptions options;
        std::string_view asked;
    };
    const Case cases[] = {
        {"silent E", {.controller = {.silentCodes = "E"}}, "VCABDE"},
        {"fifth reply dropped", {.faults = {.dropEvery = 5}}, "VCABD"},
        {"third reply held back", {.faults = {.joinEvery = 3}}, "VCA"},
        {"code of the fourth reply corrupted",
         {.faults = {.corruptEvery = 4, .corruptByte = 1}},
         "VCAB"},
        {"line closed in the tenth reply", {.faults = {.closeAfter = 95}}, "VCABDEFG!@"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(readBack(c.options, c.asked.size()));
        EXPECT_EQ(asked(), c.asked);
        m_core.reset();
        m_port.reset();
        m_controller.reset();
    }
}

TEST_F(SimulatorReadback, ACorruptedValueDigitDoesNotStopTheChain) {
    sim::SimOptions options;
    options.faults.corruptEvery = 4;
    options.faults.corruptByte = 5;
    EXPECT_TRUE(readBack(options)) << asked();
}

}  // namespace
}  // namespace orva
