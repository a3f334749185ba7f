#pragma once

#include <QGridLayout>
#include <QString>
#include <QWidget>
#include <map>

#include "ui/ControlEntry.h"

namespace orva {

class ModelBinder;
class PageHost;

// Builds the widgets of a dialog table and hands each to the binder under its key.
class WidgetFactory {
  public:
    explicit WidgetFactory(ModelBinder& binder) : m_binder(binder) {}

    // Fills `root` with the controls of `table`, laid out on grids.
    void build(const DialogTable& table, QWidget* root);

    // The tab control of the last table built that has one.
    PageHost* pageHost() const { return m_pageHost; }

    // The object name a control's widget carries: "<dialog>:<id>", e.g. "137:1040".
    static QString objectName(ControlKey key);

  private:
    QWidget* create(const ControlEntry& control, ControlKey key, QWidget* parent);
    void place(const ControlEntry& control, QWidget* widget, QGridLayout* grid);
    void addColumnCaption(const ControlEntry& control, ControlKey key, QWidget* parent,
                          QGridLayout* grid);

    ModelBinder& m_binder;
    PageHost* m_pageHost = nullptr;
};

}  // namespace orva
