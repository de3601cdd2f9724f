#include "editor/recorder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "common/cp932.h"
#include "common/folders.h"
#include "common/keynames.h"
#include "common/mouseactions.h"
#include "common/strutil.h"
#include "common/winconst.h"
#include "editor/focus_dialog.h"
#include "editor/keyin_dialog.h"
#include "editor/mouse_dialog.h"
#include "editor/type_dialog.h"
#include "editor/wait_dialog.h"

namespace zv {

std::int32_t LoadRecordPauseMSec(IProfile& profile) {
    return ReadIntOrRepair(profile, kEditorSection, kKeyRecordPauseMSec, kDefaultRecordPauseMs);
}

namespace {

constexpr std::int64_t kWaitStepMs = 100;
constexpr int kWheelNotch = 120;
constexpr std::size_t kBarCaptionChars = 24;  // a longer caption is shortened on the bar
constexpr std::size_t kListedMissingChars = 5;

using Kind = RecEvent::Kind;

// A line under construction: the last one may still change (a run grows, a key
// repeats, a click becomes a double click).
struct Item {
    enum class Kind { Focus, Type, Keyin, Mouse, Wait };
    Kind kind = Kind::Focus;
    std::string text;  // Focus: the caption; Type: the run
    KeyinFields keys;
    MouseFields mouse;
    std::int32_t waitMs = 0;
    bool lone = false;  // Keyin: Alt or Win pressed alone
};

bool Focusable(const RecWindow& w) {
    return w.id != 0 && !w.own && !w.caption.empty();
}

// The window an event's input went to: the one it names when FOCUS can find it by its
// caption, else the one in front; none when neither can be focused.
const RecWindow* TargetOf(const RecEvent& e) {
    if (Focusable(e.window))
        return &e.window;
    if (Focusable(e.foreground))
        return &e.foreground;
    return nullptr;
}

// The token of a key on a KEYIN line: a digit or letter as itself, else the first key
// name of its code; a code without a name as its own byte where CP932 has that byte as a
// character of its own (0xA1 to 0xDF). Empty: no line can name the key.
std::string KeyToken(std::uint32_t vk) {
    std::string name = KeyFieldName(vk);
    if (!name.empty())
        return name;
    if (vk >= 0xA1 && vk <= 0xDF)
        return std::string(1, static_cast<char>(vk));
    return {};
}

KeyinFields KeyFields(unsigned modifiers, std::string token) {
    KeyinFields f;
    f.alt = (modifiers & kRecAlt) != 0;
    std::size_t n = 0;
    if (modifiers & kRecControl)
        f.keys[n++] = "CONTROL";
    if (modifiers & kRecShift)
        f.keys[n++] = "SHIFT";
    if (modifiers & kRecWin)
        f.keys[n++] = "LWIN";
    if (!token.empty())
        f.keys[n] = std::move(token);
    return f;
}

// The start of the last character of a CP932 text.
std::size_t LastCharStart(std::string_view s) {
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < s.size()) {
        last = pos;
        pos += CharLength(s, pos);
    }
    return last;
}

bool IsControlChar(std::string_view text) {
    if (text.size() != 1)
        return false;
    const auto c = static_cast<unsigned char>(text[0]);
    return c < 0x20 || c == 0x7F;
}

// The key that types a character where the focus takes keys: a letter, digit or blank;
// 0 for any other character.
std::uint32_t KeyOfChar(std::string_view text) {
    if (text.size() != 1)
        return 0;
    const char c = text[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return static_cast<std::uint32_t>(c);
    return c == ' ' ? kVkSpace : 0;
}

// Keys the program got while the input method was at work: the keys it took, and the
// conversion key.
bool IsInputMethodKey(std::uint32_t vk) {
    return vk == kVkProcessKey || vk == kVkConvert;
}

int ButtonIndex(RecButton b) {
    return static_cast<int>(b);
}

// The click action of a button, its double click, -1 where there is none.
int ClickAction(RecButton b) {
    switch (b) {
        case RecButton::Left:
            return kMouseActionLeft;
        case RecButton::Right:
            return kMouseActionRight;
        case RecButton::Middle:
            return kMouseActionMiddle;
        case RecButton::X1:
            return kMouseActionXButton;
        case RecButton::X2:
            return -1;
    }
    return -1;
}

int DoubleClickAction(int click) {
    switch (click) {
        case kMouseActionLeft:
            return kMouseActionLeftDouble;
        case kMouseActionRight:
            return kMouseActionRightDouble;
        case kMouseActionMiddle:
            return kMouseActionMiddleDouble;
        default:
            return -1;
    }
}

RecNotice::Kind NoticeOfReach(RecReach reach) {
    switch (reach) {
        case RecReach::Bits32:
            return RecNotice::Kind::Bits32;
        case RecReach::Elevated:
            return RecNotice::Kind::Elevated;
        case RecReach::AppContainer:
            return RecNotice::Kind::AppContainer;
        case RecReach::Hooked:
            break;
    }
    return RecNotice::Kind::KeysNotReceived;
}

// ---- the order of events ----

// An event's place: its time, then the event it is placed after (itself, or the
// activity an input method's result belongs to), then its own index.
struct Placed {
    std::int64_t time = 0;
    std::size_t anchor = 0;
    std::size_t sub = 0;
    std::size_t index = 0;
};

void SortPlaces(std::vector<Placed>& places) {
    std::sort(places.begin(), places.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.time, a.anchor, a.sub) < std::tie(b.time, b.anchor, b.sub);
    });
}

