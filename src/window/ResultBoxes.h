#pragma once

#include <optional>

#include "model/Language.h"
#include "platform/IPrompts.h"
#include "protocol/ExchangeResult.h"

namespace orva {

// The message box with which the window ends an exchange, in the language of the moment;
// nothing for a result the window shows no box for (it shows those beside the port list, or
// not at all).
std::optional<MessageBox> resultBox(const ExchangeResult& result, Language language);

}  // namespace orva
