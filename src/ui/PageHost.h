#pragma once

#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

namespace orva {

// The tab control: its items above and the pages below. Which item is selected and which page
// is shown are set apart, as the core keeps them, though they normally agree.
class PageHost : public QWidget {
    Q_OBJECT
  public:
    explicit PageHost(QWidget* parent = nullptr);

    void addPage(QWidget* page, const QString& tabText);
    int pageCount() const { return m_pages->count(); }
    QWidget* page(int index) const { return m_pages->widget(index); }
    QTabBar* tabBar() const { return m_tabs; }

    // Programmatic changes: they do not raise tabSelected.
    void selectTab(int index);
    void setTabText(int index, const QString& text);
    void showPage(int index);
    int shownPage() const { return m_pages->currentIndex(); }

  Q_SIGNALS:
    // The user picked a tab item.
    void tabSelected(int index);

  private:
    QTabBar* m_tabs;
    QStackedWidget* m_pages;
};

}  // namespace orva
