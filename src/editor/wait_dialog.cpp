#include "editor/wait_dialog.h"

#include "common/strutil.h"
#include "common/syntax/wait.h"

namespace zv {

WaitLineParse ParseWaitLine(std::string_view line) {
    WaitLineParse p;
    if (line.empty())
        return p;
    // The engine refuses an empty parameter text; the dialog reads it as 0 and 0.
    if (DialogParamText(line).empty()) {
        p.ok = true;
        return p;
    }
    const WaitParams w = ParseWait(WithParamColon(line));
    p.ok = w.ok;
    p.fields = {w.waitMs, w.loops};
    return p;
}

std::string ComposeWaitLine(const WaitFields& fields) {
    return StrPrintf("%s%d,%d", "WAIT:", fields.timeMs, fields.repetitions);
}

LineDescription DescribeWaitLine(std::string_view line) {
    const WaitLineParse p = ParseWaitLine(line);
    if (!p.ok)
        return {std::string(line), false};
    return {
        StrPrintf("%d mm秒 アイドルまでの繰り返し %d 回", p.fields.timeMs, p.fields.repetitions),
        true};
}

WaitFields OpenWaitDialog(std::string_view entryLine) {
    return ParseWaitLine(entryLine).fields;
}

DialogOk<WaitField> ConfirmWaitDialog(const WaitDialogTexts& texts) {
    using Ok = DialogOk<WaitField>;
    WaitFields fields;
    if (const auto time = ReadIntField(texts.time, kWaitTimeRange))
        fields.timeMs = *time;
    else
        return Ok::Refuse(IntRangeMessage(kWaitTimeRange), WaitField::Time);
    if (const auto reps = ReadIntField(texts.repetitions, kWaitRepetitionRange))
        fields.repetitions = *reps;
    else
        return Ok::Refuse(IntRangeMessage(kWaitRepetitionRange), WaitField::Repetitions);
    return Ok::CloseWith(ComposeWaitLine(fields));
}

}  // namespace zv
