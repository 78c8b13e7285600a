// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvadel {

// The calendar day of an ISO 8601 time stamp, as days since 1970-01-01, when the whole text is
// one: a date YYYY-MM-DD, or a date and a time hh:mm, hh:mm:ss or hh:mm:ss.fff... after a T or
// one space, optionally followed by Z or a UTC offset (+hh, +hhmm, +hh:mm, or with -). Spaces
// around the text are allowed. The day is the date as written: an offset does not move it, so a
// record's days are the days its times were written in. nullopt for anything else, a day that
// does not exist (2023-02-29) and a time out of range (24:00, 12:60) included.
std::optional<std::int32_t> isoCalendarDay(std::string_view text);

// isoCalendarDay for a long run of time stamps, most of them on the day before them: the date
// of the last valid stamp is kept, so that a stamp on the same date has only its time checked.
class CalendarDayReader {
public:
    std::optional<std::int32_t> operator()(std::string_view text);

private:
    char date_[10] = {};
    std::int32_t day_ = 0;
    bool known_ = false;
};

// YYYY-MM-DD of a day number from isoCalendarDay.
std::string isoDateText(std::int32_t day);

} // namespace korvadel