// The input method commits a conversion when the user moves on (a click into another
// field, a key it passes on), so its result is stamped after what caused the commit.
// It belongs after the last thing the user did with the input method in that field: a
// key it took, or the start of the composition.
void PlaceResults(const std::vector<RecEvent>& events, std::vector<Placed>& places) {
    struct Anchor {
        std::int64_t time = 0;
        std::size_t index = 0;
        bool valid = false;
        bool used = false;
        std::int64_t usedBy = 0;  // the time of the result that took it
    };
    std::unordered_map<std::uint64_t, Anchor> anchors;
    bool moved = false;
    for (Placed& p : places) {
        const RecEvent& e = events[p.index];
        if (e.fieldId == 0)
            continue;
        const bool activity = (e.kind == Kind::KeyDown && e.key == kVkProcessKey) ||
                              (e.kind == Kind::Composing && e.composing == kHookComposingStart);
        if (activity) {
            anchors[e.fieldId] = Anchor{p.time, p.index, true, false, 0};
            continue;
        }
        if (e.kind != Kind::Char)
            continue;
        if (!e.composed) {
            if (!IsControlChar(e.text))
                anchors.erase(e.fieldId);  // typing went on without the input method
            continue;
        }
        const auto it = anchors.find(e.fieldId);
        if (it == anchors.end() || !it->second.valid)
            continue;
        Anchor& a = it->second;
        if (a.used && a.usedBy != p.time) {
            a.valid = false;  // a later result without new activity stays where it came
            continue;
        }
        a.used = true;
        a.usedBy = p.time;
        if (a.time < p.time) {
            p.time = a.time;
            p.anchor = a.index;
            p.sub = 1 + p.index;
            moved = true;
        }
    }
    if (moved)
        SortPlaces(places);
}

// Each key a program received, paired with the press the keyboard made at the same time
// (the program's message carries the press's time): -1 where there is none.
std::vector<std::ptrdiff_t> PairKeys(const std::vector<RecEvent>& events,
                                     const std::vector<Placed>& places) {
    std::vector<std::ptrdiff_t> partner(events.size(), -1);
    for (std::size_t pos = 0; pos < places.size(); ++pos) {
        const RecEvent& e = events[places[pos].index];
        if (e.kind != Kind::KeyDown && e.kind != Kind::KeyUp)
            continue;
        const Kind raw = e.kind == Kind::KeyDown ? Kind::RawKeyDown : Kind::RawKeyUp;
        for (std::size_t q = pos; q-- > 0 && places[q].time == places[pos].time;) {
            const std::size_t r = places[q].index;
            const RecEvent& k = events[r];
            if (k.kind != raw || partner[r] >= 0)
                continue;
            if (e.key == 0 || e.key == kVkProcessKey ||
                GenericModifier(k.key) == GenericModifier(e.key)) {
                partner[r] = static_cast<std::ptrdiff_t>(places[pos].index);
                partner[places[pos].index] = static_cast<std::ptrdiff_t>(r);
                break;
            }
        }
    }
    return partner;
}

// The keys that should have typed a character, and whose program got none: the input
// method of the newer text framework took them (or the program reads keys, not
// characters). Matched in the order each program reported them, which is the order it
// got them; a key's character comes before its program's next key.
std::vector<bool> KeysThatTypedNothing(const std::vector<RecEvent>& events, bool complete) {
    std::vector<bool> nothing(events.size(), false);
    std::unordered_map<std::uint64_t, std::size_t>
        pending;  // by field: a key awaiting its character
    for (std::size_t i = 0; i < events.size(); ++i) {
        const RecEvent& e = events[i];
        const std::uint64_t field = e.fieldId != 0 ? e.fieldId : e.window.id;
        if (e.kind == Kind::Char || e.kind == Kind::PasswordChar) {
            pending.erase(field);
        } else if (e.kind == Kind::KeyDown) {
            const KeyRole role =
                RoleOfKey(e.key, e.modifiers, e.menuMode || e.field == RecField::Keys);
            if (role == KeyRole::Modifier)
                continue;
            const auto it = pending.find(field);
            if (it != pending.end()) {
                nothing[it->second] = true;
                pending.erase(it);
            }
            if (role == KeyRole::Text)
                pending[field] = i;
        }
    }
    if (complete) {
        for (const auto& [field, index] : pending)
            nothing[index] = true;
    }
    return nothing;
}

