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

namespace {

// Formats whose data is a GDI object, a handle the owner draws with, or a private handle
// of unknown kind: nothing that can be copied as a memory block.
bool IsHandleFormat(std::uint32_t format) {
    switch (format) {
        case kCfBitmap:
        case kCfMetafilePict:
        case kCfPalette:
        case kCfEnhMetafile:
        case kCfOwnerDisplay:
        case kCfDspBitmap:
        case kCfDspMetafilePict:
        case kCfDspEnhMetafile:
            return true;
        default:
            return (format >= kCfPrivateFirst && format <= kCfPrivateLast) ||
                   (format >= kCfGdiObjFirst && format <= kCfGdiObjLast);
    }
}

bool IsTextFormat(std::uint32_t format) {
    return format == kCfText || format == kCfOemText || format == kCfUnicodeText;
}

bool IsDibFormat(std::uint32_t format) {
    return format == kCfDib || format == kCfDibV5;
}

}  // namespace

std::vector<std::size_t> ClipboardFormatsToSave(const std::vector<std::uint32_t>& listed) {
    std::optional<std::size_t> text, locale, dib;
    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::uint32_t f = listed[i];
        if (IsTextFormat(f)) {
            if (!text || (f == kCfUnicodeText && listed[*text] != kCfUnicodeText))
                text = i;
        } else if (f == kCfLocale) {
            if (!locale)
                locale = i;
        } else if (IsDibFormat(f)) {
            if (!dib) {
                dib = i;
                rest.push_back(i);
            }
        } else if (!IsHandleFormat(f)) {
            rest.push_back(i);
        }
    }
    std::vector<std::size_t> order;
    if (text)
        order.push_back(*text);
    if (locale)
        order.push_back(*locale);
    order.insert(order.end(), rest.begin(), rest.end());
    return order;
}

CClipboardTextSaver::CClipboardTextSaver(IEngineDesktop& desktop, int retryCount,
                                         ClipboardSaveLimits limits)
    : desktop_(desktop), limits_(limits) {
    ClipboardDiagnostics.clear();
    RetryCount = retryCount;
    if (desktop_.OpenClipboard()) {
        Save();
        desktop_.CloseClipboard();
    }
}

CClipboardTextSaver::~CClipboardTextSaver() {
    if (changed_ && !saved_.empty() && OpenWithRetries()) {
        desktop_.RestoreClipboardFormats(saved_);
        desktop_.CloseClipboard();
    }
    ClipboardDiagnostics.clear();
}

void CClipboardTextSaver::Save() {
    read_ = true;
    const std::vector<std::uint32_t> listed = desktop_.ClipboardFormats();
    const std::uint64_t start = desktop_.TickMs();
    std::size_t budget = limits_.maxBytes;
    std::vector<std::pair<std::size_t, ClipboardFormatData>> kept;
    for (std::size_t index : ClipboardFormatsToSave(listed)) {
        // A format that takes its owner long to render holds up the paste; once the time
        // is spent, the rest is not asked for.
        if (desktop_.TickMs() - start > limits_.maxMs) {
            ++dropped_;
            continue;
        }
        ClipboardRead read = desktop_.ReadClipboardFormat(listed[index], budget);
        if (read.status == ClipboardRead::Status::TooLarge) {
            ++dropped_;
        } else if (read.status == ClipboardRead::Status::Read) {
            budget -= std::min(budget, read.bytes.size());
            kept.push_back({index, {listed[index], std::move(read.bytes)}});
        }
    }
    // Put back in the order they were listed: programs take the first format they know.
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    saved_.clear();
    for (auto& k : kept)
        saved_.push_back(std::move(k.second));
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
    if (!read_)
        Save();
    changed_ = true;  // emptied even when the text cannot be set
    const bool placed = desktop_.SetClipboardText(std::string(text));
    desktop_.CloseClipboard();
    return placed;
}

}  // namespace zv
