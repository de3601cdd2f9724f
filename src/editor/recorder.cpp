#include "editor/recorder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
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
#include "editor/recorder_keys.h"
#include "editor/type_dialog.h"
#include "editor/wait_dialog.h"

namespace zv {

std::int32_t LoadRecordPauseMSec(IProfile& profile) {
    return ReadIntOrRepair(profile, kEditorSection, kKeyRecordPauseMSec, kDefaultRecordPauseMs);
}

namespace {

constexpr std::int64_t kWaitStepMs = 100;
constexpr int kWheelNotch = 120;

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

class Translator {
public:
    explicit Translator(const RecorderOptions& options) : options_(options) {}

    void Add(const RecEvent& e, std::int64_t t);
    Recording Finish();

private:
    struct Press {
        bool down = false;
        bool own = false;  // pressed on the recording bar
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

    void OnKeyDown(const RecEvent& e, std::int64_t t);
    void OnKeyUp(const RecEvent& e, std::int64_t t);
    void OnChar(const RecEvent& e, std::int64_t t);
    void OnButtonDown(const RecEvent& e, std::int64_t t);
    void OnButtonUp(const RecEvent& e, std::int64_t t);
    void OnWheel(const RecEvent& e, std::int64_t t);

    // Before a new line: WAIT for a long pause since the last action, FOCUS when the
    // input goes to another window. Ends the text run.
    void BeginAction(std::int64_t t, const RecWindow* target);
    void Push(Item item);
    void PushKey(std::int64_t t, const RecWindow* target, KeyinFields fields);
    // Takes back the last KEYIN line's last press.
    void RetractLastKey();
    MouseFields MouseAt(Point screen, const RecWindow* target, int action) const;
    bool LastIs(Item::Kind kind) const { return !items_.empty() && items_.back().kind == kind; }

