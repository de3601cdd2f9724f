#include "engine/input.h"

#include <algorithm>

#include "common/cp932.h"

namespace zv {

void HeldInput::Key(std::uint32_t vk, std::uint32_t flags, bool legacy) {
    std::lock_guard<std::mutex> guard(lock_);
    if (sealed_)
        return;
    if (legacy) {
        desktop_.SendLegacyKeyEvent(vk, flags);
    } else {
        desktop_.SendKeyEvent(vk, flags);
    }
    auto it = std::find_if(keys_.begin(), keys_.end(),
                           [&](const HeldKey& k) { return k.vk == vk && k.legacy == legacy; });
    if (flags == kKeyDown) {
        if (it == keys_.end()) {
            keys_.push_back({vk, legacy, 1});
        } else {
            ++it->count;
        }
    } else if (it != keys_.end() && --it->count == 0) {
        keys_.erase(it);
    }
}

void HeldInput::Mouse(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
    std::lock_guard<std::mutex> guard(lock_);
    if (sealed_)
        return;
    desktop_.SendMouseEvent(flags, dx, dy, data);
    // A combined event presses before it releases.
    buttons_ |= flags & (kMouseLeftDown | kMouseRightDown | kMouseMiddleDown);
    if (flags & kMouseLeftUp)
        buttons_ &= ~kMouseLeftDown;
    if (flags & kMouseRightUp)
        buttons_ &= ~kMouseRightDown;
    if (flags & kMouseMiddleUp)
        buttons_ &= ~kMouseMiddleDown;
    if ((flags & kMouseXDown) &&
        std::find(xButtons_.begin(), xButtons_.end(), data) == xButtons_.end()) {
        xButtons_.push_back(data);
    }
    if (flags & kMouseXUp)
        std::erase(xButtons_, data);
}

void HeldInput::OverrideMouseParams(const MouseParams& saved, const MouseParams& temporary) {
    std::lock_guard<std::mutex> guard(lock_);
    if (sealed_)
        return;
    if (!savedParams_)
        savedParams_ = saved;
    desktop_.SetMouseParams(temporary);
}

void HeldInput::RestoreMouseParams() {
    std::lock_guard<std::mutex> guard(lock_);
    if (sealed_ || !savedParams_)
        return;
    desktop_.SetMouseParams(*savedParams_);
    savedParams_.reset();
}

void HeldInput::ReleaseAll() {
    std::lock_guard<std::mutex> guard(lock_);
    if (sealed_)
        return;
    sealed_ = true;
    for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) {
        if (it->legacy) {
            desktop_.SendLegacyKeyEvent(it->vk, kKeyUp);
        } else {
            desktop_.SendKeyEvent(it->vk, kKeyUp);
        }
    }
    keys_.clear();
    if (buttons_ & kMouseLeftDown)
        desktop_.SendMouseEvent(kMouseLeftUp, 0, 0, 0);
    if (buttons_ & kMouseRightDown)
        desktop_.SendMouseEvent(kMouseRightUp, 0, 0, 0);
    if (buttons_ & kMouseMiddleDown)
        desktop_.SendMouseEvent(kMouseMiddleUp, 0, 0, 0);
    buttons_ = 0;
    for (std::int32_t data : xButtons_)
        desktop_.SendMouseEvent(kMouseXUp, 0, 0, data);
    xButtons_.clear();
    if (savedParams_) {
        desktop_.SetMouseParams(*savedParams_);
        savedParams_.reset();
    }
}

bool HeldInput::AnythingHeld() {
    std::lock_guard<std::mutex> guard(lock_);
    return !keys_.empty() || buttons_ != 0 || !xButtons_.empty();
}

void MoveMouseStepwise(HeldInput& input, std::int32_t dx, std::int32_t dy) {
    dx = std::clamp(dx, -kMaxStepwiseDistance, kMaxStepwiseDistance);
    dy = std::clamp(dy, -kMaxStepwiseDistance, kMaxStepwiseDistance);
    while (dx != 0 || dy != 0) {
        const std::int32_t sx = dx > 0 ? 1 : dx < 0 ? -1 : 0;
        const std::int32_t sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
        dx -= sx;
        dy -= sy;
        input.Mouse(kMouseMove, sx, sy, 0);
    }
}

WindowHandle FindWindowByCaption(IEngineDesktop& desktop, std::string_view caption, bool partial) {
    for (const TopLevelWindow& window : desktop.TopLevelWindows()) {
        const bool match = partial ? FindMb(window.caption, caption) != std::string_view::npos
                                   : window.caption == caption;
        if (match)
            return window.handle;
    }
    return 0;
}

CClipboardTextSaver::CClipboardTextSaver(IEngineDesktop& desktop, int retryCount)
    : desktop_(desktop) {
    ClipboardDiagnostics.clear();
    RetryCount = retryCount;
    if (desktop_.OpenClipboard()) {
        saved_ = desktop_.SaveClipboardFormats();
        read_ = true;
        desktop_.CloseClipboard();
    }
}

CClipboardTextSaver::~CClipboardTextSaver() {
    if (!saved_.empty() && OpenWithRetries()) {
        desktop_.RestoreClipboardFormats(saved_);
        desktop_.CloseClipboard();
    }
    ClipboardDiagnostics.clear();
}

bool CClipboardTextSaver::OpenWithRetries() {
    for (int attempt = 0; attempt < RetryCount; ++attempt) {
        if (desktop_.OpenClipboard())
            return true;
        ClipboardDiagnostics += "\n\t\t";
        ClipboardDiagnostics += desktop_.LastErrorText();
        desktop_.Sleep(100);
    }
    return false;
}

bool CClipboardTextSaver::PlaceText(std::string_view text) {
    if (text.empty())
        return true;
    if (!OpenWithRetries())
        return false;
    if (!read_) {
        saved_ = desktop_.SaveClipboardFormats();
        read_ = true;
    }
    const bool placed = desktop_.SetClipboardText(std::string(text));
    desktop_.CloseClipboard();
    return placed;
}

}  // namespace zv
