#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "support/Fakes.h"

namespace orva::test {

// The whole core over a fake port, a fake clock, scripted prompts and files in memory, started
// as the window starts it, with the start-up's "?V\r" already taken off the line. A test that
// needs the state before start-up overrides SetUp.
class CoreHarness : public ::testing::Test {
  protected:
    CoreHarness() {
        core.onResult([this](const ExchangeResult& result) { results.push_back(result); });
    }
    void SetUp() override { start(); }
    void start() {
        core.initialise();
        port.takeWrites();
    }

    void act(ActionKind kind, ControlKey key, int value = 0, std::string text = {}) {
        core.onUserAction({kind, key, value, std::move(text)});
    }
    void click(ControlKey key) { act(ActionKind::Click, key); }
    void check(ControlKey key, bool on) { act(ActionKind::Check, key, on ? 1 : 0); }
    void select(ControlKey key, int index) { act(ActionKind::Select, key, index); }
    void type(ControlKey key, std::string text) {
        act(ActionKind::EditCommit, key, 0, std::move(text));
    }

    // The controller's answer to "?<code>\r": the query, a blank, four value characters, CR LF.
    void answer(char code, std::string_view valueChars) {
        port.receive(std::string{'?', code, '\r', ' '} + std::string(valueChars) + "\r\n");
    }
    // The controller's 8-byte acknowledgement of a set command: "S", code, "0000", CR LF.
    void acknowledge(char code) { port.receive(std::string{'S', code} + "0000\r\n"); }
    // Acknowledges `code` and returns the one write that released (empty bytes when not exactly
    // one went out), checked to have gone out at least `pauseMs` after the acknowledgement came.
    FakePort::Write released(char code, std::uint64_t pauseMs) {
        const std::uint64_t arrived = clock.now;
        acknowledge(code);
        std::vector<FakePort::Write> sent = port.takeWrites();
        if (sent.size() != 1) {
            return {};
        }
        EXPECT_GE(sent[0].atMs - arrived, pauseMs) << sent[0].bytes;
        return sent[0];
    }
    // The bytes of each write since the last call.
    std::vector<std::string> writes() {
        std::vector<std::string> out;
        for (const FakePort::Write& w : port.takeWrites()) {
            out.push_back(w.bytes);
        }
        return out;
    }

    WindowModel& model() { return core.model(); }
    ParameterStore& store() { return core.store(); }
    ProtocolMode mode() { return core.link().mode(); }
    const std::string& text(ControlKey key) { return model().text(key); }
    bool enabled(ControlKey key) { return model().enabled(key); }
    // '1' for each of `ids` whose control is enabled, '0' for each that is not.
    std::string enabledOf(Dialog dialog, const std::vector<int>& ids) {
        std::string out;
        for (int id : ids) {
            out += enabled({dialog, id}) ? '1' : '0';
        }
        return out;
    }
    const MessageBox& lastMessage() { return prompts.shown.back(); }

    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
    std::vector<ExchangeResult> results;  // every exchange's, in order
};

}  // namespace orva::test
