#include "editor/editor_settings.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/dpi.h"
#include "common/folders.h"
#include "common/strutil.h"
#include "launcher/launcher_settings.h"

namespace zv {
namespace {

// The upper-case form of one character of a path, as a 16-bit code (lead byte high).
unsigned FoldChar(std::string_view s, std::size_t pos, std::size_t len) {
    const unsigned char lead = static_cast<unsigned char>(s[pos]);
    if (len == 1)
        return (lead >= 'a' && lead <= 'z') ? lead - ('a' - 'A') : lead;
    const unsigned trail = static_cast<unsigned char>(s[pos + 1]);
    if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A)  // ａ-ｚ
        return 0x8200u | (trail - 0x21);
    if (lead == 0x83 && trail >= 0xBF && trail <= 0xD6)  // α-ω
        return 0x8300u | (trail - 0x20);
    if (lead == 0x84 && trail >= 0x70 && trail <= 0x7E)  // а-н
        return 0x8400u | (trail - 0x30);
    if (lead == 0x84 && trail >= 0x80 && trail <= 0x91)  // о-я (0x7F is no character)
        return 0x8400u | (trail - 0x31);
    return (static_cast<unsigned>(lead) << 8) | trail;
}

}  // namespace

std::int32_t ReadDefaultWindowHeight(IProfile& profile) {
    return profile.GetInt(kEditorSection, kKeyDefaultWindowHeight, kNoStoredHeight);
}

bool StoreWindowHeightOnClose(IProfile& profile, bool normalState, std::int32_t outerHeight,
                              int dpi) {
    const std::int32_t height = UnscaleForDpi(outerHeight, dpi);
    if (!normalState || height == ReadDefaultWindowHeight(profile))
        return false;
    return profile.WriteInt(kEditorSection, kKeyDefaultWindowHeight, height);
}

std::string ReadMacroTopPath(IProfile& profile) {
    return profile.GetString(kLauncherSection, kKeyMacroTopPath, "");
}

Size MinimumTrackSize(Size form, const FrameMetrics& m) {
    return {form.cx + 2 * m.cxFrame + 4,
            form.cy + 3 * m.cyFrame + m.cyMenu + m.cyCaption + m.toolBarHeight + m.statusBarHeight};
}

std::optional<Size> RestoredWindowSize(Size minimumTrack, std::int32_t storedHeight, int dpi) {
    if (storedHeight == kNoStoredHeight)
        return std::nullopt;
    return Size{minimumTrack.cx, std::max(ScaleForDpi(storedHeight, dpi), minimumTrack.cy)};
}

Size SizeAfterDpiChange(Size suggested, Size minimumTrack) {
    return {minimumTrack.cx, std::max(suggested.cy, minimumTrack.cy)};
}

void LimitTrackSize(TrackLimits& limits, Size minimumTrack) {
    if (minimumTrack.cx != -1) {
        limits.minTrackSize.cx = minimumTrack.cx;
        limits.maxTrackSize.cx = minimumTrack.cx;
        limits.maxSize.cx = minimumTrack.cx;
    }
    if (minimumTrack.cy != -1)
        limits.minTrackSize.cy = minimumTrack.cy;
}

bool SamePath(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t la = CharLength(a, i);
        const std::size_t lb = CharLength(b, j);
        if (FoldChar(a, i, la) != FoldChar(b, j, lb))
            return false;
        i += la;
        j += lb;
    }
    return i == a.size() && j == b.size();
}

void RecentFileList::Load(IProfile& profile) {
    entries_.clear();
    for (std::size_t i = 1; i <= kCapacity; ++i) {
        std::string path = profile.GetString(kSection, "File" + std::to_string(i), "");
        const bool repeated = std::any_of(entries_.begin(), entries_.end(),
                                          [&](const std::string& e) { return SamePath(e, path); });
        if (!path.empty() && !repeated)
            entries_.push_back(std::move(path));
    }
}

bool RecentFileList::Save(IProfile& profile) const {
    bool ok = true;
    for (std::size_t i = 0; i < kCapacity; ++i) {
        const std::string_view path = i < entries_.size() ? entries_[i] : std::string_view();
        ok = profile.WriteString(kSection, "File" + std::to_string(i + 1), path) && ok;
    }
    return ok;
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    auto same = std::find_if(entries_.begin(), entries_.end(),
                             [&](const std::string& e) { return SamePath(e, path); });
    if (same != entries_.end())
        entries_.erase(same);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity)
        entries_.resize(kCapacity);
}

std::string RecentFileList::EntryPath(std::size_t index) const {
    return index < entries_.size() ? entries_[index] : std::string();
}

std::string RecentFileList::MenuText(std::size_t index) const {
    if (index >= entries_.size())
        return {};
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    text += ReplaceAll(entries_[index], "&", "&&");
    return text;
}

}  // namespace zv
