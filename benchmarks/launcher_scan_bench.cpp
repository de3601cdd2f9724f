// Cost of building the hotkey menu's model from a macro folder tree on real files,
// compared with the floor of only opening every file and reading its first 256 bytes; and
// the model built with kept headers after no change, compared with only listing the
// folders. Two trees: 100 macro files in one folder, and 2000 spread over two folder
// levels. The trees are left alone for a few seconds first, so their headers are kept.
// Folders are listed with the host's readdir, as the program lists them with the
// system's own FindFirstFileW; a second line per tree shows the cost with the portable
// std::filesystem listing of the native build instead.
//   zv_bench_launcher_scan [folder]   (default: the system's temporary folder)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bench_timing.h"
#include "launcher/catalogue.h"
#include "common/cp932.h"
#include "common/filesystem.h"

namespace {

constexpr int kRounds = 41;

using zv::bench::Median;
using zv::bench::NowUs;

zv::FileTime FileTimeNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return (ts.tv_sec + 11644473600) * zv::kFileTimeTicksPerSecond + ts.tv_nsec / 100;
}

double Min(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// The catalogue joins paths with backslashes, as on Windows; this file system turns them
// into the host's separators before the standard-library one sees them.
class BackslashFileSystem : public zv::IFileSystem {
public:
    explicit BackslashFileSystem(zv::IFileSystem& host) : host_(host) {}
    static std::string Host(const std::string& p) { return zv::ReplaceSingleByte(p, '\\', '/'); }
    std::unique_ptr<zv::IReadFile> OpenRead(const std::string& p, bool ex,
                                            zv::SysError* e) override {
        return host_.OpenRead(Host(p), ex, e);
    }
    std::unique_ptr<zv::IWriteFile> CreateWrite(const std::string& p, bool ex,
                                                zv::SysError* e) override {
        return host_.CreateWrite(Host(p), ex, e);
    }
    std::unique_ptr<zv::IWriteFile> OpenAppend(const std::string& p, zv::SysError* e) override {
        return host_.OpenAppend(Host(p), e);
    }
    bool ReadAll(const std::string& p, std::string& out) override {
        return host_.ReadAll(Host(p), out);
    }
    bool ReplaceContent(const std::string& p, std::string_view d) override {
        return host_.ReplaceContent(Host(p), d);
    }
    bool Exists(const std::string& p) override { return host_.Exists(Host(p)); }
    bool IsDirectory(const std::string& p) override { return host_.IsDirectory(Host(p)); }
    bool MakeDirectory(const std::string& p) override { return host_.MakeDirectory(Host(p)); }
    bool ListDirectory(const std::string& p, std::vector<zv::DirEntry>& e) override {
        if (portableListing)
            return host_.ListDirectory(Host(p), e);
        e.clear();
        const std::string dir = Host(p);
        DIR* d = opendir(dir.c_str());
        if (d == nullptr)
            return false;
        while (const dirent* entry = readdir(d)) {
            // The stamps the catalogue keeps headers by, as the system's listing gives them.
            struct stat st {};
            if (stat((dir + "/" + entry->d_name).c_str(), &st) != 0)
                continue;
            zv::DirEntry& out = e.emplace_back();
            out.name = entry->d_name;
            out.isDirectory = S_ISDIR(st.st_mode);
            out.lastWrite = ToFileTime(st.st_mtim);
            out.changed = ToFileTime(st.st_ctim);
            out.size = static_cast<std::uint64_t>(st.st_size);
        }
        closedir(d);
        return true;
    }
    static zv::FileTime ToFileTime(const timespec& t) {
        return (t.tv_sec + 11644473600) * zv::kFileTimeTicksPerSecond + t.tv_nsec / 100;
    }
    bool portableListing = false;
    std::string ErrorText(zv::SysError e) override { return host_.ErrorText(e); }

private:
    zv::IFileSystem& host_;
};

std::string MacroText(int n) {
    std::string text = "; <RKMACRO>マクロ " + std::to_string(n) + "\r\n";
    if (n % 5 == 0)
        text += "; <TARGET>無題 - メモ帳*\r\n";
    text += "\r\n; 説明の行です。\r\n\r\n";
    for (int i = 0; i < 12; ++i)
        text += "KEYIN:CTRL+C\r\nWAIT:100\r\nTYPE:\"定型文の入力 " + std::to_string(i) + "\"\r\n";
    return text;
}

// Writes count macro files (and a few other files) into folder; returns their paths.
void WriteFiles(zv::IFileSystem& fs, const std::string& folder, int count, int& serial,
                std::vector<std::string>& paths) {
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "\\m" + std::to_string(serial) + ".rkm";
        fs.ReplaceContent(path, MacroText(serial++));
        paths.push_back(path);
    }
}

struct Tree {
    std::string top;
    std::vector<std::string> files;
};

