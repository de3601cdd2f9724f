// Fuzz target of the engine's run of a whole macro file: the input is the file, run line
// by line through the six handlers on the fake desktop (virtual time), with the log
// written to memory. A run always ends and writes its closing entry.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/runner.h"
#include "unit/command_fixture.h"
#include "unit/fake_filesystem.h"

namespace {

// Counts a line may ask for (KEYIN's REP=, WAIT's idle polls) run that many rounds, even
// on a virtual clock; inputs with numbers beyond this are left out as merely slow.
bool HasHugeNumber(const std::string& input) {
    std::size_t digits = 0;
    for (char c : input) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 4)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (HasHugeNumber(input))
        return 0;
    zv::test::CommandFixture f;
    f.desk.record = false;
    f.desk.startedProcess.endsAt = 0;  // LAUNCH ...,END returns
    f.desk.windows.push_back({1, "メモ帳", 7, 0, false, {0, 0}});
    f.desk.processes[7] = {};
    f.desk.foreground = 1;
    f.desk.focus = 1;
    zv::test::MemoryFileSystem fs;
    const std::string macro = "C:\\m\\fuzz.rkm";
    const std::string log = "C:\\log.txt";
    fs.files[macro] = input;
    f.app.macroPath = macro;
    {
        zv::CRkcMacro run(f.ctx, fs, macro, log, [] { return zv::LocalTime{2020, 1, 2, 3, 4, 5}; });
        run.Run();
    }
    const std::string& written = fs.files[log];
    if (written.find("マクロ処理終了") == std::string::npos)
        __builtin_trap();
    if (f.held.AnythingHeld())
        __builtin_trap();  // every key and button pressed was released
    return 0;
}