// ---- the translation ----

class Translator {
public:
    Translator(const RecorderOptions& options, const std::vector<RecEvent>& events,
               std::vector<std::ptrdiff_t> partner, bool complete)
        : options_(options),
          events_(events),
          partner_(std::move(partner)),
          typedNothing_(KeysThatTypedNothing(events, complete)),
          complete_(complete) {}

    void Add(std::size_t index, std::int64_t t);
    Recording Finish();

private:
    struct Press {
        bool down = false;
        bool own = false;          // pressed on the recording bar
        bool inputMethod = false;  // on a window of the input method
        unsigned modifiers = 0;    // held on the keyboard
        Point point;
        std::int64_t time = 0;
        RecWindow target;  // id 0: none
    };
    struct LastClick {
        bool valid = false;
        RecButton button = RecButton::Left;
        Point point;
        std::int64_t time = 0;
        std::uint64_t window = 0;
    };
    // The input method at work in one window, since its last result.
    struct Burst {
        bool active = false;
        std::uint64_t window = 0;
        std::string caption;
        bool textSeen = false;
        bool composition = false;  // its composition messages came: results come the same way
    };

    // keyboardOnly: only the keyboard reported the key; typedNothing: its program got no
    // character of a key that types one.
    void OnKeyDown(const RecEvent& e, std::int64_t t, const RecWindow* target, bool keyboardOnly,
                   bool typedNothing = false);
    void OnKeyUp(const RecEvent& e, std::int64_t t);
    void OnChar(const RecEvent& e, std::int64_t t, const RecWindow* target);
    void OnPasswordChar(const RecEvent& e, std::int64_t t);
    void OnRawKey(const RecEvent& e, std::size_t index, std::int64_t t);
    void OnButtonDown(const RecEvent& e, std::int64_t t);
    void OnButtonUp(const RecEvent& e, std::int64_t t);
    void OnWheel(const RecEvent& e, std::int64_t t);

    // The window a key a program received went to: the one in front when it was pressed.
    const RecWindow* KeyTarget(const RecEvent& e, std::size_t index) const;
    // Before a new line: WAIT for a long pause since the last action, FOCUS when the
    // input goes to another window. Ends the text run.
    void BeginAction(std::int64_t t, const RecWindow* target);
    void Push(Item item);
    void PushKey(std::int64_t t, const RecWindow* target, KeyinFields fields);
    // Takes back the last KEYIN line's last press.
    void RetractLastKey();
    MouseFields MouseAt(Point screen, const RecWindow* target, int action) const;
    bool LastIs(Item::Kind kind) const { return !items_.empty() && items_.back().kind == kind; }
    void Activity(std::int64_t t) {
        haveActivity_ = true;
        lastActivity_ = t;
    }

    void InputMethodAtWork(const RecWindow* target, bool composition);
    // The input method's work in a window ended: no text from it is a notice, and the
    // text run does not join across the gap.
    void EndBurst();
    void Notice(RecNotice::Kind kind, const RecWindow& window, int count);
    void NoteReach(const RecWindow& window);
    // A key that typed something nothing of which reached the recording.
    void LeaveOutKey(const RecWindow& window);
    unsigned HeldOnKeyboard() const;

    const RecorderOptions& options_;
    const std::vector<RecEvent>& events_;
    const std::vector<std::ptrdiff_t> partner_;
    const std::vector<bool> typedNothing_;
    const bool complete_;  // the recording ended: what is missing by now is missing
    std::vector<Item> items_;
    Recording result_;
    std::vector<std::uint64_t> noticeWindows_;  // beside result_.notices
    std::uint64_t focused_ = 0;
    bool runOpen_ = false;  // the last item is a TYPE run that characters still join
    bool haveActivity_ = false;
    std::int64_t lastActivity_ = 0;
    // A modifier pressed with nothing else since: its release is a line (Alt, Win).
    std::uint32_t loneModifier_ = 0;
    std::int64_t loneTime_ = 0;
    RecWindow loneWindow_;  // where it went; id 0: nowhere FOCUS finds
    // The last key down was a combination line; its character (AltGr) may take it back.
    bool comboPending_ = false;
    unsigned comboModifiers_ = 0;
    // The last key down was a KEYIN line where the focus takes keys: its character is it.
    bool keyCharPending_ = false;
    // The program and the window of the last key a program received: its characters
    // went where it went.
    std::uint64_t lastKeyRoot_ = 0;
    RecWindow lastKeyTarget_;
    std::array<bool, 256> rawHeld_{};
    Burst burst_;
    std::array<Press, 5> presses_{};
    LastClick lastClick_;
    std::int32_t wheelRest_ = 0;
    bool stopped_ = false;
};