    const RecorderOptions& options_;
    std::vector<Item> items_;
    Recording result_;
    std::uint64_t focused_ = 0;
    bool runOpen_ = false;  // the last item is a TYPE run that characters still join
    bool haveActivity_ = false;
    std::int64_t lastActivity_ = 0;
    // A modifier pressed with nothing else since: its release is a line (Alt, Win).
    std::uint32_t loneModifier_ = 0;
    std::int64_t loneTime_ = 0;
    RecEvent loneEvent_;
    // The last key down was a combination line; its character (AltGr) may take it back.
    bool comboPending_ = false;
    unsigned comboModifiers_ = 0;
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

void Translator::Add(const RecEvent& e, std::int64_t t) {
    if (stopped_)
        return;
    if (e.kind != RecEvent::Kind::Wheel)
        wheelRest_ = 0;
    switch (e.kind) {
        case RecEvent::Kind::KeyDown:
            OnKeyDown(e, t);
            return;
        case RecEvent::Kind::KeyUp:
            OnKeyUp(e, t);
            return;
        case RecEvent::Kind::Char:
            OnChar(e, t);
            return;
        case RecEvent::Kind::PasswordChar:
            loneModifier_ = 0;
            comboPending_ = false;
            result_.passwordSkipped = true;
            runOpen_ = false;
            haveActivity_ = true;
            lastActivity_ = t;
            return;
        case RecEvent::Kind::ButtonDown:
            OnButtonDown(e, t);
            return;
        case RecEvent::Kind::ButtonUp:
            OnButtonUp(e, t);
            return;
        case RecEvent::Kind::Wheel:
            OnWheel(e, t);
            return;
        case RecEvent::Kind::Stop:
            stopped_ = true;
            return;
    }
}

void Translator::OnKeyDown(const RecEvent& e, std::int64_t t) {
    const KeyRole role = RoleOfKey(e.key, e.modifiers, e.menuMode);
    if (role == KeyRole::Modifier) {
        // Lone only when no other modifier is held with it.
        const std::uint32_t generic = GenericModifier(e.key);
        const unsigned self = generic == kVkShift     ? kRecShift
                              : generic == kVkControl ? kRecControl
                              : generic == kVkMenu    ? kRecAlt
                                                      : kRecWin;
        if (loneModifier_ != generic) {
            const bool alone = (e.modifiers & kRecModifierMask & ~self) == 0;
            loneModifier_ = alone ? generic : 0;
            loneTime_ = t;
            loneEvent_ = e;
        }
        return;
    }
    loneModifier_ = 0;
    comboPending_ = false;
    if (role != KeyRole::Command)
        return;  // the stop key, ignored keys, keys whose characters follow

    const RecWindow* target = TargetOf(e);
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
        haveActivity_ = true;
        lastActivity_ = t;
        return;
    }
    PushKey(t, target, KeyFields(e.modifiers, std::move(token)));
    comboPending_ = combination;
    comboModifiers_ = e.modifiers;
    haveActivity_ = true;
    lastActivity_ = t;
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
    PushKey(loneTime_, TargetOf(loneEvent_),
            lone == kVkMenu ? KeyFields(kRecAlt, {}) : KeyFields(kRecWin, {}));
    items_.back().lone = true;
    haveActivity_ = true;
    lastActivity_ = t;
}

void Translator::OnChar(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    if (e.menuMode || IsControlChar(e.text))
        return;  // a menu's mnemonic (its key is the line), or the character of Enter, Tab,
                 // Ctrl+letter
    if (e.text.empty()) {
        ++result_.unrecordable;
        haveActivity_ = true;
        lastActivity_ = t;
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
    const RecWindow* target = TargetOf(e);
    const bool joins = runOpen_ && (target == nullptr || target->id == focused_);
    if (!joins) {
        BeginAction(t, target);
        Item run;
        run.kind = Item::Kind::Type;
        Push(std::move(run));
    }
    items_.back().text += e.text;
    haveActivity_ = true;
    lastActivity_ = t;
}

void Translator::OnButtonDown(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    comboPending_ = false;
    Press& press = presses_[static_cast<std::size_t>(ButtonIndex(e.button))];
    press = Press{};
    press.down = true;
    press.own = e.window.own;
    press.point = e.point;
    press.time = t;
    if (const RecWindow* target = TargetOf(e))
        press.target = *target;
}

void Translator::OnButtonUp(const RecEvent& e, std::int64_t t) {
    Press& press = presses_[static_cast<std::size_t>(ButtonIndex(e.button))];
    if (!press.down)
        return;
    press.down = false;
    if (press.own)
        return;  // the recording bar: its stop button, its caption
    haveActivity_ = true;
    const RecWindow* target = press.target.id != 0 ? &press.target : nullptr;
    const int click = ClickAction(e.button);
    if (click < 0) {
        ++result_.unrecordable;
        lastActivity_ = t;
        return;
    }
    const bool moved = std::abs(e.point.x - press.point.x) > options_.dragSize.x ||
                       std::abs(e.point.y - press.point.y) > options_.dragSize.y;
    if (e.button == RecButton::Left && moved) {
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
        lastActivity_ = t;
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
        lastActivity_ = t;
        return;
    }
    BeginAction(press.time, target);
    Item item;
    item.kind = Item::Kind::Mouse;
    item.mouse = MouseAt(press.point, target, click);
    Push(std::move(item));
    lastClick_ = {true, e.button, press.point, press.time, press.target.id};
    lastActivity_ = t;
}

void Translator::OnWheel(const RecEvent& e, std::int64_t t) {
    loneModifier_ = 0;
    comboPending_ = false;
    if (e.window.own)
        return;
    haveActivity_ = true;
    if (e.horizontal) {
        ++result_.unrecordable;
        lastActivity_ = t;
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
        lastActivity_ = t;
    }
    lastActivity_ = t;
}

// A caption or text that is one of the run-time tokens would be replaced when the line
// runs.
bool IsToken(std::string_view text) {
    return TypeSourceOfText(text) != kTypeSourceText;
}

Recording Translator::Finish() {
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

}  // namespace

Recording TranslateRecording(std::vector<RecEvent> events, const RecorderOptions& options) {
    Translator translator(options);
    if (!events.empty()) {
        // Times relative to the first event, read as a wrapping 32-bit count.
        const std::uint32_t base = events.front().time;
        std::vector<std::pair<std::int64_t, std::size_t>> order;
        order.reserve(events.size());
        for (std::size_t i = 0; i < events.size(); ++i)
            order.emplace_back(static_cast<std::int32_t>(events[i].time - base), i);
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [t, i] : order)
            translator.Add(events[i], t);
    }
    return translator.Finish();
}

std::string RecordingBarStatus(std::uint32_t elapsedMs) {
    const std::uint32_t seconds = elapsedMs / 1000;
    return StrPrintf("記録中  %u:%02u", seconds / 60, seconds % 60);
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
    if (recording.passwordSkipped)
        add(kMsgPasswordNotRecorded);
    if (recording.unrecordable > 0)
        add(StrPrintf(kMsgUnrecordable, recording.unrecordable));
    return note;
}

}  // namespace zv
