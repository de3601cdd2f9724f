// libFuzzer target for one command (chosen at build time by ZV_FUZZ_COMMAND): the input's
// first byte picks settings and the desktop's state, the rest is the parameter text. The
// parser runs on every input; the handler runs too, unless the parsed line asks for a very
// long (but legal) run, such as a repeat count in the millions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/commands.h"
#include "unit/fake_desktop.h"

namespace {

enum Command { kWait = 1, kKeyin, kType, kMouse, kFocus, kLaunch };

std::string_view Keyword(int command) {
    switch (command) {
        case kWait:
            return "WAIT:";
        case kKeyin:
            return "KEYIN:";
        case kType:
            return "TYPE:";
        case kMouse:
            return "MOUSE:";
        case kFocus:
            return "FOCUS:";
        default:
            return "LAUNCH:";
    }
}

[[noreturn]] void Fail(const char* what) {
    __builtin_printf("invariant broken: %s\n", what);
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zv;
    const std::uint8_t mode = size > 0 ? data[0] : 0;
    const std::string params(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                             size > 0 ? size - 1 : 0);
    const std::string line = std::string(Keyword(ZV_FUZZ_COMMAND)) + params;

    test::FakeDesktop desk;
    desk.record = false;
    desk.windows = {{0x10, "W", 3}, {0x20, params, 4, 0, (mode & 1) != 0}};
    desk.processes[3] = {(mode & 2) ? test::kNever : 0};
    desk.foreground = (mode & 4) ? 0 : 0x10;
    desk.focus = 0x11;
    desk.clipboardBusyUntil = (mode & 8) ? 250 : 0;
    desk.SetClipboardTextFormat("keep");
    desk.startedProcess.endsAt = (mode & 16) ? 5000 : 0;
    CRkCaptureApp app;
    app.params.param1 = params;
    app.settings.mouseMoveReal = (mode & 32) ? 1 : 0;
    app.settings.focusCheckRetry = 3;
    HeldInput held(desk);
    CommandContext ctx{desk, app, held};
    std::string result;

    bool run = true;
    switch (ZV_FUZZ_COMMAND) {
        case kWait: {
            const WaitParams p = ParseWait(line);
            run = !p.ok || p.loops <= 1000;
            if (run && ExecWait(ctx, line, result) != p.ok)
                Fail("WAIT outcome");
            break;
        }
        case kKeyin: {
            const KeyinParams p = ParseKeyin(line);
            run = !p.ok || p.repeat <= 20;
            if (run && ExecKeyin(ctx, line, result) != p.ok)
                Fail("KEYIN outcome");
            break;
        }
        case kType:
            ParseType(line, app.params, desk);
            ExecType(ctx, line, result);
            break;
        case kMouse: {
            const MouseParse p = ParseMouse(line);
            const bool ok = ExecMouse(ctx, line, result);
            if (ok && !p.ok)
                Fail("MOUSE outcome");
            break;
        }
        case kFocus:
            ParseFocus(line, app.params, desk);
            ExecFocus(ctx, line, result);
            break;
        default: {
            const LaunchParse p = ParseLaunch(line);
            if (ExecLaunch(ctx, line, result) != p.ok)
                Fail("LAUNCH outcome");
            break;
        }
    }
    if (run) {
        if (held.AnythingHeld())
            Fail("input left held");
        if (!(desk.mouseParams == MouseParams{6, 10, 1, 4}))
            Fail("pointer settings not restored");
        if (desk.ClipboardTextNow() != std::optional<std::string>("keep"))
            Fail("clipboard not restored");
    }
    return 0;
}