void Translator::Push(Item item) {
    runOpen_ = item.kind == Item::Kind::Type;
    lastClick_.valid = false;
    items_.push_back(std::move(item));
}

void Translator::BeginAction(std::int64_t t, const RecWindow* target) {
    const bool switches = target != nullptr && target->id != focused_;
    // Alt alone right before the input goes to another window was the Alt of Alt+Tab,
    // whose Tab the system kept: not a line.
    if (switches && LastIs(Item::Kind::Keyin) && items_.back().lone)
        RetractLastKey();
    if (haveActivity_ && t - lastActivity_ > options_.pauseMs) {
        const std::int64_t rounded =
            (t - lastActivity_ + kWaitStepMs / 2) / kWaitStepMs * kWaitStepMs;
        const auto ms =
            static_cast<std::int32_t>(std::min<std::int64_t>(rounded, kWaitTimeRange.high));
        if (ms > 0) {
            Item wait;
            wait.kind = Item::Kind::Wait;
            wait.waitMs = ms;
            Push(std::move(wait));
        }
    }
    if (switches) {
        Item focus;
        focus.kind = Item::Kind::Focus;
        focus.text = target->caption;
        Push(std::move(focus));
        focused_ = target->id;
    }
}

void Translator::PushKey(std::int64_t t, const RecWindow* target, KeyinFields fields) {
    const std::size_t before = items_.size();
    BeginAction(t, target);
    if (items_.size() == before && LastIs(Item::Kind::Keyin)) {
        KeyinFields& last = items_.back().keys;
        if (last.alt == fields.alt && last.keys == fields.keys &&
            last.repeat < kKeyinRepeatRange.high) {
            ++last.repeat;
            runOpen_ = false;
            return;
        }
    }
    Item key;
    key.kind = Item::Kind::Keyin;
    key.keys = std::move(fields);
    Push(std::move(key));
}

void Translator::RetractLastKey() {
    if (!LastIs(Item::Kind::Keyin))
        return;
    if (items_.back().keys.repeat > 1)
        --items_.back().keys.repeat;
    else
        items_.pop_back();
}

MouseFields Translator::MouseAt(Point screen, const RecWindow* target, int action) const {
    MouseFields f;
    f.button = action < 0 ? 0 : ButtonIndexOfAction(action);
    if (target != nullptr) {
        f.x = screen.x - target->clientOrigin.x;
        f.y = screen.y - target->clientOrigin.y;
        f.local = true;
    } else {
        f.x = screen.x;
        f.y = screen.y;
    }
    return f;
}

const RecWindow* Translator::KeyTarget(const RecEvent& e, std::size_t index) const {
    const std::ptrdiff_t raw = partner_[index];
    if (raw >= 0 && Focusable(events_[static_cast<std::size_t>(raw)].foreground))
        return &events_[static_cast<std::size_t>(raw)].foreground;
    return TargetOf(e);
}

unsigned Translator::HeldOnKeyboard() const {
    unsigned held = 0;
    for (std::size_t vk = 0; vk < rawHeld_.size(); ++vk) {
        if (rawHeld_[vk])
            held |= ModifierBit(static_cast<std::uint32_t>(vk));
    }
    return held;
}

void Translator::Notice(RecNotice::Kind kind, const RecWindow& window, int count) {
    for (std::size_t i = 0; i < result_.notices.size(); ++i) {
        if (result_.notices[i].kind == kind && noticeWindows_[i] == window.id) {
            result_.notices[i].count += count;
            return;
        }
    }
    result_.notices.push_back({kind, window.caption, count});
    noticeWindows_.push_back(window.id);
}

void Translator::NoteReach(const RecWindow& window) {
    if (window.id != 0 && !window.own && window.reach != RecReach::Hooked)
        Notice(NoticeOfReach(window.reach), window, 0);
}

void Translator::LeaveOutKey(const RecWindow& window) {
    if (window.id == 0) {
        ++result_.unrecordable;
        return;
    }
    Notice(NoticeOfReach(window.reach), window, 1);
}

void Translator::InputMethodAtWork(const RecWindow* target, bool composition) {
    const std::uint64_t id = target != nullptr ? target->id : 0;
    if (burst_.active && burst_.window != id)
        EndBurst();
    if (!burst_.active) {
        burst_ = Burst{};
        burst_.active = true;
        burst_.window = id;
        if (target != nullptr)
            burst_.caption = target->caption;
    }
    burst_.composition = burst_.composition || composition;
}

void Translator::EndBurst() {
    if (!burst_.active)
        return;
    burst_.active = false;
    // Where its composition messages came, a result would have come the same way: no
    // text then is a conversion cancelled.
    if (burst_.textSeen || burst_.composition)
        return;
    RecWindow w;
    w.id = burst_.window;
    w.caption = burst_.caption;
    Notice(RecNotice::Kind::ImeTextUnseen, w, 0);
    runOpen_ = false;
}

