// Cost of reading and writing a macro of 10,000 command lines through the editor's
// document (file read, parsing into fields and lines, the line list filled; composing
// the layout, saving through a temporary file), against the floor of reading and
// writing the same bytes with no parsing. Target: read + write under 50 ms and within
// 3 times the floor.
//   zv_bench_editor_document [folder]   (default: the system's temporary folder)
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "common/filesystem.h"
#include "editor/document.h"

namespace {

constexpr int kRounds = 41;
constexpr int kLines = 10000;

using zv::bench::Median;
using zv::bench::NowUs;

// A macro of the usual mix: every command, Japanese text, a few long lines.
zv::MacroContent SampleMacro() {
    zv::MacroContent content;
    content.title = "日報の入力 (ベンチマーク)";
    content.global = false;
    content.target = "日報 - メモ帳*";
    content.description = "一万行のマクロ\r\n読み書きの速さを見る";
    const char* samples[] = {
        "LAUNCH:\"C:\\Program Files\\表計算\\calc.exe\",1",
        "FOCUS:\"無題 - メモ帳\",10",
        "WAIT:500,0",
        "KEYIN:CONTROL+S,REP=2",
        "TYPE:\"本日の作業報告：%PARAM1\"",
        "MOUSE:L,120,340,LOCAL",
    };
    for (int i = 0; i < kLines; ++i) {
        std::string line = samples[i % 6];
        if (i % 97 == 0)
            line += std::string(300, 'x');
        content.lines.push_back(std::move(line));
    }
    return content;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        (argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path()) /
        "zv_bench_editor_document";
    std::filesystem::create_directories(folder);
    const std::string source = (folder / "source.txt").string();
    const std::string docCopy = (folder / "document.txt").string();
    const std::string floorCopy = (folder / "floor.txt").string();

    zv::IFileSystem& fs = zv::PlatformFileSystem();
    if (!zv::SaveMacroFile(fs, source, SampleMacro())) {
        std::printf("cannot write %s\n", source.c_str());
        return 1;
    }

    std::vector<double> docRead, docWrite, floorRead, floorWrite;
    std::size_t bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        zv::EditorDocument doc;
        double t0 = NowUs();
        const bool loaded = doc.Load(fs, source).ok;
        double t1 = NowUs();
        const bool saved = doc.Save(fs, docCopy).ok;
        double t2 = NowUs();
        if (!loaded || !saved || doc.List().Count() != kLines) {
            std::printf("document read or write failed\n");
            return 1;
        }
        docRead.push_back(t1 - t0);
        docWrite.push_back(t2 - t1);

        std::string data;
        t0 = NowUs();
        const bool read = fs.ReadAll(source, data);
        t1 = NowUs();
        const bool written = fs.ReplaceContent(floorCopy, data);
        t2 = NowUs();
        if (!read || !written) {
            std::printf("floor read or write failed\n");
            return 1;
        }
        bytes = data.size();
        floorRead.push_back(t1 - t0);
        floorWrite.push_back(t2 - t1);
    }

    std::string a, b;
    fs.ReadAll(source, a);
    fs.ReadAll(docCopy, b);
    const double doc = Median(docRead) + Median(docWrite);
    const double floor = Median(floorRead) + Median(floorWrite);
    std::printf("%d command lines, %zu bytes, %d rounds each, interleaved, warm file cache\n",
                kLines, bytes, kRounds);
    std::printf("document read   %8.3f ms   floor read   %8.3f ms\n", Median(docRead) / 1e3,
                Median(floorRead) / 1e3);
    std::printf("document write  %8.3f ms   floor write  %8.3f ms\n", Median(docWrite) / 1e3,
                Median(floorWrite) / 1e3);
    std::printf("read + write    %8.3f ms   floor        %8.3f ms   ratio %.2f\n", doc / 1e3,
                floor / 1e3, doc / floor);
    zv::bench::Report("editor document, 10,000 lines read + written (native)", doc / 1e3,
                      "reading and writing the same bytes", floor / 1e3, "ms");
    std::printf("target: under 50 ms and within 3x of the floor; written file %s the source\n",
                a == b ? "equals" : "DIFFERS FROM");
    std::filesystem::remove_all(folder);
    return 0;
}
