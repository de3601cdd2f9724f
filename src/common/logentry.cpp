#include "common/logentry.h"

#include <ctime>

#include "common/strutil.h"

namespace zv {

LocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatLogEntry(const LocalTime& t, std::string_view message) {
    std::string entry = StrPrintf("[%02d/%02d/%02d %02d:%02d:%02d] ", t.year % 100, t.month, t.day,
                                  t.hour, t.minute, t.second);
    entry.reserve(entry.size() + message.size() + 8);
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\n' && (i == 0 || message[i - 1] != '\r'))
            entry += '\r';
        entry += message[i];
    }
    entry += "\r\n";
    return entry;
}

}  // namespace zv