void Translator::Add(std::size_t index, std::int64_t t) {
    if (stopped_)
        return;
    const RecEvent& e = events_[index];
    if (e.kind != Kind::Wheel)
        wheelRest_ = 0;
    switch (e.kind) {
        case Kind::KeyDown: {
            const RecWindow* target = KeyTarget(e, index);
            lastKeyRoot_ = e.window.id;
            lastKeyTarget_ = target != nullptr ? *target : RecWindow{};
            OnKeyDown(e, t, target, false, typedNothing_[index]);
            return;
        }
        case Kind::KeyUp:
            OnKeyUp(e, t);
            return;
        case Kind::Char: {
            const bool sameProgram =
                e.window.id != 0 && e.window.id == lastKeyRoot_ && lastKeyTarget_.id != 0;
            OnChar(e, t, sameProgram ? &lastKeyTarget_ : TargetOf(e));
            return;
        }
        case Kind::PasswordChar:
            OnPasswordChar(e, t);
            return;
        case Kind::Composing:
            InputMethodAtWork(TargetOf(e), true);
            return;
        case Kind::RawKeyDown:
        case Kind::RawKeyUp:
            OnRawKey(e, index, t);
            return;
        case Kind::ButtonDown:
            OnButtonDown(e, t);
            return;
        case Kind::ButtonUp:
            OnButtonUp(e, t);
            return;
        case Kind::Wheel:
            OnWheel(e, t);
            return;
        case Kind::Front:
            NoteReach(e.foreground);
            return;
        case Kind::Stop:
            EndBurst();
            stopped_ = true;
            return;
    }
}

void Translator::OnRawKey(const RecEvent& e, std::size_t index, std::int64_t t) {
    const bool down = e.kind == Kind::RawKeyDown;
    NoteReach(e.foreground);
    const unsigned self = ModifierBit(e.key);
    if (self != 0 && e.key < rawHeld_.size())
        rawHeld_[e.key] = down;
    if (partner_[index] >= 0 || e.foreground.own)
        return;
    // No program reported this key. A program the hook cannot enter never does; one it
    // runs in may still report it until the recording ends.
    if (!complete_ && e.foreground.reach == RecReach::Hooked)
        return;
    if (RoleOfKey(e.key, 0, false) == KeyRole::Stop)
        return;
    RecEvent stroke;
    stroke.kind = down ? Kind::KeyDown : Kind::KeyUp;
    stroke.key = e.key;
    stroke.modifiers = HeldOnKeyboard() & ~self;
    stroke.field = RecField::Unsure;  // nothing says what it typed, if anything
    stroke.window = e.foreground;
    stroke.foreground = e.foreground;
    if (down)
        OnKeyDown(stroke, t, Focusable(e.foreground) ? &e.foreground : nullptr, true);
    else if (self != 0)
        OnKeyUp(stroke, t);
}

void Translator::OnKeyDown(const RecEvent& e, std::int64_t t, const RecWindow* target,
                           bool keyboardOnly, bool typedNothing) {
    const bool keysOnly = e.menuMode || e.field == RecField::Keys;
    const KeyRole role = RoleOfKey(e.key, e.modifiers, keysOnly);
    if (role == KeyRole::Modifier) {
        // Lone only when no other modifier is held with it.
        const std::uint32_t generic = GenericModifier(e.key);
        if (loneModifier_ != generic) {
            const bool alone = (e.modifiers & kRecModifierMask & ~ModifierBit(e.key)) == 0;
            loneModifier_ = alone ? generic : 0;
            loneTime_ = t;
            loneWindow_ = target != nullptr ? *target : RecWindow{};
        }
        return;
    }
    loneModifier_ = 0;
    comboPending_ = false;
    keyCharPending_ = false;
    if (!keyboardOnly && (IsInputMethodKey(e.key) || (typedNothing && role == KeyRole::Text))) {
        InputMethodAtWork(target, false);
        return;
    }
    if (keyboardOnly && (role == KeyRole::Text || e.key == kVkPacket || e.key == kVkProcessKey)) {
        EndBurst();
        LeaveOutKey(e.foreground);  // it typed something, or went to the input method
        return;
    }
    if (role == KeyRole::Ignored || role == KeyRole::Stop)
        return;  // the stop key, a key held back in a secret field, ignored keys
    EndBurst();  // a key of its own: the input method's work is over
    if (keyboardOnly && IsWindowSwitchChord(e.key, e.modifiers))
        return;  // the window the input then goes to is focused by its own line
    if (role != KeyRole::Command)
        return;  // its character follows

    const bool combination = (e.modifiers & (kRecControl | kRecAlt | kRecWin)) != 0;
    if (e.key == kVkBack && !combination && runOpen_ &&
        (target == nullptr || target->id == focused_)) {
        // Backspace inside a run takes back its last character.
        std::string& run = items_.back().text;
        run.resize(LastCharStart(run));
        if (run.empty()) {
            items_.pop_back();
            runOpen_ = false;
        }
        lastActivity_ = t;
        return;
    }
    std::string token = KeyToken(e.key);
    if (token.empty()) {
        ++result_.unrecordable;
        Activity(t);
        return;
    }
    PushKey(t, target, KeyFields(e.modifiers, std::move(token)));
    comboPending_ = combination;
    comboModifiers_ = e.modifiers;
    keyCharPending_ = keysOnly && RoleOfKey(e.key, e.modifiers, false) == KeyRole::Text;
    Activity(t);
}

