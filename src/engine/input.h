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
    std::uint64_t maxMs = 1000;  // formats not asked for by then are not asked for at all
};

// Of the formats a clipboard lists (in the system's order), the positions worth saving,
// in the order to read them: one text format (Unicode when listed, else the first of
// the other two; the system makes the rest from it), the text's locale, then every other
// format in list order. A device-independent bitmap is kept in the form listed first;
// formats whose data is no memory block (GDI objects, owner-drawn, private handles) are
// left out.
std::vector<std::size_t> ClipboardFormatsToSave(const std::vector<std::uint32_t>& listed);

// Saves what is on the clipboard for the duration of one paste and puts it back when
// destroyed. Every format that the desktop can copy as memory is kept within the limits,
// not only text; when the clipboard was empty the pasted text stays on it.
class CClipboardTextSaver {
public:
    // Failed clipboard opens of the current paste, each "\n\t\t" + the system's text.
    // Emptied by construction and destruction. Used by the worker thread only.
    inline static std::string ClipboardDiagnostics;
    // Attempts to open the clipboard when placing or restoring (set by construction).
    inline static int RetryCount = 0;

    CClipboardTextSaver(IEngineDesktop& desktop, int retryCount, ClipboardSaveLimits limits = {});
    virtual ~CClipboardTextSaver();
    CClipboardTextSaver(const CClipboardTextSaver&) = delete;
    CClipboardTextSaver& operator=(const CClipboardTextSaver&) = delete;

    // Places text as the clipboard's only content: up to RetryCount attempts to open it,
    // 100 ms apart (also after the last). An empty text is success without opening.
    // When the clipboard could not be read at construction, it is saved here, under the
    // same open, before it is replaced.
    bool PlaceText(std::string_view text);

    // True when something was saved that destruction will put back.
    bool HasSaved() const { return !saved_.empty(); }
    // Formats the limits left out, once the paste has replaced the clipboard (0 before):
    // they do not come back.
    int LostFormats() const { return changed_ ? dropped_ : 0; }

private:
    bool OpenWithRetries();
    void Save();

    IEngineDesktop& desktop_;
    ClipboardSaveLimits limits_;
    bool read_ = false;     // the clipboard's content has been saved (possibly as empty)
    bool changed_ = false;  // PlaceText replaced the clipboard's content
    int dropped_ = 0;
    std::vector<ClipboardFormatData> saved_;
};

}  // namespace zv
