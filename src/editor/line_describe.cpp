#include "editor/line_describe.h"

#include "common/syntax/linecheck.h"
#include "editor/focus_dialog.h"
#include "editor/keyin_dialog.h"
#include "editor/launch_dialog.h"
#include "editor/mouse_dialog.h"
#include "editor/type_dialog.h"
#include "editor/wait_dialog.h"

namespace zv {

LineView DescribeLine(std::string_view line) {
    LineView v;
    v.refused = !EngineAcceptsLine(line);
    v.type = CommandTypeOfLine(line);
    switch (v.type) {
        case kCmdLaunch:
            v.description = DescribeLaunchLine(line);
            break;
        case kCmdFocus:
            v.description = DescribeFocusLine(line);
            break;
        case kCmdWait:
            v.description = DescribeWaitLine(line);
            break;
        case kCmdKeyin:
            v.description = DescribeKeyinLine(line);
            break;
        case kCmdType:
            v.description = DescribeTypeLine(line);
            break;
        case kCmdMouse:
            v.description = DescribeMouseLine(line);
            break;
        default:
            return v;
    }
    v.label = kEditorCommands[static_cast<std::size_t>(v.type)].label;
    return v;
}

}  // namespace zv
