#pragma once

#include <QLabel>
#include <QObject>
#include <vector>

namespace orva {

// A caption made of words spread over several labels, one per grid column: the column headings
// over a row of boxes. Words are separated by blanks; surplus words go to the last label.
class CaptionRow : public QObject {
    Q_OBJECT
  public:
    CaptionRow(std::vector<QLabel*> labels, QObject* parent);

    // How many words `text` has.
    static int wordCount(const QString& text);

    void setText(const QString& text);
    void setEnabled(bool enabled);
    void setVisible(bool visible);
    QString text() const;

  private:
    std::vector<QLabel*> m_labels;
};

}  // namespace orva
