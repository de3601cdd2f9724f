// A file over fuzz input that gives at most `chunk` bytes per read, so readers meet
// their buffer edges at odd places.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "common/filesystem.h"

namespace zv::fuzz {

class BytesFile : public IReadFile {
public:
    BytesFile(std::string data, std::size_t chunk) : data_(std::move(data)), chunk_(chunk) {}
    std::size_t Read(char* buf, std::size_t size) override {
        const std::size_t n = std::min({size, data_.size() - pos_, chunk_});
        data_.copy(buf, n, pos_);
        pos_ += n;
        return n;
    }

private:
    std::string data_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

}  // namespace zv::fuzz
