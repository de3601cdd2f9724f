// The WAIT dialog's model: a waiting time and the largest number of idle polls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

inline constexpr IntRange kWaitTimeRange{0, 30000};
inline constexpr IntRange kWaitRepetitionRange{0, 9999};

struct WaitFields {
    std::int32_t timeMs = 0;
    std::int32_t repetitions = 0;

    bool operator==(const WaitFields&) const = default;
};

struct WaitLineParse {
    bool ok = false;
    WaitFields fields;  // the values read before a failure stay
};

// Reads a WAIT line. An empty line fails; an empty parameter text is valid 0, 0.
WaitLineParse ParseWaitLine(std::string_view line);

// "WAIT:" time "," repetitions, both always written.
std::string ComposeWaitLine(const WaitFields& fields);

// "%d mm秒 アイドルまでの繰り返し %d 回", or the whole line marked invalid.
LineDescription DescribeWaitLine(std::string_view line);

// The fields the dialog opens with: what parse read, even when it failed.
WaitFields OpenWaitDialog(std::string_view entryLine);

enum class WaitField { Time, Repetitions };

// The two numeric fields' texts as the user left them.
struct WaitDialogTexts {
    std::string time;
    std::string repetitions;
};

// OK: both range checks, then the composed line.
DialogOk<WaitField> ConfirmWaitDialog(const WaitDialogTexts& texts);

}  // namespace zv
