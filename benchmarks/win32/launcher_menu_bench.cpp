// The parts of a hotkey press on a real macro folder, each timed apart, under Windows or
// Wine: listing the folders through a search handle without opening any file (the floor),
// the platform listing the catalogue uses, a scan that reads every file, scans after no
// change with kept headers (listing every folder without watches, and with the folder
// watches, listing nothing), and building the pop-up menu from the model.
//   zv_bench_launcher_menu.exe FOLDER [DEPTH] [MAXIMUM] [ROUNDS]
// Prints one JSON line: medians in milliseconds, the folders and files listed, the macro
// items of the model and the headers kept. Files changed within the last few seconds are
// not kept (they are read at every scan), so a fair figure needs a folder left alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "common/filesystem.h"
#include "common/win32/text.h"
#include "common/win32/filetime.h"
#include "launcher/catalogue.h"
#include "launcher/win32/menubuild.h"

namespace {

using namespace zv;

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

struct Counts {
    int folders = 0;
    int files = 0;
};

// Lists folder and its subfolders down to depth through FindFirstFileW, as far as the
// catalogue goes, opening no file.
void SearchTree(const std::wstring& folder, int depth, Counts& counts) {
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    ++counts.folders;
    std::vector<std::wstring> subfolders;
    do {
        if (data.cFileName[0] == L'.')
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ++counts.files;
        else if (depth > 0)
            subfolders.push_back(folder + L"\\" + data.cFileName);
    } while (FindNextFileW(h, &data));
    FindClose(h);
    for (const std::wstring& sub : subfolders)
        SearchTree(sub, depth - 1, counts);
}

// The same walk through the file system the catalogue uses.
void ListTree(IFileSystem& fs, const std::string& folder, int depth, Counts& counts) {
    std::vector<DirEntry> entries;
    if (!fs.ListDirectory(folder, entries))
        return;
    ++counts.folders;
    for (const DirEntry& e : entries) {
        if (e.name.empty() || e.name[0] == '.')
            continue;
        if (!e.isDirectory)
            ++counts.files;
        else if (depth > 0)
            ListTree(fs, folder + "\\" + e.name, depth - 1, counts);
    }
}

// The platform's file system without folder watches: every scan lists every folder.
class UnwatchedFileSystem : public IFileSystem {
public:
    explicit UnwatchedFileSystem(IFileSystem& fs) : fs_(fs) {}
    std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool exclusive,
                                        SysError* error) override {
        return fs_.OpenRead(path, exclusive, error);
    }
    std::unique_ptr<IWriteFile> CreateWrite(const std::string& path, bool exclusive,
                                            SysError* error) override {
        return fs_.CreateWrite(path, exclusive, error);
    }
    std::unique_ptr<IWriteFile> OpenAppend(const std::string& path, SysError* error) override {
        return fs_.OpenAppend(path, error);
    }
    bool ReadAll(const std::string& path, std::string& out) override {
        return fs_.ReadAll(path, out);
    }
    bool ReplaceContent(const std::string& path, std::string_view data) override {
        return fs_.ReplaceContent(path, data);
    }
    bool Exists(const std::string& path) override { return fs_.Exists(path); }
    bool IsDirectory(const std::string& path) override { return fs_.IsDirectory(path); }
    bool MakeDirectory(const std::string& path) override { return fs_.MakeDirectory(path); }
    bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) override {
        return fs_.ListDirectory(path, entries);
    }
    std::string ErrorText(SysError error) override { return fs_.ErrorText(error); }

private:
    IFileSystem& fs_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zv_bench_launcher_menu FOLDER [DEPTH] [MAXIMUM] [ROUNDS]\n");
        return 2;
    }
    const std::wstring top = argv[1];
    const std::string topCp932 = FromWide(top);
    const int depth = argc > 2 ? _wtoi(argv[2]) : 2;
    const int maximum = argc > 3 ? _wtoi(argv[3]) : 2000;
    const int rounds = std::max(1, argc > 4 ? _wtoi(argv[4]) : 5);
    IFileSystem& fs = PlatformFileSystem();
    HDC screen = GetDC(nullptr);
    HBITMAP mark = CreateCompatibleBitmap(screen, 13, 13);
    ReleaseDC(nullptr, screen);

    UnwatchedFileSystem unwatched(fs);
    std::vector<double> search, list, fresh, keptListed, kept, menu;
    Counts counts;
    int items = 0;
    MacroHeaderCache cacheListed;
    MacroHeaderCache cache;
    for (int round = 0; round < rounds; ++round) {
        counts = {};
        double t = NowMs();
        SearchTree(top, depth, counts);
        search.push_back(NowMs() - t);

        Counts listed;
        t = NowMs();
        ListTree(fs, topCp932, depth, listed);
        list.push_back(NowMs() - t);

        t = NowMs();
        const MacroMenuModel model = CMacroCatalogue(fs, "", depth, maximum).Build(topCp932);
        fresh.push_back(NowMs() - t);
        items = model.itemCount;

        // Kept headers: the first round fills the caches, later rounds find no change.
        for (auto [files, keep, times] :
             {std::tuple<IFileSystem*, MacroHeaderCache*, std::vector<double>*>{
                  &unwatched, &cacheListed, &keptListed},
              {&fs, &cache, &kept}}) {
            t = NowMs();
            const MacroMenuModel again =
                CMacroCatalogue(*files, "", depth, maximum).Build(topCp932, *keep, FileTimeNow());
            if (round > 0 || rounds == 1)
                times->push_back(NowMs() - t);
            if (again.itemCount != model.itemCount) {
                std::fprintf(stderr, "a kept scan listed %d macros, the fresh one %d\n",
                             again.itemCount, model.itemCount);
                return 1;
            }
        }

        t = NowMs();
        HMENU popup = CreatePopupMenu();
        InsertMacroMenuItems(popup, model.items, mark, mark);
        DestroyMenu(popup);
        menu.push_back(NowMs() - t);
    }
    DeleteObject(mark);
    std::printf(
        "{\"folders\":%d,\"files\":%d,\"items\":%d,\"kept_headers\":%zu,"
        "\"kept_listings\":%zu,\"rounds\":%d,\"search_listing_ms\":%.2f,"
        "\"platform_listing_ms\":%.2f,\"fresh_scan_ms\":%.2f,\"kept_listed_scan_ms\":%.2f,"
        "\"kept_scan_ms\":%.2f,\"menu_build_ms\":%.2f}\n",
        counts.folders, counts.files, items, cache.Size(), cache.ListingCount(), rounds,
        Median(search), Median(list), Median(fresh), Median(keptListed), Median(kept),
        Median(menu));
    return 0;
}
