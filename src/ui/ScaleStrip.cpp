#include "ui/ScaleStrip.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <optional>

namespace orva {
namespace {

// The leading number of a word such as "3.25V"; nothing when it has none.
std::optional<double> leadingNumber(const QString& word) {
    static const QRegularExpression kNumber(QStringLiteral("^[-+]?\\d+(\\.\\d+)?"));
    const QRegularExpressionMatch m = kNumber.match(word);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return m.captured(0).toDouble();
}

}  // namespace

ScaleStrip::ScaleStrip(const QString& text, QWidget* parent) : QWidget(parent) {
    setText(text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ScaleStrip::setText(const QString& text) {
    m_words = text.simplified().split(' ', Qt::SkipEmptyParts);
    updateGeometry();
    update();
}

std::vector<double> ScaleStrip::positions(const QStringList& words) {
    const int n = static_cast<int>(words.size());
    std::vector<double> even(n, 0.5);
    for (int i = 0; n > 1 && i < n; ++i) {
        even[i] = static_cast<double>(i) / (n - 1);
    }
    if (n < 3) {
        return even;
    }
    std::vector<double> values;
    for (const QString& word : words) {
        const auto v = leadingNumber(word);
        if (!v) {
            return even;
        }
        values.push_back(*v);
    }
    const double span = values.back() - values.front();
    if (std::abs(span) < 1e-9) {
        return even;
    }
    std::vector<double> at = even;
    for (int i = 1; i < n - 1; ++i) {
        const double f = (values[i] - values.front()) / span;
        if (f <= at[i - 1] || f >= 1.0) {
            return even;  // not a scale that runs one way
        }
        at[i] = f;
    }
    return at;
}

QSize ScaleStrip::sizeHint() const {
    const QFontMetrics fm(font());
    int width = 0;
    for (const QString& word : m_words) {
        width += fm.horizontalAdvance(word) + fm.horizontalAdvance(QLatin1Char(' '));
    }
    return {width, fm.height()};
}

void ScaleStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QFontMetrics fm(font());
    // Slider values run between the centres of the thumb at either end.
    const int inset = style()->pixelMetric(QStyle::PM_SliderLength) / 2;
    const std::vector<double> at = positions(m_words);
    const int n = static_cast<int>(m_words.size());
    for (int i = 0; i < n; ++i) {
        const int w = fm.horizontalAdvance(m_words[i]);
        int x = inset + static_cast<int>(std::lround(at[i] * (width() - 2 * inset))) - w / 2;
        x = std::clamp(x, 0, std::max(0, width() - w));
        painter.drawText(QRect(x, 0, w, height()), Qt::AlignLeft | Qt::AlignBottom, m_words[i]);
    }
}

}  // namespace orva
