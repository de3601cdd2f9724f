// Command lines made together with what they stand for, so that the engine's handlers and
// the editor's dialog models are checked against what a line says, not against the
// parser they call. Each line is spelt in one of the ways its syntax allows (letter case,
// blanks, comma runs, quotes, leading zeros, the options in either order) or carries one
// fault whose message is known.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zv::test {

// What the run-time tokens stand for in the tests that use these lines.
inline constexpr const char* kParam1Value = "W";
inline constexpr const char* kClipValue = "keep";

struct LineCase {
    std::string line;
    bool ok = true;         // the engine reads it
    std::string error;      // the engine's message when it does not (WAIT, KEYIN, MOUSE)
    bool dialogOk = true;   // the editor's dialog reads it
    std::int32_t time = 0;  // WAIT
    std::int32_t loops = 0;
    std::vector<std::string> keys;     // KEYIN: each key as the dialog shows it
    std::vector<std::uint8_t> codes;   // the codes pressed, in order
    std::vector<std::string> pressed;  // the result text's piece of each code
    std::int32_t repeat = 1;
    std::int32_t x = 0;  // MOUSE
    std::int32_t y = 0;
    int action = -1;  // index of the action word, -1 for none
    bool local = false;
    std::string text;   // FOCUS caption (its "*" included), TYPE text, LAUNCH command line
    std::string value;  // FOCUS and TYPE: the text with a run-time token replaced
    int mode = 0;       // LAUNCH: 0 no wait, 1 WAIT, 2 END
};

inline constexpr const char* kMouseWords[] = {"L",  "R", "M",  "LW", "RW",
                                              "MW", "X", "W-", "W+", "DD"};

class LineMaker {
public:
    explicit LineMaker(unsigned seed) : rng_(seed) {}

    LineCase Wait() {
        LineCase c;
        c.time = OneIn(8) ? kMax : Range(0, 30000);
        std::vector<std::string> pieces{Number(c.time)};
        if (OneIn(2)) {
            c.loops = Range(0, 4);
            pieces.push_back(Number(c.loops));
        }
        switch (OneIn(3) ? Range(1, 5) : 0) {
            case 1:
                pieces.clear();
                Fail(c, "ウェイトの時間指定が無い");
                c.dialogOk = true;  // the dialog opens an empty WAIT with 0 and 0
                c.time = c.loops = 0;
                break;
            case 2:
                pieces.insert(pieces.begin(), "");
                Fail(c, "第1パラメタが空白");
                break;
            case 3:
                pieces.push_back("");  // a trailing comma run leaves one empty piece
                Fail(c, Nth(pieces.size(), "パラメタが空白"));
                break;
            case 4:
                pieces.resize(3, "7");
                Fail(c, "[Wait時間,繰り返し回数]意外に余分なパラメタ設定がある");
                break;
            case 5: {
                const std::size_t k = Index(pieces.size());
                pieces[k] = Of({"-5", "+5", "1 0", "5x", "１０", "表", "0x1F"});
                Fail(c, Nth(k + 1, "パラメタが正の数値でない"));
                break;
            }
        }
        c.line = "WAIT:" + Blanks() + Join(pieces, Of({",", ",,"})) + Blanks();
        return c;
    }

