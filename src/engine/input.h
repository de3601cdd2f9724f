// Input and window helpers shared by the six commands: held-input bookkeeping, the
// stepwise pointer move, the caption search, the separator trim and the clipboard saver.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/desktop.h"

namespace zv {

// Every key and button event of a run goes through here, so that what the engine holds
// down can be let go from another thread: when the program ends in the middle of a KEYIN
// or a drag, ReleaseAll sends the matching key-ups and button-ups and puts back pointer
// settings that a MOUSE line changed for its move. Thread-safe.
class HeldInput {
public:
    explicit HeldInput(IEngineDesktop& desktop) : desktop_(desktop) {}
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

    // SendKeyEvent with flags kKeyDown / kKeyUp.
    void KeyDown(std::uint32_t vk) { Key(vk, kKeyDown, false); }
    void KeyUp(std::uint32_t vk) { Key(vk, kKeyUp, false); }
    // SendLegacyKeyEvent (keybd_event directly), as TYPE's paste keys.
    void LegacyKeyDown(std::uint32_t vk) { Key(vk, kKeyDown, true); }
    void LegacyKeyUp(std::uint32_t vk) { Key(vk, kKeyUp, true); }
    // SendMouseEvent; button-down and button-up flags are tracked.
    void Mouse(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data);

    // Sets temporary pointer settings, remembering the user's until RestoreMouseParams.
    void OverrideMouseParams(const MouseParams& saved, const MouseParams& temporary);
    void RestoreMouseParams();

    // Releases every key and button still down (keys in reverse order of pressing) and
    // restores overridden pointer settings. Afterwards nothing more is sent: the caller
    // is ending the program while the worker may still be inside a command.
    void ReleaseAll();

    // True while a key or button sent through here is down.
    bool AnythingHeld();

private:
    struct HeldKey {
        std::uint32_t vk;
        bool legacy;
        int count;  // downs not yet matched by an up
    };
    void Key(std::uint32_t vk, std::uint32_t flags, bool legacy);

    IEngineDesktop& desktop_;
    std::mutex lock_;
    std::vector<HeldKey> keys_;           // in order of pressing
    std::uint32_t buttons_ = 0;           // kMouseLeftDown / RightDown / MiddleDown bits
    std::vector<std::int32_t> xButtons_;  // data of extended buttons held
    std::optional<MouseParams> savedParams_;
    bool sealed_ = false;
};

// The largest distance, per axis, that MoveMouseStepwise walks: larger than any screen,
// so a far target still ends at the screen's edge without billions of steps.
inline constexpr std::int32_t kMaxStepwiseDistance = 65536;

// Relative move in single-pixel steps, diagonal first, without pauses: (5, 2) sends
// (1,1), (1,1), (1,0), (1,0), (1,0).
void MoveMouseStepwise(HeldInput& input, std::int32_t dx, std::int32_t dy);

// The first top-level window in Z order whose title equals the caption (exact) or
// contains it (partial); case-sensitive, double-byte aware. 0 when none matches.
WindowHandle FindWindowByCaption(IEngineDesktop& desktop, std::string_view caption, bool partial);

// How much one paste saves of what another program left on the clipboard. A program
// may hold many formats of one copied thing, some of them huge or rendered only when
// asked for; what the bounds leave out is lost by the paste and said so in the log.
struct ClipboardSaveLimits {
    std::size_t maxBytes = std::size_t{32} << 20;  // all saved formats together
    // The whole save, whatever the owners do: no format is asked for after this time, and a
    // read still waiting for its owner then is given up.
    std::uint64_t maxMs = 1000;
};

// Time the reading thread gets beyond the save's budget to list the formats and close the
// clipboard, before the paste goes on without it.
inline constexpr std::uint32_t kClipboardSaveGraceMs = 50;

// Of the formats a clipboard lists (in the system's order), the positions worth saving,
// in the order to read them: one text format (Unicode when listed, else the first of
// the other two; the system makes the rest from it), the text's locale, then every other
// format in list order. Of the forms that the system makes from one another, the one
// listed first is kept (a device-independent bitmap, a metafile); the bitmap handle
// (made again from the DIB), owner-drawn display formats and private handles are left
// out: nothing can copy them.
std::vector<std::size_t> ClipboardFormatsToSave(const std::vector<std::uint32_t>& listed);

// How many of the formats listed before a paste are missing once the formats `back` are
// on the clipboard again: the system makes the text forms and the locale from one text,
// the bitmap forms from one another, and either metafile form from the other.
int FormatsNotBack(const std::vector<std::uint32_t>& listed,
                   const std::vector<std::uint32_t>& back);

// The registered formats put beside the typed text so that clipboard monitors, the
// clipboard history and the cloud clipboard leave it alone, as password managers do: the
// first with any data, the other two with the value 0 (a DWORD).
inline constexpr const char* kClipboardExclusionFormats[] = {
    "ExcludeClipboardContentFromMonitorProcessing",
    "CanIncludeInClipboardHistory",
    "CanUploadToCloudClipboard",
};

// Saves what is on the clipboard for the duration of one paste and puts it back. Every
// format that the desktop can copy is kept within the limits, not only text; a clipboard
// that was empty is left empty again. The text is offered for rendering on request, so
// that the restore can wait until the target has taken it.
class CClipboardTextSaver {
public:
    // Failed clipboard opens of the current paste, each "\n\t\t" + the system's text.
    // Emptied by construction and destruction. Used by the worker thread only.
    inline static std::string ClipboardDiagnostics;
    // Attempts to open the clipboard when placing or restoring (set by construction).
    inline static int RetryCount = 0;

