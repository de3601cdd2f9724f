// A fake desktop for the engine's unit tests: a virtual clock (Sleep advances it, nothing
// really waits), scripted windows, processes and clipboard, and an ordered record of
// every event the engine sends, as short strings ("key 11 down", "sleep 100", ...).
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/desktop.h"
#include "common/strutil.h"

namespace zv::test {

inline constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

class FakeDesktop : public IEngineDesktop {
public:
    struct Window {
        WindowHandle handle = 0;
        std::string caption;
        ProcessId pid = 0;
        std::uint64_t appearsAt = 0;  // virtual time at which it exists
        bool refuseActivation = false;
        Point clientOrigin{0, 0};  // screen position of its client area
    };
    struct Process {
        std::uint64_t idleAt = 0;  // kNever: stays busy
        std::uint64_t endsAt = kNever;
        std::uint32_t exitCode = 0;
        bool noMessageQueue = false;  // waits for idle fail at once
        bool exitCodeFails = false;
    };

    // ---- scripted state ----
    std::uint64_t now = 0;
    std::vector<Window> windows;  // Z order, topmost first
    std::map<ProcessId, Process> processes;
    WindowHandle foreground = 0;
    WindowHandle focus = 0;  // the focused control of the foreground thread
    Point cursor{0, 0};
    MouseParams mouseParams{6, 10, 1, 4};
    std::vector<ClipboardFormatData> clipboard;  // formats on the clipboard
    std::uint64_t clipboardBusyUntil = 0;        // kNever: always busy
    std::uint64_t clipboardBusyFrom = kNever;    // another program takes it for good then
    std::uint32_t clipboardSequence = 1;         // advanced by every change the engine makes
    // Formats their owner renders only when asked for, and how long it takes (kNever: the
    // owner never answers); formats whose owner renders nothing; formats the system
    // refuses to take back.
    std::map<std::uint32_t, std::uint64_t> renderMs;
    std::set<std::uint32_t> renderNothing;
    std::set<std::uint32_t> refusedOnRestore;
    bool setTextFails = false;
    std::string lastErrorText = "Access is denied.";
    std::optional<std::uint32_t> fltRegistry = 0;
    std::optional<std::uint32_t> fltSystem = 0;
    // Processes started by LAUNCH get this behaviour; failStart makes creation fail.
    Process startedProcess;
    bool failStart = false;
    bool record = true;  // false: count events only (fuzzing, benchmarks)
    // The next staleMoves moves are overtaken, during the following sleep, by the pointer
    // position from before them (as Wine's pointer feedback does).
    int staleMoves = 0;
    std::optional<Point> staleCursor;

    // The program that pastes when Ctrl+V reaches it: delayMs after the V key went down it
    // reads the clipboard's text (asking the engine for it, when offered).
    struct Paster {
        ProcessId pid = 0;
        std::uint64_t delayMs = 0;
    };
    std::optional<Paster> paster;

    // ---- what happened ----
    std::vector<std::string> events;
    std::size_t eventCount = 0;
    std::size_t inputs = 0;  // key and mouse events and started processes, recorded or not
    std::vector<std::string> started;  // command lines of started processes
    bool clipboardOpen = false;
    std::vector<std::string> pasted;                           // what the paster read, each time
    std::vector<std::vector<ClipboardFormatData>> pastedFrom;  // the clipboard it read it from

