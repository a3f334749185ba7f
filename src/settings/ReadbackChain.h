#pragma once

#include <functional>
#include <string_view>

#include "model/Language.h"
#include "model/WindowModel.h"
#include "protocol/ProtocolEngine.h"
#include "settings/ParameterStore.h"

namespace orva {

// The two query chains that read the controller's settings: the main chain from "?V\r" to
// "?j\r" fills the main window, its pages and the parameter store; the frame chain from "?k\r"
// to "?z\r" fills the custom frame dialog. Each reply handler shows its value and sends the
// query that follows it, so the chain runs by itself once its first query is out.
class ReadbackChain {
  public:
    using LanguageSource = std::function<Language()>;

    static constexpr char kMainFirst = 'V';
    static constexpr char kFrameFirst = 'k';

    // Registers a reply handler for every code of both chains.
    ReadbackChain(ProtocolEngine& engine, WindowModel& model, ParameterStore& store,
                  LanguageSource language);

    // One step of a chain: the query, the one its reply leads to (0 at a chain's end), and
    // what the reply does beyond showing its value.
    struct Link {
        char code;
        char next;
        bool redrawPlan = false;
        // Only the main chain's last reply still empties the port's input.
        bool discardAtEnd = false;
    };

  private:
    void onReply(const Link& link, std::string_view valueChars);
    // The version reply; returns the number its repeat test uses.
    int showVersion(std::string_view valueChars);
    void showValue(char code, int value);
    void applyAxisCount(int axisCount);
    void redrawPlan();

    ProtocolEngine& m_engine;
    WindowModel& m_model;
    ParameterStore& m_store;
    LanguageSource m_language;
};

}  // namespace orva
