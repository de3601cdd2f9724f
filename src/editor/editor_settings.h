// The editor's settings in the configuration file: the remembered window height of the
// section "RkManagerSettings", the recent-file list of the section "Recent File List",
// and the main window's size limits computed from the form and the system metrics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/profile.h"

namespace zv {

inline constexpr std::string_view kKeyDefaultWindowHeight = "DefaultWindowHeight";
inline constexpr std::int32_t kNoStoredHeight = -1;

// The outer height of the main window when it was last closed in the normal state, or
// -1 when none is stored. The height is kept in 96-DPI units, so that it means the same
// on every monitor; a value written before (at 96 DPI, pixels) reads as it is.
std::int32_t ReadDefaultWindowHeight(IProfile& profile);

// On a close request, before the save question: the height (pixels at the window's dpi)
// is written in 96-DPI units, only when the window is in the normal state (not
// minimised, not maximised) and it differs from the stored one. True when it was written.
bool StoreWindowHeightOnClose(IProfile& profile, bool normalState, std::int32_t outerHeight,
                              int dpi);

// The macro folder of the launcher's settings ("RkMacroTopPath" of "ZorvaneSettings"):
// where the open dialog starts and Save As proposes a new file; empty when not set.
std::string ReadMacroTopPath(IProfile& profile);

struct Size {
    int cx = -1;
    int cy = -1;

    bool operator==(const Size&) const = default;
};

// The system metrics the frame's size depends on (SM_CXFRAME, SM_CYFRAME, SM_CYMENU,
// SM_CYCAPTION) and the heights of its bars.
struct FrameMetrics {
    int cxFrame = 0;
    int cyFrame = 0;
    int cyMenu = 0;
    int cyCaption = 0;
    int toolBarHeight = 0;
    int statusBarHeight = 0;
};

// The smallest outer size that shows the whole form (its design size in pixels):
// width = form + 2 sizing borders + 4; height = form + 3 sizing borders + menu bar +
// caption + tool bar + status bar.
Size MinimumTrackSize(Size form, const FrameMetrics& metrics);

// The size the main window takes at start-up: the minimum track width and the larger of
// the stored height (96-DPI units, shown at dpi) and the minimum track height; nothing
// when no height is stored.
std::optional<Size> RestoredWindowSize(Size minimumTrack, std::int32_t storedHeight, int dpi);

// The size the main window takes when its DPI changed: the width is the minimum track
// width (the form's at the new DPI); the height is the suggested one, at least the
// minimum track height.
Size SizeAfterDpiChange(Size suggested, Size minimumTrack);

// The parts of the minimum/maximum query (MINMAXINFO) the frame sets.
struct TrackLimits {
    Size maxSize;  // the maximised size
    Size minTrackSize;
    Size maxTrackSize;
};

// A known minimum track width (not -1) fixes the width: minimum, maximum track and
// maximised width all take it. A known minimum track height becomes the minimum height.
void LimitTrackSize(TrackLimits& limits, Size minimumTrack);

// The recent-file list: 8 entries, most recent first, kept in "Recent File List" as
// "File1" to "File8".
class RecentFileList {
public:
    static constexpr std::size_t kCapacity = 8;
    static constexpr std::string_view kSection = "Recent File List";

    const std::vector<std::string>& Entries() const { return entries_; }

    // Reads the keys in order; empty and repeated entries are skipped.
    void Load(IProfile& profile);
    // Writes all 8 keys, the unused ones empty. False when the file could not be written.
    bool Save(IProfile& profile) const;
    // A file opened or saved goes to the front; an entry naming the same file (letter
    // case aside, as Windows compares paths) moves there instead of repeating.
    void Add(const std::string& path);
    // The file of menu entry index (0-based); empty when there is none.
    std::string EntryPath(std::size_t index) const;
    // The menu text of entry index: "&<n> " and the path, its "&" doubled.
    std::string MenuText(std::size_t index) const;

private:
    std::vector<std::string> entries_;
};

// Two Windows paths name the same file when they are equal with letter case folded:
// ASCII letters and the double-byte Latin, Greek and Cyrillic letters of CP932.
bool SamePath(std::string_view a, std::string_view b);

}  // namespace zv
