// Fuzz target of the launcher's reading of macro files: the input is a file's head read
// for its header and target lines, and a target caption matched against a window title
// taken from the input as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/macrofile.h"
#include "common/macrohead.h"
#include "launcher/catalogue.h"

namespace {

class BytesFile : public zv::IReadFile {
public:
    explicit BytesFile(std::string data) : data_(std::move(data)) {}
    std::size_t Read(char* buf, std::size_t size) override {
        const std::size_t n = std::min({size, data_.size() - pos_, std::size_t{97}});
        data_.copy(buf, n, pos_);
        pos_ += n;
        return n;
    }

private:
    std::string data_;
    std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    BytesFile file(input);
    zv::MacroHeader header;
    const zv::HeaderRead read = zv::ReadMacroHeader(file, header);
    if (read != zv::HeaderRead::Macro && (header.isMacro || !header.title.empty()))
        __builtin_trap();
    if (header.title.size() > zv::kReaderHeaderPrefix ||
        header.target.size() > zv::kReaderHeaderPrefix)
        __builtin_trap();
    // The caption is the input's last line, as a window title could be anything.
    const std::string caption =
        input.substr(input.rfind('\n') == std::string::npos ? 0 : input.rfind('\n') + 1);
    const zv::TargetMatch match = zv::MatchTarget(header.target, caption);
    if (header.target.empty() && match != zv::TargetMatch::Ordinary)
        __builtin_trap();
    if (!header.target.empty() && header.target == caption && match != zv::TargetMatch::Targeted)
        __builtin_trap();
    return 0;
}
