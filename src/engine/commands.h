// The six command handlers and the parsers behind them. A handler takes the stripped
// command line as written and fills the result text: on success the line for the run
// log, on failure the reason (or nothing). Its actions go through the context's desktop;
// every key and button through the context's held-input tracker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/syntax/focus.h"
#include "common/syntax/keyin.h"
#include "common/syntax/launch.h"
#include "common/syntax/mouse.h"
#include "common/syntax/params.h"
#include "common/syntax/type.h"
#include "common/syntax/wait.h"
#include "engine/app.h"
#include "engine/desktop.h"
#include "engine/input.h"

namespace zv {

struct CommandContext {
    IEngineDesktop& desktop;
    CRkCaptureApp& app;
    HeldInput& held;
};

bool ExecWait(CommandContext& ctx, const std::string& line, std::string& result);
bool ExecKeyin(CommandContext& ctx, const std::string& line, std::string& result);
bool ExecType(CommandContext& ctx, const std::string& line, std::string& result);
bool ExecMouse(CommandContext& ctx, const std::string& line, std::string& result);
bool ExecFocus(CommandContext& ctx, const std::string& line, std::string& result);
bool ExecLaunch(CommandContext& ctx, const std::string& line, std::string& result);

// ---- KEYIN ----
struct KeyinParams {
    bool ok = false;
    std::string error;
    std::vector<std::uint8_t> codes;  // in the order written
    std::int32_t repeat = 1;
    std::string description;  // "CONTROL(11) + \"V\"(56)" with the repeat part
};
KeyinParams ParseKeyin(std::string_view line);

// ---- MOUSE ----
// The pause before the pointer is checked after a move, and how many corrective moves
// follow at most while it rests elsewhere than the target.
inline constexpr std::uint32_t kPointerSettleMs = 15;
inline constexpr int kPointerCorrections = 4;

// ---- FOCUS and TYPE: quotes removed and run-time tokens substituted ----
struct FocusParse {
    bool ok = false;  // false: nothing to look for (empty or unclosed quote)
    std::string caption;
    bool partial = false;
};
FocusParse ParseFocus(std::string_view line, const RunParameters& params,
                      IClipboardTextSource& clipboard);

struct TypeParse {
    bool ok = false;
    std::string text;
};
TypeParse ParseType(std::string_view line, const RunParameters& params,
                    IClipboardTextSource& clipboard);

// "%8.8X" of a window handle: its 32 significant bits as eight upper-case hex digits.
std::string HandleHex(WindowHandle handle);

// A setting or parsed time as a sleep: negative values sleep nothing.
inline std::uint32_t AsMs(std::int32_t value) {
    return value < 0 ? 0u : static_cast<std::uint32_t>(value);
}

}  // namespace zv
