#include "engine/input.h"

#include <algorithm>
#include <cstdint>
#include <memory>

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

// False for the formats whose data nothing can copy: the bitmap handle (its DIB forms are
// copied instead), owner-drawn display formats, private handles of unknown kind.
bool IsCopyable(std::uint32_t format) {
    switch (format) {
        case kCfBitmap:
        case kCfOwnerDisplay:
        case kCfDspBitmap:
        case kCfDspMetafilePict:
        case kCfDspEnhMetafile:
            return false;
        default:
            return !(format >= kCfPrivateFirst && format <= kCfPrivateLast) &&
                   !(format >= kCfGdiObjFirst && format <= kCfGdiObjLast);
    }
}

bool IsTextFormat(std::uint32_t format) {
    return format == kCfText || format == kCfOemText || format == kCfUnicodeText;
}

bool IsDibFormat(std::uint32_t format) {
    return format == kCfDib || format == kCfDibV5;
}

bool IsMetafileFormat(std::uint32_t format) {
    return format == kCfMetafilePict || format == kCfEnhMetafile;
}

// What a save shares with the thread that reads the clipboard for it. The reader may
// outlive the save (an owner that never answers), so both hold it.
struct ClipboardSnapshot {
    std::mutex lock;
    bool givenUp = false;   // the paste went on without the reader
    bool opened = false;    // the reader opened the clipboard and listed it
    bool finished = false;  // ... and closed it again
    std::string openError;  // the system's text when it could not open it
    std::vector<std::uint32_t> listed;
    std::vector<std::pair<std::size_t, ClipboardFormatData>> kept;  // position listed, data
    std::uint32_t sequence = 0;
};

// The reading thread's part of a save: opens the clipboard, lists it, reads what is worth
// saving until the time is spent or the save gave it up, and closes it.
void ReadClipboard(IEngineDesktop& desktop, ClipboardSnapshot& snapshot, std::size_t maxBytes,
                   std::uint64_t readUntil) {
    if (!desktop.OpenClipboard()) {
        std::string error = desktop.LastErrorText();
        std::lock_guard<std::mutex> guard(snapshot.lock);
        snapshot.openError = std::move(error);
        return;
    }
    const std::vector<std::uint32_t> listed = desktop.ClipboardFormats();
    {
        std::lock_guard<std::mutex> guard(snapshot.lock);
        snapshot.listed = listed;
        snapshot.opened = true;
    }
    std::size_t budget = maxBytes;
    for (std::size_t index : ClipboardFormatsToSave(listed)) {
        // A format that takes its owner long to render holds up the paste; once the time
        // is spent, the rest is not asked for.
        if (desktop.TickMs() > readUntil)
            break;
        ClipboardRead read = desktop.ReadClipboardFormat(listed[index], budget);
        std::lock_guard<std::mutex> guard(snapshot.lock);
        if (snapshot.givenUp)
            break;
        if (read.status == ClipboardRead::Status::Read) {
            budget -= std::min(budget, read.bytes.size());
            snapshot.kept.push_back({index, {listed[index], std::move(read.bytes)}});
        }
    }
    const std::uint32_t sequence = desktop.ClipboardSequence();
    desktop.CloseClipboard();
    std::lock_guard<std::mutex> guard(snapshot.lock);
    snapshot.sequence = sequence;
    snapshot.finished = true;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

}  // namespace

