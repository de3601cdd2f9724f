#include "common/filesystem.h"

#include <algorithm>
#include <cstring>

namespace zv {

bool LineReader::Fill() {
    if (eof_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    const std::size_t got = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool LineReader::ReadLine(std::string& line) {
    line.clear();
    std::size_t scanned = begin_;
    for (;;) {
        const char* start = buffer_.data() + scanned;
        const char* hit = static_cast<const char*>(std::memchr(start, '\n', end_ - scanned));
        if (hit != nullptr) {
            const std::size_t lf = static_cast<std::size_t>(hit - buffer_.data());
            std::size_t stop = lf;
            if (stop > begin_ && buffer_[stop - 1] == '\r')
                --stop;
            line.assign(buffer_.data() + begin_, stop - begin_);
            begin_ = lf + 1;
            return true;
        }
        const std::size_t consumed = end_ - begin_;
        if (!Fill()) {
            if (end_ == begin_)
                return false;
            line.assign(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        scanned = begin_ + consumed;  // Fill moved the unread bytes to the front
    }
}

bool ReadFirstLinePrefix(IReadFile& file, std::size_t maxBytes, std::string& line) {
    line.clear();
    // One byte more than needed decides whether a CR at the limit belongs to a CR LF.
    std::vector<char> buf(maxBytes + 2);
    std::size_t have = 0;
    while (have < buf.size()) {
        const std::size_t got = file.Read(buf.data() + have, buf.size() - have);
        if (got == 0)
            break;
        have += got;
    }
    if (have == 0)
        return false;
    std::size_t stop = std::find(buf.data(), buf.data() + have, '\n') - buf.data();
    if (stop < have && stop > 0 && buf[stop - 1] == '\r')
        --stop;
    line.assign(buf.data(), std::min(stop, maxBytes));
    return true;
}

}  // namespace zv
