#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class QWidget;

namespace orva {

// Runs a function once, as soon as the first paint of a window has been handled, or after a
// patience when the window is not painted (started minimised, no compositor).
class AfterFirstPaint : public QObject {
  public:
    AfterFirstPaint(QWidget& window, std::chrono::milliseconds patience,
                    std::function<void()> then);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fire();

    QWidget& m_window;
    std::function<void()> m_then;
    QTimer m_patience;
    bool m_fired = false;
};

}  // namespace orva
