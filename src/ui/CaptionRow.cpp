#include "ui/CaptionRow.h"

#include <QStringList>

namespace orva {

CaptionRow::CaptionRow(std::vector<QLabel*> labels, QObject* parent)
    : QObject(parent), m_labels(std::move(labels)) {}

int CaptionRow::wordCount(const QString& text) {
    return static_cast<int>(text.simplified().split(' ', Qt::SkipEmptyParts).size());
}

void CaptionRow::setText(const QString& text) {
    const QStringList words = text.simplified().split(' ', Qt::SkipEmptyParts);
    const int count = static_cast<int>(m_labels.size());
    for (int i = 0; i < count; ++i) {
        QString word;
        if (i == count - 1) {
            word = words.mid(i).join(' ');
        } else if (i < words.size()) {
            word = words[i];
        }
        m_labels[i]->setText(word);
    }
}

void CaptionRow::setEnabled(bool enabled) {
    for (QLabel* label : m_labels) {
        label->setEnabled(enabled);
    }
}

void CaptionRow::setVisible(bool visible) {
    for (QLabel* label : m_labels) {
        label->setVisible(visible);
    }
}

QString CaptionRow::text() const {
    QStringList words;
    for (const QLabel* label : m_labels) {
        if (!label->text().isEmpty()) {
            words << label->text();
        }
    }
    return words.join(' ');
}

}  // namespace orva