void Translator::OnKeyUp(const RecEvent& e, std::int64_t t) {
    if (loneModifier_ == 0 || GenericModifier(e.key) != loneModifier_)
        return;
    const std::uint32_t lone = loneModifier_;
    loneModifier_ = 0;
    // A lone Alt opens the menu bar, a lone Win the start menu; Shift and Ctrl alone do
    // nothing worth a line.
    if (lone != kVkMenu && lone != kVkLWin)
        return;
    PushKey(loneTime_, loneWindow_.id != 0 ? &loneWindow_ : nullptr,
            lone == kVkMenu ? KeyFields(kRecAlt, {}) : KeyFields(kRecWin, {}));
    items_.back().lone = true;
    Activity(t);
}

void Translator::OnChar(const RecEvent& e, std::int64_t t, const RecWindow* target) {
    loneModifier_ = 0;
    if (burst_.active && target != nullptr && burst_.window == target->id) {
        burst_.textSeen = true;
        if (e.composed)
            burst_.active = false;  // the conversion came out whole
    }
    if (e.menuMode)
        return;  // a menu's mnemonic: its key is the line
    if (e.field == RecField::Keys) {
        if (keyCharPending_) {
            keyCharPending_ = false;  // the character of the key just recorded
            return;
        }
        // A character without its key (injected): the key that types it.
        const std::uint32_t vk = KeyOfChar(e.text);
        if (vk != 0) {
            PushKey(t, target, KeyFields(0, KeyToken(vk)));
            Activity(t);
        } else if (!IsControlChar(e.text)) {
            ++result_.unrecordable;
            Activity(t);
        }
        return;
    }
    if (IsControlChar(e.text))
        return;  // the character of Enter, Tab, Ctrl+letter
    if (e.text.empty()) {
        // A character CP932 lacks: the text before and after it stay apart.
        if (e.codePoint != 0)
            result_.missingChars.push_back(e.codePoint);
        else
            ++result_.unrecordable;
        runOpen_ = false;
        Activity(t);
        return;
    }
    if (comboPending_) {
        comboPending_ = false;
        // Ctrl+Alt with a key typed a character (AltGr): the character, not the keys.
        // Any other combination's character (Ctrl+Space) is the shortcut's.
        const bool altGr = (comboModifiers_ & (kRecControl | kRecAlt)) == (kRecControl | kRecAlt) &&
                           (comboModifiers_ & kRecWin) == 0;
        if (!altGr)
            return;
        RetractLastKey();
    }
    const bool joins = runOpen_ && (target == nullptr || target->id == focused_);
    if (!joins) {
        BeginAction(t, target);
        Item run;
        run.kind = Item::Kind::Type;
        Push(std::move(run));
    }
    items_.back().text += e.text;
    Activity(t);
}

void Translator::OnPasswordChar(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    comboPending_ = false;
    if (e.field == RecField::Unsure)
        result_.unsureSkipped = true;
    else
        result_.passwordSkipped = true;
    if (burst_.active)
        burst_.textSeen = true;
    runOpen_ = false;
    Activity(t);
}

void Translator::OnButtonDown(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    comboPending_ = false;
    keyCharPending_ = false;
    NoteReach(e.window);
    Press& press = presses_[static_cast<std::size_t>(ButtonIndex(e.button))];
    press = Press{};
    press.down = true;
    press.own = e.window.own;
    press.inputMethod = IsInputMethodWindowClass(e.window.className);
    press.modifiers = HeldOnKeyboard();
    press.point = e.point;
    press.time = t;
    if (const RecWindow* target = TargetOf(e))
        press.target = *target;
    if (!press.own && !press.inputMethod)
        EndBurst();
}

