// Cost of TYPE's clipboard save and restore on the real clipboard (under Wine, or on
// Windows). Another program's window owns the clipboard: Unicode text, a bitmap as DIB,
// several large formats of its own and some it renders only when asked for, slowly. For
// that clipboard and for a plain text one, prints the formats listed, the formats and
// megabytes back afterwards (the system's synthesised ones included), the formats lost,
// and the best times of saving and of putting back: with the paste's limits, and without
// them (what keeping everything costs). Last, an owner that never answers a render request
// (until the round is over): the time the save takes beside its budget.
//   zv_bench_clipboard.exe [MB per large format] [large formats] [slow formats] [render ms]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/window.h"
#include "engine/input.h"
#include "engine/win32/desktop_win32.h"

namespace {

constexpr UINT kFill = WM_APP + 1;  // wParam: a Fill value
enum Fill : WPARAM { kPlain = 0, kLarge = 1, kHung = 2 };
constexpr int kRounds = 3;

struct Options {
    std::size_t largeBytes = std::size_t{16} << 20;
    int largeFormats = 4;
    int slowFormats = 5;  // 1 MB each, rendered on demand
    DWORD renderMs = 400;
};

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HGLOBAL Block(std::size_t size, char fill) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return nullptr;
    std::memset(GlobalLock(block), fill, size);
    GlobalUnlock(block);
    return block;
}

HGLOBAL UnicodeText(std::size_t chars) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (chars + 1) * sizeof(wchar_t));
    auto* p = static_cast<wchar_t*>(GlobalLock(block));
    for (std::size_t i = 0; i < chars; ++i)
        p[i] = static_cast<wchar_t>(L'あ' + i % 80);
    p[chars] = 0;
    GlobalUnlock(block);
    return block;
}

// A 32-bit top-down DIB of about bytes.
HGLOBAL Dib(std::size_t bytes) {
    const LONG width = 1024;
    const LONG height = static_cast<LONG>(bytes / (width * 4));
    const std::size_t size =
        sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(width) * height * 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    GlobalUnlock(block);
    return block;
}

// The other program: owns the clipboard and renders its slow format on demand.
class ClipboardOwner : public zv::CWnd {
public:
    explicit ClipboardOwner(const Options& o)
        : options_(o), release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~ClipboardOwner() override { CloseHandle(release_); }
    bool Create() {
        return CreateEx(0, L"ZvBenchClipboardOwner", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                        GetModuleHandleW(nullptr));
    }
    HWND Handle() const { return hwnd_; }
    std::atomic<int> renders{0};  // formats rendered on demand
    // Lets a hung render answer at last.
    void Release() { SetEvent(release_); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case kFill:
                hung_ = wp == kHung;
                if (hung_)
                    ResetEvent(release_);
                Fill(wp);
                return 0;
            case WM_RENDERFORMAT:
                ++renders;
                if (hung_)
                    WaitForSingleObject(release_, INFINITE);  // a program that stopped answering
                else
                    Sleep(options_.renderMs);  // a program that takes its time to render
                SetClipboardData(static_cast<UINT>(wp), Block(std::size_t{1} << 20, 's'));
                return 0;
            case WM_RENDERALLFORMATS:
            case WM_DESTROYCLIPBOARD:
                return 0;
            default:
                return Default(msg, wp, lp);
        }
    }

private:
    void Fill(WPARAM fill) {
        if (!OpenClipboard(hwnd_))
            return;
        EmptyClipboard();
        if (fill != kLarge) {
            SetClipboardData(CF_UNICODETEXT, UnicodeText(200));
            if (fill == kHung)
                SetClipboardData(RegisterClipboardFormatW(L"ZvBenchNeverRendered"), nullptr);
            CloseClipboard();
            return;
        }
        SetClipboardData(CF_UNICODETEXT, UnicodeText(std::size_t{512} << 10));
        SetClipboardData(CF_DIB, Dib(std::size_t{8} << 20));
        for (int i = 0; i < options_.largeFormats; ++i) {
            const std::wstring name = L"ZvBenchLarge" + std::to_wstring(i);
            SetClipboardData(RegisterClipboardFormatW(name.c_str()),
                             Block(options_.largeBytes, static_cast<char>('a' + i)));
        }
        for (int i = 0; i < options_.slowFormats; ++i) {
            const std::wstring name = L"ZvBenchRenderedLate" + std::to_wstring(i);
            SetClipboardData(RegisterClipboardFormatW(name.c_str()), nullptr);
        }
        CloseClipboard();
    }

    Options options_;
    HANDLE release_;
    bool hung_ = false;
};

struct Round {
    int renders = 0;  // slow formats the save asked for
    double saveMs = 0;
    double restoreMs = 0;
    int lost = 0;
    int listed = 0;
    int back = 0;
    double backMb = 0;
};

void CountClipboard(int& formats, double& mb) {
    formats = 0;
    mb = 0;
    if (!OpenClipboard(nullptr))
        return;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
        ++formats;
        if (f == CF_BITMAP || f == CF_ENHMETAFILE || f == CF_METAFILEPICT || f == CF_PALETTE)
            continue;  // handles, not blocks
        if (HANDLE h = GetClipboardData(f); h != nullptr)
            mb += static_cast<double>(GlobalSize(h)) / (1 << 20);
    }
    CloseClipboard();
}