    LineCase Keyin() {
        struct Key {
            const char* written;
            const char* shown;  // upper case; a single byte as written
            std::uint8_t code;
        };
        static constexpr Key kKeys[] = {
            {"CONTROL", "CONTROL", 0x11},
            {"control", "CONTROL", 0x11},
            {"Shift", "SHIFT", 0x10},
            {"MENU", "MENU", 0x12},
            {"F4", "F4", 0x73},
            {"return", "RETURN", 0x0D},
            {"TAB", "TAB", 0x09},
            {"NumPad1", "NUMPAD1", 0x61},
            {"OEM_7", "OEM_7", 0xDE},
            {"KANJI", "KANJI", 0x19},
            {"A", "A", 0x41},
            {"v", "v", 0x76},
            {"1", "1", 0x31},
            {"\xB1", "\xB1", 0xB1},
        };
        LineCase c;
        std::vector<std::string> written;
        for (int n = Range(0, 4); n > 0; --n) {
            const Key& k = kKeys[Index(std::size(kKeys))];
            written.push_back(k.written);
            c.keys.push_back(k.shown);
            c.codes.push_back(k.code);
            c.pressed.push_back(k.shown[1] ? std::string(k.shown) + Hex(k.code)
                                           : "\"" + std::string(k.shown) + "\"" + Hex(k.code));
        }
        // "REP=" counts after at least one character: with no key before it, a comma.
        const auto repeatPart = [&] {
            return written.empty() ? Of({",REP=", ",rep= ", " , Rep="})
                                   : Of({",REP=", " REP=", ",rep= ", " , Rep="});
        };
        std::string repeat;
        if (written.empty() || OneIn(2)) {
            c.repeat = Range(1, 4);
            repeat = repeatPart() + Number(c.repeat);
        }
        switch (OneIn(3) ? Range(1, 3) : 0) {
            case 1:
                written.clear();
                repeat.clear();
                Fail(c, "キー指定が無い");
                break;
            case 2:
                repeat = repeatPart() + Of({"0", "-2", "X", "00"});
                Fail(c, "REP=が１以上の数値でない");
                break;
            case 3: {
                static constexpr std::pair<const char*, const char*> kBad[] = {
                    {"CTRL", "CTRL"}, {"alt", "ALT"}, {"CONTROL,V", "CONTROL,V"},
                    {"Esc", "ESC"},   {"F25", "F25"}, {"あ", "あ"}};
                const auto& [bad, shown] = kBad[Index(std::size(kBad))];
                const std::size_t at = Index(written.size() + 1);
                written.insert(written.begin() + static_cast<std::ptrdiff_t>(at), bad);
                c.keys.insert(c.keys.begin() + static_cast<std::ptrdiff_t>(at), shown);
                Fail(c, "[" + std::string(shown) + "]不正なキーコード");
                c.dialogOk = true;  // the dialog does not check key names
                break;
            }
        }
        c.dialogOk = c.dialogOk && !written.empty();
        c.line = "KEYIN:" + Blanks() + Join(written, Of({" ", "   "})) + repeat + Blanks();
        return c;
    }

    LineCase Mouse() {
        LineCase c;
        c.x = Coordinate();
        c.y = Coordinate();
        c.action = OneIn(3) ? -1 : static_cast<int>(Index(std::size(kMouseWords)));
        c.local = OneIn(2);
        std::vector<std::string> pieces{Number(c.x), Number(c.y)};
        if (c.action >= 0)
            pieces.push_back(Cased(kMouseWords[c.action]));
        if (c.local)
            pieces.insert(
                pieces.begin() + (OneIn(2) ? 2 : static_cast<std::ptrdiff_t>(pieces.size())),
                Cased("LOCAL"));
        switch (OneIn(3) ? Range(1, 6) : 0) {
            case 1:
                pieces.clear();
                Fail(c, "マウスの動作指定が無い");
                break;
            case 2:
                pieces.resize(1);
                if (OneIn(2))
                    pieces.insert(pieces.begin(), "");
                Fail(c, "[x,y]パラメタの設定が無い");
                break;
            case 3: {
                const std::size_t k = Index(2);
                pieces[k] = Of({"-", "5-", "+5", "1.5", "x", "表", "- 5"});
                Fail(c, Nth(k + 1, "パラメタが数値でない"));
                break;
            }
            case 4: {
                const std::size_t k = pieces.size() == 4 ? 2 + Index(2) : pieces.size();
                const auto& [bad, shown] =
                    Pick<std::pair<const char*, const char*>>({{"Q", "Q"},
                                                               {"ダブル", "ダブル"},
                                                               {"left", "LEFT"},
                                                               {"LL", "LL"},
                                                               {"localx", "LOCALX"}});
                pieces.resize(std::max(pieces.size(), k + 1));
                pieces[k] = bad;
                Fail(c, Nth(k + 1, "パラメタのマウスボタン動作[") + shown + "]が認識出来ない");
                break;
            }
            case 5:
                pieces.push_back("");
                Fail(c, Nth(pieces.size(), "パラメタが空白"));
                break;
            case 6:
                pieces.resize(4, "LOCAL");
                pieces.push_back(Of({"X", "1", "LOCAL"}));
                Fail(c, "[x,y,マウス動作,LOCAL]意外に余分なパラメタ設定がある");
                break;
        }
        c.line = "MOUSE:" + Blanks() + Join(pieces, Of({",", ",,"})) + Blanks();
        return c;
    }

    // Captions meant for the windows "表示 - W", "W" and "Wide", in that order.
    LineCase Focus() {
        LineCase c;
        c.text = Of({"表示 - W", "W", "表示", " - W", "Wid", "Wide", "w", "X", "%PARAM1", "%param2",
                     "a\"b"});
        c.value = Substituted(c.text);
        if (OneIn(2)) {
            c.text += "*";
            c.value = c.text;
        }
        Quoted(c, "FOCUS:");
        if (c.value.empty())
            c.ok = false;  // "%PARAM2" is empty: nothing to look for
        return c;
    }

