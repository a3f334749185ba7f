#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QWidget>

namespace orva {

AfterFirstPaint::AfterFirstPaint(QWidget& window, std::chrono::milliseconds patience,
                                 std::function<void()> then)
    : m_window(window), m_then(std::move(then)) {
    m_window.installEventFilter(this);
    m_patience.setSingleShot(true);
    connect(&m_patience, &QTimer::timeout, this, [this] { fire(); });
    m_patience.start(patience);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::Paint) {
        // The window paints itself first and its children after, in the same flush: the queued
        // call runs once the whole window is on screen.
        QMetaObject::invokeMethod(
            this, [this] { fire(); }, Qt::QueuedConnection);
    }
    return false;
}

void AfterFirstPaint::fire() {
    if (m_fired) {
        return;
    }
    m_fired = true;
    m_window.removeEventFilter(this);
    m_patience.stop();
    m_then();
}

}  // namespace orva
