// TDateTime: a date as days since 30 December 1899 (the fraction is the time
// of day), the form in which base files and tree files store dates.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelo {

using TDateTime = double;

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDate& o) const {
        return year == o.year && month == o.month && day == o.day;
    }
};

bool IsValidDate(int year, int month, int day);
// Days since 30 Dec 1899 of a calendar date; nullopt for an invalid one.
std::optional<TDateTime> EncodeDate(int year, int month, int day);
// The calendar date of a TDateTime (its whole days; times are ignored).
CalendarDate DecodeDate(TDateTime date);

// The short date format of the program: "DD.MM.YYYY".
std::string DateToStr(TDateTime date);
// Parses "D.M.YYYY" (also with '/' or '-' separators, two-digit years as 20xx
// below 50, 19xx otherwise); nullopt when it is no valid date.
std::optional<TDateTime> StrToDate(std::string_view text);

// Today's date (local time, no time of day).
TDateTime Today();

} // namespace kvelo
