#pragma once

#include "platform/ICalendar.h"

namespace orva {

class SystemCalendar : public ICalendar {
  public:
    CalendarTime now() override;
};

}  // namespace orva