void Translator::OnButtonUp(const RecEvent& e, std::int64_t t) {
    Press& press = presses_[static_cast<std::size_t>(ButtonIndex(e.button))];
    if (!press.down)
        return;
    press.down = false;
    if (press.own)
        return;  // the recording bar: its stop button, its caption
    // What no line expresses is left out and counted; the pause before the next action
    // is still measured from it.
    const int click = ClickAction(e.button);
    const bool moved = std::abs(e.point.x - press.point.x) > options_.dragSize.x ||
                       std::abs(e.point.y - press.point.y) > options_.dragSize.y;
    int* leftOut = press.inputMethod                      ? &result_.inputMethodClicks
                   : press.modifiers != 0                 ? &result_.modifiedMouse
                   : click < 0                            ? &result_.unrecordable
                   : moved && e.button != RecButton::Left ? &result_.otherDrags
                                                          : nullptr;
    if (leftOut != nullptr) {
        ++*leftOut;
        Activity(t);
        return;
    }
    const RecWindow* target = press.target.id != 0 ? &press.target : nullptr;
    if (moved) {
        // The engine's drag starts where the pointer is: a move to the press point first.
        BeginAction(press.time, target);
        Item from;
        from.kind = Item::Kind::Mouse;
        from.mouse = MouseAt(press.point, target, -1);
        Push(std::move(from));
        Item to;
        to.kind = Item::Kind::Mouse;
        to.mouse = MouseAt(e.point, target, kMouseActionDrag);
        Push(std::move(to));
        Activity(t);
        return;
    }
    const LastClick& last = lastClick_;
    const int twice = DoubleClickAction(click);
    if (twice >= 0 && last.valid && LastIs(Item::Kind::Mouse) && last.button == e.button &&
        last.window == press.target.id && press.time - last.time <= options_.doubleClickMs &&
        std::abs(press.point.x - last.point.x) * 2 <= options_.doubleClickSize.x &&
        std::abs(press.point.y - last.point.y) * 2 <= options_.doubleClickSize.y) {
        items_.back().mouse.button = ButtonIndexOfAction(twice);
        lastClick_.valid = false;
        Activity(t);
        return;
    }
    BeginAction(press.time, target);
    Item item;
    item.kind = Item::Kind::Mouse;
    item.mouse = MouseAt(press.point, target, click);
    Push(std::move(item));
    lastClick_ = {true, e.button, press.point, press.time, press.target.id};
    Activity(t);
}

void Translator::OnWheel(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    comboPending_ = false;
    if (e.window.own)
        return;
    if (e.horizontal || HeldOnKeyboard() != 0) {
        // Ctrl+wheel zooms, Shift+wheel scrolls sideways: no line does that.
        ++(e.horizontal ? result_.unrecordable : result_.modifiedMouse);
        Activity(t);
        return;
    }
    const RecWindow* target = TargetOf(e);
    wheelRest_ += e.wheelDelta;
    while (wheelRest_ >= kWheelNotch || wheelRest_ <= -kWheelNotch) {
        const bool away = wheelRest_ > 0;
        wheelRest_ += away ? -kWheelNotch : kWheelNotch;
        BeginAction(t, target);
        Item notch;
        notch.kind = Item::Kind::Mouse;
        notch.mouse = MouseAt(e.point, target, away ? kMouseActionWheelUp : kMouseActionWheelDown);
        Push(std::move(notch));
        Activity(t);
    }
    if (haveActivity_)
        lastActivity_ = t;
}

// A caption or text that is one of the run-time tokens would be replaced when the line
// runs.
bool IsToken(std::string_view text) {
    return TypeSourceOfText(text) != kTypeSourceText;
}

Recording Translator::Finish() {
    if (complete_)
        EndBurst();
    for (const Press& press : presses_) {
        if (press.down && !press.own)
            ++result_.unrecordable;  // still held when the recording stopped
    }
    for (const Item& item : items_) {
        switch (item.kind) {
            case Item::Kind::Focus:
                // A caption that is a token: a partial match on the same text finds it.
                result_.lines.push_back(
                    ComposeFocusLine(IsToken(item.text) ? item.text + "*" : item.text));
                break;
            case Item::Kind::Type:
                if (IsToken(item.text)) {
                    // Its last character on a line of its own keeps either part literal.
                    const std::size_t cut = item.text.size() - 1;
                    result_.lines.push_back(
                        ComposeTypeLine({kTypeSourceText, item.text.substr(0, cut)}));
                    result_.lines.push_back(
                        ComposeTypeLine({kTypeSourceText, item.text.substr(cut)}));
                } else {
                    result_.lines.push_back(ComposeTypeLine({kTypeSourceText, item.text}));
                }
                break;
            case Item::Kind::Keyin:
                result_.lines.push_back(ComposeKeyinLine(item.keys));
                break;
            case Item::Kind::Mouse:
                result_.lines.push_back(ComposeMouseLine(item.mouse));
                break;
            case Item::Kind::Wait:
                result_.lines.push_back(ComposeWaitLine({item.waitMs, 0}));
                break;
        }
    }
    return std::move(result_);
}

