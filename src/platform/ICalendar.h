#pragma once

namespace orva {

// A moment of the local calendar, to the second.
struct CalendarTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local date and time, which names the files the tool keeps for the user.
class ICalendar {
  public:
    virtual ~ICalendar() = default;
    virtual CalendarTime now() = 0;
};

}  // namespace orva