    LineCase Type() {
        LineCase c;
        c.text =
            Of({"abc", "a, b,c", "表示", "say \"hi\" now", "x y", "%PARAM1", "%clip", "%Param2"});
        c.value = Substituted(c.text);
        Quoted(c, "TYPE:");
        return c;
    }

    LineCase Launch() {
        LineCase c;
        c.text = Of({"notepad.exe", "C:\\Program Files\\a.exe", "\"C:\\Program Files\\a.exe\" /x",
                     "表.exe", "C:\\Sendmail\\WAITLIST.EXE", "%PARAM1", "x"});
        std::string program = c.text;
        if (c.text.front() == '"' || OneIn(2))
            program = "\"" + c.text + "\"" + (OneIn(4) ? " /dropped" : "");
        if (OneIn(4)) {
            program = Of({"", "\"" + c.text.substr(c.text.rfind('"') + 1)});  // no closing quote
            c.ok = c.dialogOk = false;
        }
        // A mode word alone is the command line itself: with nothing before it, a comma.
        c.mode = Range(0, 2);
        const bool comma = program.empty() || OneIn(2);
        const std::string mode = c.mode == 0 ? ""
                                 : c.mode == 1
                                     ? (comma ? Of({",WAIT", ",wait", " , Wait"}) : "WAIT")
                                 : comma ? Of({",END", " , end"})
                                         : "End";
        c.line = "LAUNCH:" + Blanks() + program + mode + Blanks();
        return c;
    }

private:
    static constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    static constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

    int Range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::size_t Index(std::size_t n) {
        return static_cast<std::size_t>(Range(0, static_cast<int>(n) - 1));
    }
    bool OneIn(int n) { return Range(1, n) == 1; }
    std::string Of(std::initializer_list<std::string> items) {
        return items.begin()[Index(items.size())];
    }
    template <typename T>
    T Pick(std::initializer_list<T> items) {
        return items.begin()[Index(items.size())];
    }
    static void Fail(LineCase& c, std::string error) {
        c.ok = c.dialogOk = false;
        c.error = std::move(error);
    }
    static std::string Nth(std::size_t piece, const char* rest) {
        return "第" + std::to_string(piece) + rest;
    }
    static std::string Hex(std::uint8_t code) {
        const char* digits = "0123456789ABCDEF";
        return {'(', digits[code >> 4], digits[code & 15], ')'};
    }
    static std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
        std::string out;
        for (std::size_t i = 0; i < parts.size(); ++i)
            out += (i ? separator : "") + parts[i];
        return out;
    }
    std::string Blanks() { return Of({"", "", " ", "\t ", "  "}); }
    std::string Cased(std::string word) {
        for (char& ch : word) {
            if (ch >= 'A' && ch <= 'Z' && OneIn(2))
                ch = static_cast<char>(ch - 'A' + 'a');
        }
        return word;
    }
    std::int32_t Coordinate() {
        return OneIn(10) ? Pick<std::int32_t>({kMax, kMin}) : Range(-3200, 3200);
    }
    // Decimal digits, sometimes with leading zeros; the extremes sometimes spelt beyond
    // the 32-bit range, which reads as the extreme.
    std::string Number(std::int32_t v) {
        if ((v == kMax || v == kMin) && OneIn(2))
            return v == kMax ? "99999999999" : "-99999999999";
        const std::string zeros = OneIn(4) ? "00" : "";
        return v < 0 ? "-" + zeros + std::to_string(-static_cast<std::int64_t>(v))
                     : zeros + std::to_string(v);
    }
    static std::string Substituted(const std::string& text) {
        std::string upper = text;
        for (char& ch : upper)
            ch = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        return upper == "%PARAM1"   ? kParam1Value
               : upper == "%CLIP"   ? kClipValue
               : upper == "%PARAM2" ? ""
                                    : text;
    }
    // FOCUS and TYPE: the text in double or single quotes, with or without something
    // after the closing quote, or bare where it is read whole; or unusable: no closing
    // quote, or nothing at all.
    void Quoted(LineCase& c, const char* keyword) {
        const std::string& t = c.text;
        const bool bare =
            t.front() != '"' && t.front() != '\'' && t.front() != ' ' && t.back() != ' ';
        std::string param = bare && OneIn(3) ? t : "\"" + t + "\"" + (OneIn(4) ? " dropped" : "");
        if (param.front() == '"' && t.find('\'') == std::string::npos && OneIn(4))
            param = "'" + t + "'";
        if (OneIn(5) && t.find('"') == std::string::npos) {
            param = Of({"", "\"" + t});
            c.ok = c.dialogOk = false;
        }
        c.line = keyword + Blanks() + param + Blanks();
    }

    std::mt19937 rng_;
};

}  // namespace zv::test
