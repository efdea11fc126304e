#include "record/dates.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace quillory {

namespace {

std::chrono::year_month_day parseDay(std::string_view day)
{
    auto number = [&](std::size_t from, std::size_t count) {
        int n = 0;
        for (std::size_t i = from; i < from + count; ++i)
            n = n * 10 + (day[i] - '0');
        return n;
    };
    return std::chrono::year_month_day{std::chrono::year{number(0, 4)},
                                       std::chrono::month{static_cast<unsigned>(number(5, 2))},
                                       std::chrono::day{static_cast<unsigned>(number(8, 2))}};
}

std::string formatLocal(const char* format)
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

} // namespace

bool isDay(std::string_view day)
{
    if (day.size() != 10 || day[4] != '-' || day[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (day[i] < '0' || day[i] > '9')
            return false;
    }
    return parseDay(day).ok();
}

bool isMoment(std::string_view moment)
{
    if (moment.size() != 19 || !isDay(moment.substr(0, 10)) || moment[10] != ' ' ||
        moment[13] != ':' || moment[16] != ':')
        return false;
    const int limits[] = {23, 59, 59};
    for (int i = 0; i < 3; ++i) {
        const char high = moment[11 + 3 * i];
        const char low = moment[12 + 3 * i];
        if (high < '0' || high > '9' || low < '0' || low > '9' ||
            (high - '0') * 10 + (low - '0') > limits[i])
            return false;
    }
    return true;
}

std::string addDays(std::string_view day, int days)
{
    if (!isDay(day))
        return std::string(day);
    std::chrono::year_month_day later{std::chrono::sys_days{parseDay(day)} +
                                      std::chrono::days{days}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(later.year()),
                  static_cast<unsigned>(later.month()), static_cast<unsigned>(later.day()));
    return text;
}

std::string dayOf(std::string_view moment)
{
    return std::string(moment.substr(0, 10));
}

std::string localToday()
{
    return formatLocal("%Y-%m-%d");
}

std::string localNow()
{
    return formatLocal("%Y-%m-%d %H:%M:%S");
}

std::string localStamp()
{
    return formatLocal("%Y%m%d-%H%M%S");
}

} // namespace quillory
