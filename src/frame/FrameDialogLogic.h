#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/FramePlan.h"
#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/IPrompts.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ParameterStore.h"

namespace orva {

// The custom frame dialog (130) without its widgets: the axis count, the two maximum distances,
// the motor coordinates and propeller directions as the model holds them; their checks; the plan
// drawn from them; and the chain of set commands that writes the frame to the controller, each
// sent after the acknowledgement of the one before.
class FrameDialogLogic : public IRestartable {
  public:
    static constexpr int kNumbers = 14;  // maximum X, maximum Y, then X and Y of motors 1 to 6

    // What Save and the redraws last read from the edits, in wire order; the chain sends it.
    struct SentCopy {
        int axisCount = 0;
        std::array<int, kNumbers> numbers{};
    };

    // Registers for the frame rows of the acknowledgement chain.
    FrameDialogLogic(Link& link, WindowModel& model, ParameterStore& store, IPrompts& prompts,
                     const LanguageFlag& language, std::function<void()> linkRestart);

    // The main window's "Edit..." button and every control of the dialog.
    void registerWith(ActionTable& actions);

    // A read-back reply changed the frame: the plan is drawn again at once, when the dialog
    // exists.
    void redrawFromReadback();

    bool created() const { return m_created; }
    // The frame chain has read every number since the dialog last opened; until then Save
    // writes nothing, so that numbers never read cannot overwrite the controller's frame.
    void onFrameReadBack();
    bool frameRead() const { return m_frameRead; }
    // Reports each Save: refused before the frame was read, done at the chain's last
    // acknowledgement.
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }
    bool ready() const { return m_ready; }
    const SentCopy& sent() const { return m_sent; }
    // The plan as last drawn, for the view to paint in order.
    const std::vector<PlanItem>& plan() const { return m_plan; }

    // Keeps all: Save restarts the link itself and its chain runs on after the restart.
    void onRestart(RestartKind) override {}

  private:
    // The frame rows of the acknowledgement chain: sends the chain's next command. False when
    // `prefix` names no row.
    bool onAcknowledgement(std::string_view prefix);
    void open();
    void initialise();
    void setTexts();
    void onAxisCountSelected(int position);
    void onMaxXTyped(const std::string& text);
    void onMaxYTyped(const std::string& text);
    void onCoordinateTyped(ControlKey edit, const std::string& text);
    void onReverseClicked();
    void onSave();
    void hide();

    // The dialog's integer exchange, in its data-exchange order. After a text that is no integer
    // the message is shown, that edit takes the focus and it and the edits after it keep their
    // numbers.
    void readEdits();
    void refreshSentCopy();
    // Reads the edits, checks the coordinates and draws the plan, or only the axes after a
    // rejected coordinate.
    void redraw();
    // The first coordinate beyond its maximum, after its message; true when all are inside.
    bool checkCoordinates();
    void publish(std::vector<PlanItem> plan);
    void focus(ControlKey key);
    void message(const char* chinese, const char* english);
    void sendNumber(char code, int number);
    int number(int wireIndex) const;

    Link& m_link;
    WindowModel& m_model;
    ParameterStore& m_store;
    IPrompts& m_prompts;
    const LanguageFlag& m_language;
    std::function<void()> m_linkRestart;

    bool m_created = false;
    bool m_ready = false;
    bool m_frameRead = false;
    bool m_saving = false;  // from Save to the acknowledgement of the chain's last command
    ResultOut m_result;
    SentCopy m_sent;
    std::vector<PlanItem> m_plan;
};

}  // namespace orva
