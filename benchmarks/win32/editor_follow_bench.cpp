// What following a run costs the engine, under Windows or Wine: the real RkEngine.exe,
// started as the editor starts it, on a long macro, alone and with the editor's log
// reader (RunLogFollower over the real file system, read on a thread timer of the
// editor's period, as the editor's window reads it), in turns; then the time from a log
// entry being written to that reader seeing it, on a macro whose lines come apart.
//   zv_bench_editor_follow.exe PROGRAM-FOLDER MACRO ROUNDS SPACED-MACRO
// The time an entry is written is taken as the moment a second reader, polling every
// millisecond on a thread of its own, first sees it. Prints the figures as text; the last
// line is one JSON object: medians and bests in milliseconds, the entries followed, the
// processor time the reader took per run (beyond what waiting for the engine alone takes).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/filesystem.h"
#include "common/folders.h"
#include "common/programstart.h"
#include "common/win32/runprogram_win32.h"
#include "editor/macro_run.h"

namespace {

using namespace zv;

constexpr DWORD kRunBoundMs = 600000;

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The processor time this thread has used, user and kernel.
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) |
                                   f.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

std::string LogPath() {
    return GetAppDataFolder(false) + std::string(kRunLogFileName);
}

// The moment each run line's entry was first seen, by file line.
using SeenAt = std::map<int, double>;

void Record(const RunLogState& state, SeenAt& seen) {
    const double now = NowMs();
    for (const int line : state.ranLines)
        seen.emplace(line, now);
}

// The reference reader: polls every millisecond until told to stop.
struct Reference {
    std::string macro;
    std::atomic<bool> stop{false};
    SeenAt seen;
};

DWORD WINAPI ReferenceThread(void* param) {
    Reference& ref = *static_cast<Reference*>(param);
    RunLogFollower follower(LogPath(), ref.macro);
    while (!ref.stop.load()) {
        if (follower.Poll(PlatformFileSystem()))
            Record(follower.State(), ref.seen);
        Sleep(1);
    }
    return 0;
}

struct Run {
    double ms = 0;
    bool ok = false;
    std::size_t ran = 0;  // entries the editor's reader took
    bool ended = false;   // the reader saw the engine's end
    double cpuMs = 0;     // processor time of this thread while the engine ran
    SeenAt seen;
};

// One run of the engine on macro, from its start to its process's end. With follow, the
// editor's reader reads the log on each tick of a timer of the editor's period.
Run RunEngine(const std::string& programFolder, const std::string& macro, bool follow) {
    Run run;
    const LaunchAction action = EngineRunAction(programFolder, macro);
    RunLogFollower follower(LogPath(), macro);
    const double start = NowMs();
    const double cpuStart = ThreadCpuMs();
    UniqueHandle process = StartProgram(action.target, action.show);
    if (!process) {
        std::fprintf(stderr, "cannot start %s\n", action.target.c_str());
        return run;
    }
    const UINT_PTR timer = follow ? SetTimer(nullptr, 0, kRunFollowMs, nullptr) : 0;
    HANDLE h = process.Get();
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, kRunBoundMs, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            break;
        if (r != WAIT_OBJECT_0 + 1) {
            std::fprintf(stderr, "the engine did not end\n");
            TerminateProcess(h, 1);
            return run;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && follow && follower.Poll(PlatformFileSystem()))
                Record(follower.State(), run.seen);
        }
    }
    run.ms = NowMs() - start;
    run.cpuMs = ThreadCpuMs() - cpuStart;
    if (timer != 0)
        KillTimer(nullptr, timer);
    if (follow) {
        // What the log gained since the last tick, as the editor reads it at the end.
        if (follower.Poll(PlatformFileSystem()))
            Record(follower.State(), run.seen);
        run.ran = follower.State().ranLines.size();
        run.ended = follower.State().ended;
    }
    run.ok = true;
    return run;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "zv_bench_editor_follow.exe PROGRAM-FOLDER MACRO ROUNDS SPACED-MACRO\n");
        return 2;
    }
    auto narrow = [](const wchar_t* w) {
        std::string s;
        for (; *w; ++w)
            s += static_cast<char>(*w);  // the bench's paths are ASCII
        return s;
    };
    std::string folder = narrow(argv[1]);
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    const std::string macro = narrow(argv[2]);
    const int rounds = std::max(1, _wtoi(argv[3]));
    const std::string spaced = narrow(argv[4]);

    // Alone and followed in turns, so that the machine's other load falls on both alike.
    std::vector<double> alone, followed;
    double readerCpu = 0;  // summed over the rounds: the thread times come in coarse ticks
    std::size_t entries = 0;
    for (int i = 0; i < rounds; ++i) {
        const Run a = RunEngine(folder, macro, false);
        const Run f = RunEngine(folder, macro, true);
        if (!a.ok || !f.ok)
            return 1;
        if (!f.ended) {
            std::fprintf(stderr, "the reader did not see the run's end (%zu entries)\n", f.ran);
            return 1;
        }
        alone.push_back(a.ms);
        followed.push_back(f.ms);
        readerCpu += f.cpuMs - a.cpuMs;
        entries = f.ran;
        std::printf(
            "round %d: alone %.0f ms, followed %.0f ms (%zu entries read; processor "
            "time %.0f ms alone, %.0f ms followed)\n",
            i + 1, a.ms, f.ms, f.ran, a.cpuMs, f.cpuMs);
    }

    Reference ref;
    ref.macro = spaced;
    HANDLE thread = CreateThread(nullptr, 0, ReferenceThread, &ref, 0, nullptr);
    if (thread == nullptr)
        return 1;
    const Run f = RunEngine(folder, spaced, true);
    ref.stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (!f.ok || !f.ended)
        return 1;
    std::vector<double> lags;
    for (const auto& [line, at] : f.seen) {
        const auto written = ref.seen.find(line);
        if (written != ref.seen.end())
            lags.push_back(std::max(0.0, at - written->second));
    }
    if (lags.empty()) {
        std::fprintf(stderr, "no entry of the spaced run was seen by both readers\n");
        return 1;
    }
    const double lagMedian = Median(lags);
    const double lagMax = *std::max_element(lags.begin(), lags.end());
    std::printf("follow latency over %zu entries: median %.1f ms, max %.1f ms (period %u ms)\n",
                lags.size(), lagMedian, lagMax, kRunFollowMs);
    std::printf(
        "{\"alone_ms\": %.1f, \"followed_ms\": %.1f, \"alone_best_ms\": %.1f, "
        "\"followed_best_ms\": %.1f, \"entries\": %zu, \"reader_cpu_ms\": %.1f, "
        "\"lag_median_ms\": %.1f, \"lag_max_ms\": %.1f, \"lag_entries\": %zu, "
        "\"period_ms\": %u}\n",
        Median(alone), Median(followed), *std::min_element(alone.begin(), alone.end()),
        *std::min_element(followed.begin(), followed.end()), entries, readerCpu / rounds, lagMedian,
        lagMax, lags.size(), kRunFollowMs);
    return 0;
}