Tree MakeFlat(zv::IFileSystem& fs, const std::string& base) {
    Tree t{base + "\\flat", {}};
    fs.MakeDirectory(t.top);
    int serial = 0;
    WriteFiles(fs, t.top, 100, serial, t.files);
    return t;
}

// 50 files on top, 10 folders of 45 files, each with 5 folders of 30 files: 2000 files.
Tree MakeDeep(zv::IFileSystem& fs, const std::string& base) {
    Tree t{base + "\\deep", {}};
    fs.MakeDirectory(t.top);
    int serial = 0;
    WriteFiles(fs, t.top, 50, serial, t.files);
    for (int a = 0; a < 10; ++a) {
        const std::string l1 = t.top + "\\フォルダ" + std::to_string(a);
        fs.MakeDirectory(l1);
        WriteFiles(fs, l1, 45, serial, t.files);
        for (int b = 0; b < 5; ++b) {
            const std::string l2 = l1 + "\\sub" + std::to_string(b);
            fs.MakeDirectory(l2);
            WriteFiles(fs, l2, 30, serial, t.files);
        }
    }
    return t;
}

// Lists folder and its subfolders down to depth, as the catalogue walks them.
void ListTree(zv::IFileSystem& fs, const std::string& folder, int depth) {
    std::vector<zv::DirEntry> entries;
    if (!fs.ListDirectory(folder, entries))
        return;
    for (const zv::DirEntry& e : entries) {
        if (e.isDirectory && e.name[0] != '.' && depth > 0)
            ListTree(fs, folder + "\\" + e.name, depth - 1);
    }
}

void Measure(zv::IFileSystem& fs, const char* name, const Tree& tree, int maximum, bool report) {
    std::vector<double> scan, floor, kept, listing;
    int items = 0;
    zv::MacroHeaderCache cache;
    for (int round = 0; round < kRounds; ++round) {
        double t0 = NowUs();
        const zv::MacroMenuModel model =
            zv::CMacroCatalogue(fs, "無題 - メモ帳", 2, maximum).Build(tree.top);
        scan.push_back(NowUs() - t0);
        items = model.itemCount;

        t0 = NowUs();
        char buf[256];
        std::size_t bytes = 0;
        for (const std::string& path : tree.files) {
            std::unique_ptr<zv::IReadFile> f = fs.OpenRead(path, false, nullptr);
            if (f)
                bytes += f->Read(buf, sizeof buf);
        }
        floor.push_back(NowUs() - t0);
        if (bytes == 0)
            std::printf("nothing read\n");

        // The first round fills the kept headers; the later ones find nothing changed.
        t0 = NowUs();
        zv::CMacroCatalogue(fs, "無題 - メモ帳", 2, maximum).Build(tree.top, cache, FileTimeNow());
        if (round > 0)
            kept.push_back(NowUs() - t0);

        t0 = NowUs();
        ListTree(fs, tree.top, 2);
        listing.push_back(NowUs() - t0);
    }
    const double s = Median(scan) / 1000, f = Median(floor) / 1000;
    const double sMin = Min(scan) / 1000, fMin = Min(floor) / 1000;
    const double k = Median(kept) / 1000, l = Median(listing) / 1000;
    std::printf(
        "%-24s files %4zu listed %4d | median: menu model %6.2f ms, open+read 256 B %6.2f ms, "
        "ratio %.2f"
        " | best: %6.2f ms, %6.2f ms, ratio %.2f\n",
        name, tree.files.size(), items, s, f, s / f, sMin, fMin, sMin / fMin);
    std::printf(
        "%-24s kept headers %4zu        | median: menu model %6.2f ms, listing only    %6.2f ms, "
        "ratio %.2f\n",
        "", cache.Size(), k, l, k / l);
    if (!report)
        return;
    const std::string files = std::to_string(tree.files.size()) + " files";
    zv::bench::Report(("hotkey menu model reading every file, " + files).c_str(), s,
                      "opening and reading 256 B of every file", f, "ms");
    zv::bench::Report(("hotkey menu model with kept headers, " + files).c_str(), k,
                      "listing the same folders", l, "ms");
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path base =
        (argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path()) /
        "zv_launcher_bench";
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    BackslashFileSystem fs(zv::PlatformFileSystem());
    const std::string root = base.string();
    const Tree flat = MakeFlat(fs, root);
    const Tree deep = MakeDeep(fs, root);
    sleep(4);  // files changed within the last seconds are read at every scan
    std::printf("%d rounds each, interleaved, warm file cache\n", kRounds);
    Measure(fs, "100 files, one folder", flat, 100, true);
    Measure(fs, "2000 files over depth 2", deep, 2000, true);
    fs.portableListing = true;
    Measure(fs, "  std::filesystem listing", flat, 100, false);
    Measure(fs, "  std::filesystem listing", deep, 2000, false);
    std::filesystem::remove_all(base);
    return 0;
}