Round RunOnce(ClipboardOwner& owner, bool large, const zv::ClipboardSaveLimits& limits) {
    SendMessageW(owner.Handle(), kFill, large ? kLarge : kPlain, 0);
    Round r;
    double ignored = 0;
    CountClipboard(r.listed, ignored);
    SendMessageW(owner.Handle(), kFill, large ? kLarge : kPlain,
                 0);  // counting had the slow ones rendered
    owner.renders = 0;
    zv::Win32EngineDesktop desktop(10, true);
    const double start = NowMs();
    zv::CClipboardTextSaver saver(desktop, 50, limits);
    r.saveMs = NowMs() - start;
    saver.PlaceText("typed");
    r.renders = owner.renders;
    const double placed = NowMs();
    saver.Restore();
    r.restoreMs = NowMs() - placed;
    r.lost = saver.LostFormats();
    CountClipboard(r.back, r.backMb);
    return r;
}

// An owner that does not answer: the save gives the render up at its budget. The owner is
// let go afterwards, so that the reading left behind closes the clipboard again.
double HungSave(ClipboardOwner& owner, const zv::ClipboardSaveLimits& limits, int& lost) {
    SendMessageW(owner.Handle(), kFill, kHung, 0);
    zv::Win32EngineDesktop desktop(10, true);
    const double start = NowMs();
    zv::CClipboardTextSaver saver(desktop, 50, limits);
    const double saveMs = NowMs() - start;
    owner.Release();
    saver.PlaceText("typed");
    saver.Restore();
    lost = saver.LostFormats();
    return saveMs;
}

Round Report(const char* clipboard, const char* mode, ClipboardOwner& owner, bool large,
             const zv::ClipboardSaveLimits& limits) {
    Round best;
    for (int i = 0; i < kRounds; ++i) {
        const Round r = RunOnce(owner, large, limits);
        if (i == 0 || r.saveMs + r.restoreMs < best.saveMs + best.restoreMs)
            best = r;
    }
    std::printf(
        "%-22s %-14s listed %2d  back %2d (%6.1f MB)  lost %d  save %8.1f ms  restore %7.1f ms\n",
        clipboard, mode, best.listed, best.back, best.backMb, best.lost, best.saveMs,
        best.restoreMs);
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc > 1)
        options.largeBytes = static_cast<std::size_t>(std::atoi(argv[1])) << 20;
    if (argc > 2)
        options.largeFormats = std::atoi(argv[2]);
    if (argc > 3)
        options.slowFormats = std::atoi(argv[3]);
    if (argc > 4)
        options.renderMs = static_cast<DWORD>(std::atoi(argv[4]));

    ClipboardOwner owner(options);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread ownerThread([&] {
        owner.Create();
        SetEvent(ready);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        DestroyWindow(owner.Handle());
    });
    WaitForSingleObject(ready, INFINITE);
    const DWORD ownerThreadId = GetWindowThreadProcessId(owner.Handle(), nullptr);

    const zv::ClipboardSaveLimits bounded;
    zv::ClipboardSaveLimits unbounded;
    unbounded.maxBytes = std::numeric_limits<std::size_t>::max();
    unbounded.maxMs = std::numeric_limits<std::uint64_t>::max();
    char large[64];
    std::snprintf(large, sizeof large, "%dx%zu MB + %d slow", options.largeFormats,
                  options.largeBytes >> 20, options.slowFormats);
    std::printf(
        "large clipboard: Unicode text 1 MB, DIB 8 MB, %d formats of %zu MB, %d of 1 MB "
        "rendered on demand in %lu ms each; best of %d rounds\n",
        options.largeFormats, options.largeBytes >> 20, options.slowFormats,
        static_cast<unsigned long>(options.renderMs), kRounds);
    std::printf("paste limits: %zu MB, %llu ms\n", bounded.maxBytes >> 20,
                static_cast<unsigned long long>(bounded.maxMs));
    Report("plain text", "limited", owner, false, bounded);
    Report("plain text", "keep all", owner, false, unbounded);
    const Round limited = Report(large, "limited", owner, true, bounded);
    const Round all = Report(large, "keep all", owner, true, unbounded);
    // One form for benchmarks/run_all.py: the figure, then the floor it is compared with (the
    // time the other program took to render what the save asked for).
    for (const auto& [round, mode] :
         {std::pair{&limited, "with the limits"}, std::pair{&all, "keeping every format"}}) {
        std::printf(
            "BENCH\tTYPE's clipboard save and restore, %s, %s\t%.1f\t"
            "rendering the %d slow formats asked for\t%.1f\tms\n",
            large, mode, round->saveMs + round->restoreMs, round->renders,
            static_cast<double>(round->renders) * options.renderMs);
    }

    double worst = 0;
    int lost = 0;
    for (int i = 0; i < kRounds; ++i)
        worst = std::max(worst, HungSave(owner, bounded, lost));
    std::printf("%-22s %-14s save %8.1f ms (worst of %d), budget %llu ms + 100 ms: %s; lost %d\n",
                "owner never answers", "limited", worst, kRounds,
                static_cast<unsigned long long>(bounded.maxMs),
                worst <= static_cast<double>(bounded.maxMs) + 100.0 ? "within" : "OVER", lost);
    std::printf(
        "BENCH\tTYPE's clipboard save, an owner that never answers (worst of %d)\t%.1f\t"
        "the save's time budget\t%.1f\tms\n",
        kRounds, worst, static_cast<double>(bounded.maxMs));

    PostThreadMessageW(ownerThreadId, WM_QUIT, 0, 0);
    ownerThread.join();
    CloseHandle(ready);
    return 0;
}
