#pragma once

#include <QLabel>

namespace orva {

// A one-line label that never asks the window for more room than a short text needs: a text too
// long for its width (a port error as long as a sentence) ends in an ellipsis, and the whole
// text shows as its tool tip.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return m_full; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();

    QString m_full;
};

}  // namespace orva
