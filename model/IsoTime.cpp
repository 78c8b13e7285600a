// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IsoTime.h"

#include <chrono>

namespace korvadel {
namespace {

// Reads `count` digits at `at`; -1 when any is not a digit or the text is too short.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// hh:mm, hh:mm:ss or hh:mm:ss.f... from `at`; returns where it ends, or npos.
std::size_t timeOfDayEnd(std::string_view text, std::size_t at) {
    const int hour = digitsAt(text, at, 2);
    if (hour < 0 || hour > 23 || at + 2 >= text.size() || text[at + 2] != ':')
        return std::string_view::npos;
    const int minute = digitsAt(text, at + 3, 2);
    if (minute < 0 || minute > 59)
        return std::string_view::npos;
    std::size_t end = at + 5;
    if (end < text.size() && text[end] == ':') {
        // 60 for a leap second.
        const int second = digitsAt(text, end + 1, 2);
        if (second < 0 || second > 60)
            return std::string_view::npos;
        end += 3;
        if (end < text.size() && (text[end] == '.' || text[end] == ',')) {
            const std::size_t fraction = ++end;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9')
                ++end;
            if (end == fraction)
                return std::string_view::npos;
        }
    }
    return end;
}

// Z, +hh, +hhmm or +hh:mm (or -) from `at` to the end of the text.
bool isZone(std::string_view text, std::size_t at) {
    if (at == text.size())
        return true;
    if (text[at] == 'Z' || text[at] == 'z')
        return at + 1 == text.size();
    if (text[at] != '+' && text[at] != '-')
        return false;
    const int hours = digitsAt(text, at + 1, 2);
    if (hours < 0 || hours > 23)
        return false;
    std::size_t minutes = at + 3;
    if (minutes == text.size())
        return true;
    if (text[minutes] == ':')
        ++minutes;
    const int value = digitsAt(text, minutes, 2);
    return value >= 0 && value <= 59 && minutes + 2 == text.size();
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// What may follow the date: nothing, or T or one space and a time of day with its zone.
bool isTimeAfterDate(std::string_view text) {
    if (text.size() == 10)
        return true;
    if (text[10] != 'T' && text[10] != 't' && text[10] != ' ')
        return false;
    const std::size_t end = timeOfDayEnd(text, 11);
    return end != std::string_view::npos && isZone(text, end);
}

} // namespace

std::optional<std::int32_t> isoCalendarDay(std::string_view text) {
    text = trimmed(text);
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || !isTimeAfterDate(text))
        return std::nullopt;
    return static_cast<std::int32_t>(std::chrono::sys_days(date).time_since_epoch().count());
}

std::optional<std::int32_t> CalendarDayReader::operator()(std::string_view text) {
    text = trimmed(text);
    if (known_ && text.size() >= 10 && text.compare(0, 10, std::string_view(date_, 10)) == 0)
        return isTimeAfterDate(text) ? std::optional<std::int32_t>(day_) : std::nullopt;
    const std::optional<std::int32_t> day = isoCalendarDay(text);
    if (day) {
        text.copy(date_, 10);
        day_ = *day;
        known_ = true;
    }
    return day;
}

std::string isoDateText(std::int32_t day) {
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
    char text[16];
    const auto put = [&text](int at, unsigned value, int width) {
        for (int i = width - 1; i >= 0; --i) {
            text[at + i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(0, static_cast<unsigned>(static_cast<int>(date.year())), 4);
    text[4] = '-';
    put(5, static_cast<unsigned>(date.month()), 2);
    text[7] = '-';
    put(8, static_cast<unsigned>(date.day()), 2);
    return std::string(text, 10);
}

} // namespace korvadel
