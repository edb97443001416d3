#include "DateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace kvelo {
namespace {

// Days from 1 Jan 1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

CalendarDate civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp + (mp < 10 ? 3 : -9);
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 30 Dec 1899 counted from 1 Jan 1970.
constexpr long kEpochOffset = -25569;

} // namespace

bool IsValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return static_cast<TDateTime>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kEpochOffset);
}

CalendarDate DecodeDate(TDateTime date) {
    if (!std::isfinite(date) || std::fabs(date) > 3.0e6) return {};
    return civilFromDays(static_cast<long>(std::floor(date)) + kEpochOffset);
}

std::string DateToStr(TDateTime date) {
    const CalendarDate c = DecodeDate(date);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
    return buf;
}

std::optional<TDateTime> StrToDate(std::string_view text) {
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int index = 0;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            if (++digits[index] > 4) return std::nullopt;
            parts[index] = parts[index] * 10 + (ch - '0');
        } else if (ch == '.' || ch == '/' || ch == '-') {
            if (digits[index] == 0 || ++index > 2) return std::nullopt;
        } else if (ch != ' ') {
            return std::nullopt;
        }
    }
    if (index != 2 || digits[2] == 0) return std::nullopt;
    int year = parts[2];
    if (digits[2] <= 2) year += year < 50 ? 2000 : 1900;
    return EncodeDate(year, parts[1], parts[0]);
}

TDateTime Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return *EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace kvelo
