#include "ui/ElidedLabel.h"

#include <QFontMetrics>
#include <algorithm>

namespace orva {
namespace {

// Room for the usual "COM3 = /dev/ttyACM0" and a short reason; longer texts are elided.
constexpr int kPreferredChars = 48;
constexpr int kMinimumChars = 8;

}  // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == m_full) {
        return;
    }
    m_full = text;
    elide();
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width =
        std::min(metrics.horizontalAdvance(m_full), metrics.averageCharWidth() * kPreferredChars);
    return {width + 2 * margin(), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * kMinimumChars, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(m_full, Qt::ElideRight, contentsRect().width());
    QLabel::setText(shown);
    setToolTip(shown == m_full ? QString() : m_full);
}

}  // namespace orva
