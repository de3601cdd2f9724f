// Small decisions of the launcher's shell around the menus: the splash's life, the
// hotkey registration message and the caption the hotkey menu matches against.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/geometry.h"
#include "common/winconst.h"

namespace zv {

// Private message posted to the command window after launcher settings were written.
inline constexpr unsigned UM_SETTINGS_CHANGED = kWmApp + 1;

// Mouse and key messages that dismiss the splash while it is up.
bool IsSplashDismissInput(unsigned message);

// True when more than `seconds` seconds have passed since startTick (32-bit millisecond
// ticks, so the count may have wrapped in between).
bool SplashExpired(std::uint32_t nowTick, std::uint32_t startTick, std::int32_t seconds);

// The splash's place: centred on the screen, then moved up by its height plus 4 pixels
// (at 96 DPI; the splash's dpi scales them).
ScreenPoint SplashPosition(int screenWidth, int screenHeight, int width, int height, int dpi);

inline constexpr const char* kMsgHotkeyNotRegistered =
    "ホットキー「MOD=%2.2X + KEY=%2.2X」\r\nが登録出来ません。\n\r%s";
inline constexpr const char* kMsgHotkeyHint =
    "\n\r「ホットキーの設定(H)」で設定を変更してみて下さい。";

std::string HotkeyNotRegisteredMessage(std::uint8_t modifiers, std::uint8_t key,
                                       std::string_view systemText);

// The caption kept for the hotkey menu: at most 259 bytes, cut on a character boundary.
inline constexpr std::size_t kMaxTargetCaption = 259;
std::string TargetCaptionOf(std::string_view windowText);

}  // namespace zv