    // Saves the clipboard when it can be opened at once (one attempt), reading it on a
    // helper thread within limits.maxMs.
    CClipboardTextSaver(IEngineDesktop& desktop, int retryCount, ClipboardSaveLimits limits = {});
    // Restores, unless Restore was called.
    virtual ~CClipboardTextSaver();
    CClipboardTextSaver(const CClipboardTextSaver&) = delete;
    CClipboardTextSaver& operator=(const CClipboardTextSaver&) = delete;

    // Places text as the clipboard's content, marked as excluded from monitors, history and
    // cloud upload: up to RetryCount attempts to open it, 100 ms apart (also after the
    // last). An empty text is success without opening. When the clipboard could not be
    // read at construction, or changed since, it is saved first.
    bool PlaceText(std::string_view text);

    // After the paste keys: waits up to timeoutMs until the target's process (or a program
    // that asked without a window) has asked for the placed text. False when none did.
    bool WaitTextTaken(ProcessId target, std::uint32_t timeoutMs);

    // Puts back what was saved, once the clipboard was changed (an empty clipboard when
    // nothing was saved), with up to RetryCount attempts. False when the clipboard stayed
    // busy: the placed text is still on it.
    bool Restore();

    // True when something was saved to put back.
    bool HasSaved() const { return !saved_.empty(); }
    // Formats that the user's clipboard held and that do not come back, once the paste has
    // replaced its content (0 before): every format when the restore failed.
    int LostFormats() const;
    bool RestoreFailed() const { return restoreFailed_; }
    // The failed opens of the restore, each "\n\t\t" + the system's text.
    const std::string& RestoreDiagnostics() const { return restoreDiagnostics_; }

private:
    bool Save();
    bool OpenWithRetries(std::string& diagnostics);
    void NoteBusy(std::string& diagnostics, const std::string& errorText);

    IEngineDesktop& desktop_;
    ClipboardSaveLimits limits_;
    std::optional<std::uint64_t> saveUntil_;  // the end of the save's time, from its start
    bool read_ = false;     // the clipboard's content has been saved (possibly as empty)
    bool changed_ = false;  // PlaceText replaced the clipboard's content
    bool restored_ = false;
    bool restoreFailed_ = false;
    std::optional<std::uint32_t> sequence_;  // the clipboard's sequence when it was saved
    std::string saveError_;                  // the system's text of a save that could not open
    std::string restoreDiagnostics_;
    std::vector<std::uint32_t> listed_;  // what the user's clipboard held
    std::vector<ClipboardFormatData> saved_;
    std::vector<std::uint32_t> back_;  // what the restore put back
};

}  // namespace zv
