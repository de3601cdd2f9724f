#include <algorithm>
#include <limits>

#include "engine/commands.h"
#include "common/cp932.h"
#include "common/mouseactions.h"
#include "common/strutil.h"

namespace zv {
namespace {

std::int32_t ClampedDifference(std::int32_t to, std::int32_t from) {
    const std::int64_t d = static_cast<std::int64_t>(to) - from;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        d, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The action must happen where the line says. A system may apply an injected move late,
// or let an older pointer position overtake it (Wine does both when a window lies under
// the pointer), so after a short pause the pointer is checked and the remaining distance
// sent again while it rests elsewhere. A pointer held at the screen's edge stops after
// the last correction.
void SettlePointer(IEngineDesktop& desktop, HeldInput& held, Point target) {
    for (int correction = 0;; ++correction) {
        desktop.Sleep(kPointerSettleMs);
        const Point now = desktop.GetCursorPos();
        if (now == target || correction == kPointerCorrections)
            return;
        held.Mouse(kMouseMove, ClampedDifference(target.x, now.x),
                   ClampedDifference(target.y, now.y), 0);
    }
}

// Button-down and button-up flags of the click actions.
struct Buttons {
    std::uint32_t down;
    std::uint32_t up;
    std::int32_t data;
};

}  // namespace

bool ExecMouse(CommandContext& ctx, const std::string& line, std::string& result) {
    IEngineDesktop& desktop = ctx.desktop;
    const EngineSettings& settings = ctx.app.settings;
    MouseParse p = ParseMouse(line);

    // The target is worked out even after a parsing failure: a missing foreground
    // window with LOCAL is the message that counts.
    const WindowHandle foreground = desktop.GetForegroundWindow();
    Point target{p.x, p.y};
    if (p.local) {
        if (foreground == 0) {
            result = "LOCAL指定されているがアクティブなウィンドウが見つからない";
            return false;
        }
        if (std::optional<Point> screen = desktop.ClientToScreen(foreground, target))
            target = *screen;
    }
    if (!p.ok) {
        result = p.error;
        return false;
    }

    const std::string_view word = p.action >= 0 ? MouseActionWordOf(p.action) : "none";
    result = StrPrintf("%s X=%d Y=%d BUTTON=", "MOUSE :", target.x, target.y);
    result += word;
    result += p.local ? " POS=LOCAL" : " POS=SCREEN";
    if (p.local)
        result += "(wh=" + HandleHex(foreground) + StrPrintf(" X=%d,Y=%d)", p.x, p.y);

    const Point cursor = desktop.GetCursorPos();
    const std::int32_t dx = ClampedDifference(target.x, cursor.x);
    const std::int32_t dy = ClampedDifference(target.y, cursor.y);

    // Without thresholds, acceleration and with the middle speed, a relative move of
    // (dx, dy) moves the pointer by exactly that many pixels.
    HeldInput& held = ctx.held;
    held.OverrideMouseParams(desktop.GetMouseParams(), MouseParams{0, 0, 0, 10});
    const bool drag = p.action == kMouseActionDrag;
    if (drag)
        held.Mouse(kMouseLeftDown, 0, 0, 0);
    if (settings.mouseMoveReal != 0) {
        MoveMouseStepwise(held, dx, dy);
    } else {
        held.Mouse(kMouseMove, dx, dy, 0);
    }
    SettlePointer(desktop, held, target);
    if (drag)
        held.Mouse(kMouseLeftUp, 0, 0, 0);
    held.RestoreMouseParams();

    auto click = [&](const Buttons& b) {
        held.Mouse(b.down, 0, 0, b.data);
        held.Mouse(b.up, 0, 0, b.data);
    };
    const Buttons left{kMouseLeftDown, kMouseLeftUp, 0};
    const Buttons right{kMouseRightDown, kMouseRightUp, 0};
    const Buttons middle{kMouseMiddleDown, kMouseMiddleUp, 0};
    const std::uint32_t doublePause = AsMs(settings.mouseWClickMSec);
    switch (p.action) {
        case kMouseActionLeft:
            click(left);
            break;
        case kMouseActionRight:
            click(right);
            break;
        case kMouseActionMiddle:
            click(middle);
            break;
        case kMouseActionLeftDouble:
        case kMouseActionRightDouble:
        case kMouseActionMiddleDouble: {
            const Buttons& b = p.action == kMouseActionLeftDouble    ? left
                               : p.action == kMouseActionRightDouble ? right
                                                                     : middle;
            click(b);
            desktop.Sleep(doublePause);
            click(b);
            break;
        }
        case kMouseActionXButton:
            click({kMouseXDown, kMouseXUp, 1});
            break;
        case kMouseActionWheelDown:
            held.Mouse(kMouseWheel, 0, 0, -120);
            break;
        case kMouseActionWheelUp:
            held.Mouse(kMouseWheel, 0, 0, 120);
            break;
        default:
            break;  // no action, or the drag done above
    }
    return true;
}

}  // namespace zv
