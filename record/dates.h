// Calendar days and moments as the record writes them: days "YYYY-MM-DD",
// moments "YYYY-MM-DD HH:MM:SS", both in local time.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Whether `day` is a calendar day written "YYYY-MM-DD".
bool isDay(std::string_view day);
// Whether `moment` is a day and a time of day written "YYYY-MM-DD HH:MM:SS".
bool isMoment(std::string_view moment);
// The day `days` after `day`; `day` itself when it is not a valid day.
std::string addDays(std::string_view day, int days);
// The day of a moment: its first ten characters.
std::string dayOf(std::string_view moment);

std::string localToday();
std::string localNow();
// The moment for a file name: "YYYYMMDD-HHMMSS".
std::string localStamp();

} // namespace quillory
