// WAIT parameters: "time[,idle repetitions]", both decimal digits only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

struct WaitParams {
    bool ok = false;
    std::string error;  // the failure message when not ok
    std::int32_t waitMs = 0;
    std::int32_t loops = 0;
};

// Parses a WAIT line. Values read before a failure stay in the result. An empty
// parameter text is a failure here; the editor reads it as 0 and 0.
WaitParams ParseWait(std::string_view line);

}  // namespace zv