    void SetClipboardTextFormat(const std::string& text) {
        clipboard = {{kCfText, text + std::string(1, '\0')}};
    }
    // The clipboard's text as a reader gets it: CF_TEXT, or the text the system makes
    // from CF_UNICODETEXT (only ASCII is modelled).
    std::optional<std::string> ClipboardTextNow() const {
        for (const auto& f : clipboard) {
            if (f.format == kCfText)
                return f.bytes.substr(0, f.bytes.find('\0'));
        }
        for (const auto& f : clipboard) {
            if (f.format != kCfUnicodeText)
                continue;
            std::string text;
            for (std::size_t i = 0; i + 1 < f.bytes.size() && (f.bytes[i] || f.bytes[i + 1]);
                 i += 2) {
                text += f.bytes[i];
            }
            return text;
        }
        return std::nullopt;
    }
    // A text as a program puts it on the clipboard: UTF-16 (ASCII only here), then the
    // locale and the two narrow forms that the system lists after it.
    void SetClipboardUnicodeText(const std::string& ascii) {
        std::string wide;
        for (char c : ascii)
            wide += std::string{c, '\0'};
        clipboard = {{kCfUnicodeText, wide + std::string(2, '\0')},
                     {kCfLocale, std::string("\x11\x04\0\0", 4)},
                     {kCfText, ascii + std::string(1, '\0')},
                     {kCfOemText, ascii + std::string(1, '\0')}};
    }
    std::vector<std::string> EventsOf(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.compare(0, prefix.size(), prefix) == 0)
                out.push_back(e);
        }
        return out;
    }

    // ---- time ----
    void Sleep(std::uint32_t ms) override {
        Record(StrPrintf("sleep %u", ms));
        if (staleCursor) {
            cursor = *staleCursor;  // the older position overtakes the move
            staleCursor.reset();
        }
        Advance(ms);
    }
    std::uint64_t TickMs() override { return now; }

    // ---- input ----
    void SendKeyEvent(std::uint32_t vk, std::uint32_t flags) override {
        ++inputs;
        Record(StrPrintf("key %02X %s", vk, flags == kKeyUp ? "up" : "down"));
        Keyboard(vk, flags);
    }
    void SendLegacyKeyEvent(std::uint32_t vk, std::uint32_t flags) override {
        ++inputs;
        Record(StrPrintf("legacykey %02X %s", vk, flags == kKeyUp ? "up" : "down"));
        Keyboard(vk, flags);
    }
    void SendMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                        std::int32_t data) override {
        ++inputs;
        Record(StrPrintf("mouse %X %d %d %d", flags, dx, dy, data));
        if (flags & kMouseMove) {
            const Point before = cursor;
            cursor.x = Saturate(cursor.x + Accelerated(dx));
            cursor.y = Saturate(cursor.y + Accelerated(dy));
            if (staleMoves > 0) {
                --staleMoves;
                staleCursor = before;
            }
        }
    }
    Point GetCursorPos() override { return cursor; }
    std::optional<Point> ClientToScreen(WindowHandle window, Point client) override {
        const Window* w = Find(window);
        if (!w)
            return std::nullopt;
        return Point{Saturate(static_cast<std::int64_t>(client.x) + w->clientOrigin.x),
                     Saturate(static_cast<std::int64_t>(client.y) + w->clientOrigin.y)};
    }
    MouseParams GetMouseParams() override { return mouseParams; }
    void SetMouseParams(const MouseParams& p) override {
        Record(StrPrintf("mouseparams %d %d %d %d", p.threshold1, p.threshold2, p.acceleration,
                         p.speed));
        mouseParams = p;
    }

    // ---- windows ----
    WindowHandle GetForegroundWindow() override { return foreground; }
    WindowHandle GetForegroundFocusWindow() override { return foreground != 0 ? focus : 0; }
    bool ActivateWindow(WindowHandle window) override {
        const Window* w = Find(window);
        const bool ok = w != nullptr && !w->refuseActivation;
        Record(StrPrintf("activate %X %s", static_cast<unsigned>(window), ok ? "ok" : "refused"));
        if (ok)
            foreground = window;
        return ok;
    }
    std::vector<TopLevelWindow> TopLevelWindows() override {
        std::vector<TopLevelWindow> out;
        for (const Window& w : windows) {
            if (w.appearsAt <= now)
                out.push_back({w.handle, w.caption});
        }
        return out;
    }

    // ---- processes ----
    ProcessId ProcessIdOfWindow(WindowHandle window) override {
        const Window* w = Find(window);
        return w ? w->pid : 0;
    }
    bool WaitProcessIdle(ProcessId pid, std::uint32_t timeoutMs) override {
        Record(StrPrintf("idlewait %u %u", pid, timeoutMs));
        auto it = processes.find(pid);
        if (it == processes.end())
            return false;
        return WaitIdle(it->second, timeoutMs);
    }
    std::unique_ptr<IStartedProcess> StartProcess(const std::string& commandLine) override {
        ++inputs;
        Record("start " + commandLine);
        started.push_back(commandLine);
        if (failStart)
            return nullptr;
        return std::make_unique<Started>(*this, startedProcess);
    }

    // ---- clipboard ----
    bool OpenClipboard() override {
        const bool ok =
            now >= clipboardBusyUntil && clipboardBusyUntil != kNever && now < clipboardBusyFrom;
        Record(ok ? "clip open" : "clip busy");
        if (ok)
            clipboardOpen = true;
        return ok;
    }
    void CloseClipboard() override {
        Record("clip close");
        clipboardOpen = false;
    }
    std::string LastErrorText() override { return lastErrorText; }
    std::optional<std::string> GetClipboardText() override {
        if (!Expect(clipboardOpen))
            return std::nullopt;
        if (const std::optional<std::string> text = ClipboardTextNow(); text) {
            RenderNow(kCfText);
            return text;
        }
        return std::nullopt;
    }
    bool OfferClipboardText(const std::string& text,
                            const std::vector<ClipboardFormatData>& beside) override {
        if (!Expect(clipboardOpen))
            return false;
        Record("clip offer " + text);
        clipboard.clear();
        ++clipboardSequence;
        offered_ = false;
        textRequests_.clear();
        if (setTextFails)
            return false;
        SetClipboardTextFormat(text);
        clipboard.insert(clipboard.end(), beside.begin(), beside.end());
        offered_ = true;
        return true;
    }
    std::optional<ProcessId> WaitClipboardTextRequest(std::uint32_t timeoutMs) override {
        Record(StrPrintf("clip wait %u", timeoutMs));
        const std::uint64_t deadline = Later(timeoutMs);
        while (textRequests_.empty() && !pastesAt_.empty() && pastesAt_.front() <= deadline)
            Advance(pastesAt_.front() - now);
        if (textRequests_.empty()) {
            Advance(deadline - now);
            return std::nullopt;
        }
        const ProcessId asked = textRequests_.front();
        textRequests_.pop_front();
        return asked;
    }
    std::uint32_t NamedClipboardFormat(const std::string& name) override {
        auto [it, added] = registered_.try_emplace(name, 0xC100 + registered_.size());
        return it->second;
    }
    std::uint32_t ClipboardSequence() override {
        Expect(clipboardOpen);
        return clipboardSequence;
    }
    std::vector<std::uint32_t> ClipboardFormats() override {
        if (!Expect(clipboardOpen))
            return {};
        Record(StrPrintf("clip list %zu", clipboard.size()));
        std::vector<std::uint32_t> out;
        for (const auto& f : clipboard)
            out.push_back(f.format);
        return out;
    }
    ClipboardRead ReadClipboardFormat(std::uint32_t format, std::size_t maxBytes) override {
        if (!Expect(clipboardOpen))
            return {};
        Record(StrPrintf("clip read %X", format));
        ClipboardRead read;
        for (const auto& f : clipboard) {
            if (f.format != format)
                continue;
            RenderNow(format);
            if (renderNothing.count(format) != 0)
                break;
            read.size = f.bytes.size();
            if (read.size > maxBytes) {
                read.status = ClipboardRead::Status::TooLarge;
            } else {
                read.status = ClipboardRead::Status::Read;
                read.bytes = f.bytes;
            }
            break;
        }
        return read;
    }
    std::vector<std::uint32_t> RestoreClipboardFormats(
        const std::vector<ClipboardFormatData>& formats) override {
        if (!Expect(clipboardOpen))
            return {};
        Record(StrPrintf("clip restore %zu", formats.size()));
        clipboard.clear();
        offered_ = false;
        ++clipboardSequence;
        std::vector<std::uint32_t> back;
        for (const auto& f : formats) {
            if (refusedOnRestore.count(f.format) != 0)
                continue;
            clipboard.push_back(f);
            back.push_back(f.format);
        }
        return back;
    }

    // ---- helper threads ----
    // The job runs at once, on the virtual clock; a render that would end after the wait
    // leaves it behind at the end of the wait (see ReadClipboardFormat).
    bool RunBounded(std::function<void(IEngineDesktop&)> job, std::uint32_t timeoutMs) override {
        Record(StrPrintf("bounded %u", timeoutMs));
        boundedUntil_ = Later(timeoutMs);
        try {
            job(*this);
        } catch (const LeftBehind&) {
            boundedUntil_.reset();
            Record("bounded left behind");
            return false;
        }
        boundedUntil_.reset();
        return true;
    }

    // ---- system settings ----
    std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry() override {
        return fltRegistry;
    }
    std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem() override { return fltSystem; }

    // Violations of the clipboard protocol (reading or writing it while closed, which
    // fails as it does on Windows).
    int protocolErrors = 0;

