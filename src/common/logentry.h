// One entry of the run log "Zorvane_Log.txt", as the engine writes it during a run and the
// launcher appends it when an engine it started was cut off.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zv {

struct LocalTime {
    int year = 0;  // full year, e.g. 2009
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using LocalClock = std::function<LocalTime()>;

// The local time of the system clock.
LocalTime CurrentLocalTime();

// "[yy/mm/dd HH:MM:SS] message" with every line end of the message and the entry's own
// line end written as CR LF.
std::string FormatLogEntry(const LocalTime& time, std::string_view message);

}  // namespace zv
