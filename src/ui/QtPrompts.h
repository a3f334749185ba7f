#pragma once

#include <QWidget>

#include "platform/IPrompts.h"

namespace orva {

// Message boxes and file choosers as real Qt dialogs, owned by `parent`.
class QtPrompts : public IPrompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    MessageResult message(const MessageBox& box) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;

  private:
    QWidget* m_parent;
};

}  // namespace orva
