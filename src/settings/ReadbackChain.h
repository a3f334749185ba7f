#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ParameterStore.h"

namespace orva {

// The two query chains that read the controller's settings: the main chain from "?V\r" to
// "?j\r" fills the main window, its pages and the parameter store; the frame chain from "?k\r"
// to "?z\r" fills the custom frame dialog. Each reply handler shows its value and sends the
// query that follows it, so the chain runs by itself once its first query is out.
class ReadbackChain : public IRestartable {
  public:
    static constexpr int kRetryStart = 3;

    // Registers for the idle replies of both chains, as the link's read-back start and for its
    // restarts.
    ReadbackChain(Link& link, WindowModel& model, ParameterStore& store,
                  const LanguageFlag& language);

    // Retries back to 3, then "?V\r".
    void start();
    // The file variant forgets the firmware version: a new controller may stand behind the port.
    void onRestart(RestartKind kind) override;
    // After an exchange of its own: its answers still waiting are dropped, then start().
    void startAgain();
    // Main read-backs started so far.
    std::uint64_t starts() const { return m_starts; }
    // Four-digit number of the version reply; 0 until read. The gimbal encodings depend on it.
    int firmwareVersion() const { return m_firmwareVersion; }
    int retries() const { return m_retries; }
    // The last main read-back got to its end, so the store holds the controller's settings.
    bool complete() const { return m_complete; }

    // Redraws the custom frame plan; the axis count and the last two coordinates change it.
    void setPlanRedraw(std::function<void()> redraw) { m_planRedraw = std::move(redraw); }
    // Reports each main read-back that got to its end, with the codes not read as its detail.
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }
    // Called once the frame chain's last reply has been handled.
    void setFrameChainEnd(std::function<void()> end) { m_frameChainEnd = std::move(end); }

    // The value of `code`'s last well-formed reply as the controller sent it; nothing before one.
    std::optional<int> wireValue(char code) const;
    // Codes whose replies stayed damaged after the retries of the last main read-back.
    const std::string& notRead() const { return m_notRead; }

  private:
    static bool wellFormed(std::string_view valueChars);
    void onReply(char code, std::string_view valueChars);
    // The query after `code`'s, with the retries back at 3; or the chain's end.
    void advance(char code);
    // The version reply; returns the number its repeat test uses.
    int showVersion(std::string_view valueChars);
    void showValue(char code, int value);
    void redrawPlan();

    Link& m_link;
    WindowModel& m_model;
    ParameterStore& m_store;
    const LanguageFlag& m_language;
    std::function<void()> m_planRedraw;
    ResultOut m_result;
    std::function<void()> m_frameChainEnd;
    std::array<std::optional<int>, 128> m_wire{};
    int m_retries = kRetryStart;
    std::uint64_t m_starts = 0;
    int m_firmwareVersion = 0;
    bool m_complete = false;
    // Codes whose replies stayed damaged after the retries, in the order they came.
    std::string m_notRead;
};

}  // namespace orva
