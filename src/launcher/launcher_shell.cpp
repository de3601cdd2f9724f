#include "launcher/launcher_shell.h"

#include "common/cp932.h"
#include "common/dpi.h"
#include "common/strutil.h"
#include "common/winconst.h"

namespace zv {

bool IsSplashDismissInput(unsigned message) {
    switch (message) {
        case kWmNcLButtonDown:
        case kWmNcRButtonDown:
        case kWmNcMButtonDown:
        case kWmKeyDown:
        case kWmSysKeyDown:
        case kWmLButtonDown:
        case kWmRButtonDown:
        case kWmMButtonDown:
            return true;
        default:
            return false;
    }
}

bool SplashExpired(std::uint32_t nowTick, std::uint32_t startTick, std::int32_t seconds) {
    const std::uint32_t elapsed = nowTick - startTick;
    return static_cast<std::int64_t>(elapsed) > static_cast<std::int64_t>(seconds) * 1000;
}

ScreenPoint SplashPosition(int screenWidth, int screenHeight, int width, int height, int dpi) {
    return {(screenWidth - width) / 2,
            (screenHeight - height) / 2 - (height + ScaleForDpi(4, dpi))};
}

std::string HotkeyNotRegisteredMessage(std::uint8_t modifiers, std::uint8_t key,
                                       std::string_view systemText) {
    const std::string text(systemText);
    return StrPrintf(kMsgHotkeyNotRegistered, static_cast<unsigned>(modifiers),
                     static_cast<unsigned>(key), text.c_str()) +
           kMsgHotkeyHint;
}

std::string TargetCaptionOf(std::string_view windowText) {
    return std::string(TruncateChars(windowText, kMaxTargetCaption));
}

}  // namespace zv
