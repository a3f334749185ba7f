#pragma once

#include "model/Language.h"

namespace orva {

// The main window's language flag, one object that every language-dependent text reads; only
// the language switch writes it.
class LanguageFlag {
  public:
    Language operator()() const { return m_value; }
    void set(Language language) { m_value = language; }

  private:
    Language m_value = Language::Chinese;
};

}  // namespace orva
