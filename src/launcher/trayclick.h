// The tray icon's click logic: the shell's raw mouse notifications turned into one
// click, one double click or one menu request, with one timer that waits out the
// double-click time.
#pragma once

#include <cstdint>

#include "common/winconst.h"

namespace zv {

inline constexpr unsigned UM_TRAY_NOTIFY = kWmUser + 500;
inline constexpr unsigned kTrayIconId = 100;
inline constexpr unsigned kTrayTimerId = 4;

// Mouse message numbers as the shell reports them in the notification's lParam.
inline constexpr unsigned kMsgLButtonDown = kWmLButtonDown;
inline constexpr unsigned kMsgLButtonUp = kWmLButtonUp;
inline constexpr unsigned kMsgLButtonDblClk = kWmLButtonDblClk;
inline constexpr unsigned kMsgRButtonUp = kWmRButtonUp;

// What the tray window does in answer to one message.
struct TrayStep {
    bool startTimer = false;  // start timer 4 with the system double-click time
    bool killTimer = false;   // kill timer 4
    unsigned post = 0;        // mouse message to post to the own window, 0 for none
    bool operator==(const TrayStep&) const = default;
};

// The own messages posted by the logic and the events they stand for.
enum class TrayEvent { None, Click, DoubleClick, Menu };
TrayEvent TrayEventOf(unsigned postedMessage);

class TrayClickLogic {
public:
    // UM_TRAY_NOTIFY with wParam = icon id and lParam = mouse message.
    TrayStep OnNotify(std::uintptr_t iconId, std::uintptr_t mouseMessage);
    // Timer 4 fired.
    TrayStep OnTimer();

private:
    bool doubleClick_ = false;  // a double click was seen since the last button press
};

}  // namespace zv