private:
    class Started : public IStartedProcess {
    public:
        Started(FakeDesktop& d, Process p) : d_(d), p_(p), startedAt_(d.now) {
            p_.idleAt = Shift(p.idleAt);
            p_.endsAt = Shift(p.endsAt);
        }
        ~Started() override { d_.Record("close process"); }
        bool WaitInputIdle(std::uint32_t timeoutMs) override {
            d_.Record(StrPrintf("inputidle %u", timeoutMs));
            return d_.WaitIdle(p_, timeoutMs);
        }
        std::optional<std::uint32_t> ExitCode() override {
            d_.Record("exitcode");
            if (p_.exitCodeFails)
                return std::nullopt;
            return d_.now >= p_.endsAt ? p_.exitCode : kStillActive;
        }

    private:
        std::uint64_t Shift(std::uint64_t t) const { return t == kNever ? kNever : startedAt_ + t; }
        FakeDesktop& d_;
        Process p_;
        std::uint64_t startedAt_;
    };

    // A relative move as the system applies it: doubled beyond the first threshold, and
    // again beyond the second, while acceleration is on, then scaled by the speed (10 is
    // one to one). Only thresholds 0, no acceleration and speed 10 move it exactly.
    std::int64_t Accelerated(std::int32_t d) const {
        std::int64_t v = d;
        const std::int64_t size = v < 0 ? -v : v;
        if (mouseParams.acceleration >= 1 && size > mouseParams.threshold1)
            v *= 2;
        if (mouseParams.acceleration >= 2 && size > mouseParams.threshold2)
            v *= 2;
        return v * mouseParams.speed / 10;
    }
    static std::int32_t Saturate(std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
    std::uint64_t Later(std::uint64_t ms) const {
        return now > kNever - 1 - ms ? kNever - 1 : now + ms;
    }
    // Moves the clock on; the paster pastes when its time comes.
    void Advance(std::uint64_t ms) {
        const std::uint64_t to = Later(ms);
        while (!pastesAt_.empty() && pastesAt_.front() <= to) {
            now = pastesAt_.front();
            pastesAt_.pop_front();
            Paste();
        }
        now = to;
    }
    // A format rendered on demand is rendered now. On a helper thread whose wait ends first,
    // the read goes on alone, holding the clipboard open until the owner answers.
    void RenderNow(std::uint32_t format) {
        auto delay = renderMs.find(format);
        if (delay == renderMs.end())
            return;
        const std::uint64_t done = delay->second == kNever ? kNever : Later(delay->second);
        if (boundedUntil_ && done > *boundedUntil_) {
            clipboardBusyUntil = std::max(clipboardBusyUntil, done);
            clipboardOpen = false;
            Advance(*boundedUntil_ - now);
            throw LeftBehind{};
        }
        Advance(done - now);
    }
    void Keyboard(std::uint32_t vk, std::uint32_t flags) {
        if (vk == kVkControl)
            ctrlDown_ = flags != kKeyUp;
        if (vk == kVkV && flags != kKeyUp && ctrlDown_ && paster) {
            pastesAt_.push_back(Later(paster->delayMs));
            if (paster->delayMs == 0)
                Advance(0);
        }
    }
    void Paste() {
        const std::string text = ClipboardTextNow().value_or("");
        Record("paste " + text);
        if (offered_)
            TextAskedFor(paster->pid);
        pasted.push_back(text);
        pastedFrom.push_back(clipboard);
    }
    void TextAskedFor(ProcessId pid) {
        offered_ = false;  // rendered: later readers take the data without asking
        textRequests_.push_back(pid);
    }
    // WaitForInputIdle: returns at once when idle, else blocks until idle or time-out.
    bool WaitIdle(const Process& p, std::uint32_t timeoutMs) {
        if (p.noMessageQueue)
            return false;
        if (p.idleAt <= now)
            return true;
        if (p.idleAt != kNever && p.idleAt - now <= timeoutMs) {
            now = p.idleAt;
            return true;
        }
        Advance(timeoutMs);
        return false;
    }
    const Window* Find(WindowHandle handle) const {
        for (const Window& w : windows) {
            if (w.handle == handle && w.appearsAt <= now)
                return &w;
        }
        return nullptr;
    }
    bool Expect(bool condition) {
        if (!condition)
            ++protocolErrors;
        return condition;
    }
    void Record(std::string event) {
        std::lock_guard<std::mutex> guard(lock_);
        ++eventCount;
        if (record)
            events.push_back(std::move(event));
    }

    struct LeftBehind {};

    std::mutex lock_;
    std::optional<std::uint64_t> boundedUntil_;
    bool offered_ = false;  // the clipboard's text is the engine's, not rendered yet
    std::deque<ProcessId> textRequests_;
    std::map<std::string, std::uint32_t> registered_;
    bool ctrlDown_ = false;
    std::deque<std::uint64_t> pastesAt_;
};

}  // namespace zv::test
