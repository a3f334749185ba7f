#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

namespace orva {

// The numbers written above a slider. The first stands at the slider's left end and the last at
// its right end; those between stand where their value falls between the two, or evenly spaced
// when the words are not numbers ("2.80V 3.25V 4.00V" puts 3.25V three eighths along).
class ScaleStrip : public QWidget {
    Q_OBJECT
  public:
    explicit ScaleStrip(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_words.join(' '); }

    // Where each word stands, from 0 (left end) to 1 (right end).
    static std::vector<double> positions(const QStringList& words);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStringList m_words;
};

}  // namespace orva