// A caption for the bar: at most kBarCaptionChars characters.
std::string ShortCaption(std::string_view caption) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; pos < caption.size(); ++chars) {
        if (chars + 1 == kBarCaptionChars && pos + CharLength(caption, pos) < caption.size())
            return std::string(caption.substr(0, pos)) + "…";
        pos += CharLength(caption, pos);
    }
    return std::string(caption);
}

const char* BarText(RecNotice::Kind kind) {
    switch (kind) {
        case RecNotice::Kind::ImeTextUnseen:
            return kBarImeTextUnseen;
        case RecNotice::Kind::Bits32:
            return kBarBits32;
        case RecNotice::Kind::Elevated:
            return kBarElevated;
        case RecNotice::Kind::AppContainer:
            return kBarAppContainer;
        case RecNotice::Kind::KeysNotReceived:
            break;
    }
    return nullptr;
}

std::string NoticeText(const RecNotice& notice) {
    switch (notice.kind) {
        case RecNotice::Kind::ImeTextUnseen:
            return StrPrintf(kMsgImeTextUnseen, notice.window.c_str());
        case RecNotice::Kind::Bits32:
            return StrPrintf(kMsgBits32, notice.window.c_str());
        case RecNotice::Kind::Elevated:
            return StrPrintf(kMsgElevated, notice.window.c_str());
        case RecNotice::Kind::AppContainer:
            return StrPrintf(kMsgAppContainer, notice.window.c_str());
        case RecNotice::Kind::KeysNotReceived:
            return StrPrintf(kMsgKeysNotReceived, notice.window.c_str(), notice.count);
    }
    return {};
}

std::string MissingCharList(const std::vector<std::uint32_t>& chars) {
    std::vector<std::uint32_t> distinct;
    for (std::uint32_t c : chars) {
        if (std::find(distinct.begin(), distinct.end(), c) == distinct.end())
            distinct.push_back(c);
    }
    std::string list;
    for (std::size_t i = 0; i < distinct.size() && i < kListedMissingChars; ++i) {
        if (!list.empty())
            list += "、";
        list += StrPrintf("U+%04X", distinct[i]);
    }
    if (distinct.size() > kListedMissingChars)
        list += " ほか";
    return list;
}

}  // namespace

Recording TranslateRecording(std::vector<RecEvent> events, const RecorderOptions& options) {
    std::vector<Placed> places;
    bool complete = false;
    if (!events.empty()) {
        // Times relative to the first event, read as a wrapping 32-bit count.
        const std::uint32_t base = events.front().time;
        places.reserve(events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            const std::int64_t t = static_cast<std::int32_t>(events[i].time - base);
            places.push_back({t, i, 0, i});
            complete = complete || events[i].kind == Kind::Stop;
        }
        SortPlaces(places);
        PlaceResults(events, places);
    }
    Translator translator(options, events, PairKeys(events, places), complete);
    for (const Placed& p : places)
        translator.Add(p.index, p.time);
    return translator.Finish();
}

std::string RecordingBarStatus(std::uint32_t elapsedMs) {
    const std::uint32_t seconds = elapsedMs / 1000;
    return StrPrintf("記録中  %u:%02u", seconds / 60, seconds % 60);
}

std::string RecordingBarNotice(const Recording& recording) {
    std::string latest;
    int others = 0;
    for (auto it = recording.notices.rbegin(); it != recording.notices.rend(); ++it) {
        const char* text = BarText(it->kind);
        if (text == nullptr)
            continue;
        if (latest.empty())
            latest = StrPrintf(text, ShortCaption(it->window).c_str());
        else
            ++others;
    }
    if (others > 0)
        latest += StrPrintf(kBarMore, others);
    return latest;
}

std::string RecordingEndNote(const Recording& recording) {
    std::string note;
    auto add = [&note](const std::string& line) {
        if (!note.empty())
            note += "\r\n";
        note += line;
    };
    if (recording.lines.empty())
        add(kMsgNothingRecorded);
    for (const RecNotice& notice : recording.notices)
        add(NoticeText(notice));
    if (recording.passwordSkipped)
        add(kMsgPasswordNotRecorded);
    if (recording.unsureSkipped)
        add(kMsgUnsureNotRecorded);
    if (recording.modifiedMouse > 0)
        add(StrPrintf(kMsgModifiedMouse, recording.modifiedMouse));
    if (recording.otherDrags > 0)
        add(StrPrintf(kMsgOtherDrags, recording.otherDrags));
    if (recording.inputMethodClicks > 0)
        add(StrPrintf(kMsgInputMethodClicks, recording.inputMethodClicks));
    if (!recording.missingChars.empty()) {
        add(StrPrintf(kMsgMissingChars, static_cast<int>(recording.missingChars.size()),
                      MissingCharList(recording.missingChars).c_str()));
    }
    if (recording.unrecordable > 0)
        add(StrPrintf(kMsgUnrecordable, recording.unrecordable));
    return note;
}

}  // namespace zv
