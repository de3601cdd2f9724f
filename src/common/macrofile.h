// RK macro file container: header and target lines, line kinds, the keyword table and
// the three operations on parameter text shared by the command handlers and the editor.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

inline constexpr std::string_view kHeaderTag = "<RKMACRO>";
inline constexpr std::string_view kTargetTag = "<TARGET>";

// How much of line 1 a reader examines: the engine 63 bytes, the launcher and editor 255.
inline constexpr std::size_t kEngineHeaderPrefix = 63;
inline constexpr std::size_t kReaderHeaderPrefix = 255;

// The tag rule of the header and target lines: in an upper-cased copy of line, the
// first occurrence of tag lies at byte offset 1 or more. Returns that offset, or npos.
std::size_t FindHeaderTag(std::string_view line, std::string_view tag);

// True when the first `prefix` bytes of line 1 make it a header line.
bool IsHeaderLine(std::string_view firstLine, std::size_t prefix);

// The value after tag in line (title or target caption): the text after the tag with
// trailing spaces, CRs and LFs removed; leading spaces stay. found tells whether the
// tag was present; the value is empty when it was not.
std::string ReadHeaderValue(std::string_view line, std::string_view tag, bool& found);

enum class LineKind { Empty, Comment, Command };

// Kind of a line that has already been stripped of white space.
LineKind ClassifyLine(std::string_view stripped);

enum class CommandKind { Launch, Focus, Wait, Keyin, Type, Mouse };

struct KeywordEntry {
    std::string_view keyword;  // upper case, colon included
    CommandKind kind;
};

// The six keywords in the order in which a line is matched against them.
inline constexpr std::array<KeywordEntry, 6> kKeywordTable{{
    {"LAUNCH:", CommandKind::Launch},
    {"FOCUS:", CommandKind::Focus},
    {"WAIT:", CommandKind::Wait},
    {"KEYIN:", CommandKind::Keyin},
    {"TYPE:", CommandKind::Type},
    {"MOUSE:", CommandKind::Mouse},
}};

// The command a stripped line names: its upper-cased copy begins with a keyword.
std::optional<CommandKind> MatchKeyword(std::string_view strippedLine);

// Everything after the first ':' of a command line, stripped of white space.
std::string GetParamText(std::string_view line);

// Removes enclosing double or single quotes; the closing quote is the last one of
// that kind and anything after it is dropped. False for an empty text and for an
// opening quote without a closing one (the text is then unspecified).
bool StripQuotes(std::string& text);

// Source of the clipboard's plain text for "%CLIP": nothing when the clipboard cannot
// be opened or holds no text.
class IClipboardTextSource {
public:
    virtual ~IClipboardTextSource() = default;
    virtual std::optional<std::string> ReadClipboardText() = 0;
};

// The run-time values of "/1:" and "/2:".
struct RunParameters {
    std::string param1;
    std::string param2;
};

// Replaces a text that consists of one token alone ("%PARAM1", "%PARAM2", "%CLIP",
// any letter case) by its value; any other text is left unchanged.
void SubstituteParam(std::string& text, const RunParameters& params,
                     IClipboardTextSource& clipboard);

}  // namespace zv
