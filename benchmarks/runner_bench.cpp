// Cost of the macro runner per line: 10,000 "WAIT:0" lines run through the real line
// loop, dispatch and log file (KeyinWaitMSec 0, fake desktop), compared with the cost of
// only writing and flushing 10,000 log entries of the same size.
//   zv_bench_runner [folder]   (default: the system's temporary folder)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "unit/fake_desktop.h"
#include "engine/runner.h"

namespace {

constexpr int kLines = 10000;
constexpr int kRounds = 5;

using zv::bench::Median;
using zv::bench::NowUs;

}  // namespace

int main(int argc, char** argv) {
    using namespace zv;
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::string macroPath = (folder / "zv_bench_macro.rkm").string();
    const std::string logPath = (folder / "zv_bench_log.txt").string();
    IFileSystem& fs = PlatformFileSystem();

    std::string macro = "; <RKMACRO>bench\r\n";
    for (int i = 0; i < kLines; ++i)
        macro += "WAIT:0\r\n";
    if (!fs.ReplaceContent(macroPath, macro)) {
        std::fprintf(stderr, "cannot write %s\n", macroPath.c_str());
        return 1;
    }

    std::vector<double> runUs, logUs;
    for (int round = 0; round < kRounds; ++round) {
        test::FakeDesktop desk;
        desk.record = false;
        CRkCaptureApp app;
        app.settings.keyinWaitMSec = 0;
        HeldInput held(desk);
        CommandContext ctx{desk, app, held};
        const auto t0 = NowUs();
        {
            CRkcMacro run(ctx, fs, macroPath, logPath);
            run.Run();
        }
        const auto t1 = NowUs();
        runUs.push_back((t1 - t0) / kLines);

        // The same number of entries of the same size, written and flushed one by one.
        const auto t2 = NowUs();
        {
            CLog log(fs, logPath);
            for (int i = 0; i < kLines; ++i)
                log.WriteLog(StrPrintf("%4.4d行目：WAIT  : 0 mm sec", i + 2));
        }
        const auto t3 = NowUs();
        logUs.push_back((t3 - t2) / kLines);
    }
    // The runner's log of the last round: header, one entry per line, closing entry.
    std::string runLog;
    {
        test::FakeDesktop desk;
        desk.record = false;
        CRkCaptureApp app;
        app.settings.keyinWaitMSec = 0;
        HeldInput held(desk);
        CommandContext ctx{desk, app, held};
        CRkcMacro run(ctx, fs, macroPath, logPath);
        run.Run();
    }
    fs.ReadAll(logPath, runLog);
    std::size_t entries = 0;
    for (std::size_t pos = 0; (pos = runLog.find("WAIT  : 0 mm sec\r\n", pos)) != std::string::npos;
         ++pos)
        ++entries;
    if (entries != kLines) {
        std::fprintf(stderr, "the run logged %zu of %d lines\n", entries, kLines);
        return 1;
    }

    std::printf("folder: %s\n", folder.string().c_str());
    std::printf(
        "runner, %d WAIT:0 lines with the log: median %.2f us/line (best %.2f, worst %.2f)\n",
        kLines, Median(runUs), *std::min_element(runUs.begin(), runUs.end()),
        *std::max_element(runUs.begin(), runUs.end()));
    std::printf(
        "log only, %d entries written and flushed: median %.2f us/entry (best %.2f, worst %.2f)\n",
        kLines, Median(logUs), *std::min_element(logUs.begin(), logUs.end()),
        *std::max_element(logUs.begin(), logUs.end()));
    std::printf("runner overhead beyond the log: %.2f us/line\n", Median(runUs) - Median(logUs));
    std::printf("target of at most 20 us/line: %s\n", Median(runUs) <= 20.0 ? "met" : "NOT met");
    zv::bench::Report("engine runner, per WAIT:0 line (native)", Median(runUs),
                      "writing its log entry alone", Median(logUs), "us");
    std::remove(macroPath.c_str());
    std::remove(logPath.c_str());
    return 0;
}
