// libFuzzer target for one command (chosen at build time by ZV_FUZZ_COMMAND): the input's
// first byte picks settings and the desktop's state, the rest is the parameter text. The
// handler runs on it; afterwards nothing is held, the pointer settings and the clipboard
// are back, and a failed line sent no input.
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

    // Lines that ask for a very long but legal run (a repeat count in the millions) are
    // only parsed.
    bool run = true;
    bool ok = false;
    switch (ZV_FUZZ_COMMAND) {
        case kWait: {
            const WaitParams p = ParseWait(line);
            run = !p.ok || p.loops <= 1000;
            ok = run && ExecWait(ctx, line, result);
            break;
        }
        case kKeyin: {
            const KeyinParams p = ParseKeyin(line);
            run = !p.ok || p.repeat <= 20;
            ok = run && ExecKeyin(ctx, line, result);
            break;
        }
        case kType:
            ok = ExecType(ctx, line, result);
            break;
        case kMouse:
            ok = ExecMouse(ctx, line, result);
            break;
        case kFocus:
            ok = ExecFocus(ctx, line, result);
            break;
        default:
            ok = ExecLaunch(ctx, line, result);
            break;
    }
    if (run) {
        if (!ok && desk.inputs != 0)
            Fail("input after a failure");
        if (held.AnythingHeld())
            Fail("input left held");
        if (!(desk.mouseParams == MouseParams{6, 10, 1, 4}))
            Fail("pointer settings not restored");
        if (desk.ClipboardTextNow() != std::optional<std::string>("keep"))
            Fail("clipboard not restored");
    }
    return 0;
}