std::vector<std::size_t> ClipboardFormatsToSave(const std::vector<std::uint32_t>& listed) {
    std::optional<std::size_t> text, locale, dib, metafile;
    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::uint32_t f = listed[i];
        if (IsTextFormat(f)) {
            if (!text || (f == kCfUnicodeText && listed[*text] != kCfUnicodeText))
                text = i;
        } else if (f == kCfLocale) {
            if (!locale)
                locale = i;
        } else if (IsDibFormat(f) || IsMetafileFormat(f)) {
            std::optional<std::size_t>& first = IsDibFormat(f) ? dib : metafile;
            if (!first) {
                first = i;
                rest.push_back(i);
            }
        } else if (IsCopyable(f)) {
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

int FormatsNotBack(const std::vector<std::uint32_t>& listed,
                   const std::vector<std::uint32_t>& back) {
    const auto any = [&](bool (*kind)(std::uint32_t)) {
        return std::any_of(back.begin(), back.end(), kind);
    };
    const bool text = any(IsTextFormat);
    const bool bitmap = any([](std::uint32_t f) { return IsDibFormat(f) || f == kCfBitmap; });
    const bool metafile = any(IsMetafileFormat);
    int missing = 0;
    for (std::uint32_t f : listed) {
        bool made = false;
        if (IsTextFormat(f) || f == kCfLocale) {
            made = text;
        } else if (IsDibFormat(f) || f == kCfBitmap) {
            made = bitmap;
        } else if (IsMetafileFormat(f)) {
            made = metafile;
        }
        if (!made && std::find(back.begin(), back.end(), f) == back.end())
            ++missing;
    }
    return missing;
}

CClipboardTextSaver::CClipboardTextSaver(IEngineDesktop& desktop, int retryCount,
                                         ClipboardSaveLimits limits)
    : desktop_(desktop), limits_(limits) {
    ClipboardDiagnostics.clear();
    RetryCount = retryCount;
    Save();
}

CClipboardTextSaver::~CClipboardTextSaver() {
    if (!restored_)
        Restore();
    ClipboardDiagnostics.clear();
}

bool CClipboardTextSaver::Save() {
    // One time budget for the whole paste, however often the save is tried.
    const std::uint64_t now = desktop_.TickMs();
    if (!saveUntil_)
        saveUntil_ = SaturatingAdd(now, limits_.maxMs);
    const std::uint64_t readUntil = *saveUntil_;
    const std::uint64_t wait = std::min<std::uint64_t>(
        SaturatingAdd(readUntil > now ? readUntil - now : 0, kClipboardSaveGraceMs), UINT32_MAX);
    auto snapshot = std::make_shared<ClipboardSnapshot>();
    const std::size_t maxBytes = limits_.maxBytes;
    const bool ended = desktop_.RunBounded(
        [snapshot, maxBytes, readUntil](IEngineDesktop& reader) {
            ReadClipboard(reader, *snapshot, maxBytes, readUntil);
        },
        static_cast<std::uint32_t>(wait));

    std::lock_guard<std::mutex> guard(snapshot->lock);
    snapshot->givenUp = !ended;
    if (!snapshot->opened) {
        saveError_ = snapshot->openError;
        return false;
    }
    // Put back in the order they were listed: programs take the first format they know.
    std::sort(snapshot->kept.begin(), snapshot->kept.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    saved_.clear();
    for (auto& k : snapshot->kept)
        saved_.push_back(std::move(k.second));
    listed_ = snapshot->listed;
    sequence_.reset();
    if (snapshot->finished)
        sequence_ = snapshot->sequence;
    read_ = true;
    return true;
}

void CClipboardTextSaver::NoteBusy(std::string& diagnostics, const std::string& errorText) {
    diagnostics += "\n\t\t";
    diagnostics += errorText;
    desktop_.Sleep(100);
}

bool CClipboardTextSaver::OpenWithRetries(std::string& diagnostics) {
    for (int attempt = 0; attempt < RetryCount; ++attempt) {
        if (desktop_.OpenClipboard())
            return true;
        NoteBusy(diagnostics, desktop_.LastErrorText());
    }
    return false;
}

bool CClipboardTextSaver::PlaceText(std::string_view text) {
    if (text.empty())
        return true;
    std::vector<ClipboardFormatData> marks;
    for (const char* name : kClipboardExclusionFormats) {
        if (const std::uint32_t id = desktop_.NamedClipboardFormat(name); id != 0)
            marks.push_back({id, std::string(4, '\0')});
    }
    for (int attempt = 0; attempt < RetryCount; ++attempt) {
        if (!read_ && !Save()) {
            NoteBusy(ClipboardDiagnostics, saveError_);
            continue;
        }
        if (!desktop_.OpenClipboard()) {
            NoteBusy(ClipboardDiagnostics, desktop_.LastErrorText());
            continue;
        }
        if (!changed_ && sequence_ && desktop_.ClipboardSequence() != *sequence_) {
            // Another program changed it since it was saved: save what it holds now.
            desktop_.CloseClipboard();
            read_ = false;
            continue;
        }
        changed_ = true;  // emptied even when the text cannot be set
        const bool placed = desktop_.OfferClipboardText(std::string(text), marks);
        desktop_.CloseClipboard();
        return placed;
    }
    return false;
}

bool CClipboardTextSaver::WaitTextTaken(ProcessId target, std::uint32_t timeoutMs) {
    if (!changed_)
        return false;
    const std::uint64_t start = desktop_.TickMs();
    for (;;) {
        const std::uint64_t spent = desktop_.TickMs() - start;
        const std::uint32_t left =
            spent >= timeoutMs ? 0 : timeoutMs - static_cast<std::uint32_t>(spent);
        // A request from another process (a clipboard viewer) does not say that the target
        // has pasted; one without a window is taken as the target's.
        const std::optional<ProcessId> asked = desktop_.WaitClipboardTextRequest(left);
        if (!asked)
            return false;
        if (*asked == 0 || target == 0 || *asked == target)
            return true;
    }
}

bool CClipboardTextSaver::Restore() {
    if (restored_ || !changed_)
        return !restoreFailed_;
    restored_ = true;
    if (!OpenWithRetries(restoreDiagnostics_)) {
        restoreFailed_ = true;
        return false;
    }
    back_ = desktop_.RestoreClipboardFormats(saved_);
    desktop_.CloseClipboard();
    return true;
}

int CClipboardTextSaver::LostFormats() const {
    if (!changed_)
        return 0;
    if (restoreFailed_)
        return static_cast<int>(listed_.size());
    if (restored_)
        return FormatsNotBack(listed_, back_);
    std::vector<std::uint32_t> saved;
    for (const ClipboardFormatData& f : saved_)
        saved.push_back(f.format);
    return FormatsNotBack(listed_, saved);
}

}  // namespace zv
