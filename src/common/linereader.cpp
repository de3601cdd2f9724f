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

bool HeadReader::Fill() {
    pos_ = 0;
    end_ = file_.Read(buf_, firstRead_ != 0 ? firstRead_ : sizeof buf_);
    firstRead_ = 0;
    return end_ > 0;
}

bool HeadReader::ReadLinePrefix(std::size_t max, std::string& line) {
    line.clear();
    lineEnded_ = false;
    bool any = false;
    bool storing = true;
    for (std::size_t taken = 0; taken < max;) {
        if (pos_ == end_ && !Fill())
            return any;
        any = true;
        const char* start = buf_ + pos_;
        const std::size_t avail = std::min(end_ - pos_, max - taken);
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const std::size_t n = lf != nullptr ? static_cast<std::size_t>(lf - start) : avail;
        if (storing) {
            const char* zero = static_cast<const char*>(std::memchr(start, '\0', n));
            line.append(start, zero != nullptr ? static_cast<std::size_t>(zero - start) : n);
            storing = zero == nullptr;
        }
        pos_ += n;
        taken += n;
        if (lf != nullptr) {
            ++pos_;
            if (storing && !line.empty() && line.back() == '\r')
                line.pop_back();
            lineEnded_ = true;
            return true;
        }
    }
    // Taken max bytes: a CR as the last of them still belongs to a CR LF that follows.
    if (storing && !line.empty() && line.back() == '\r' && (pos_ < end_ || Fill()) &&
        buf_[pos_] == '\n') {
        line.pop_back();
        ++pos_;
        lineEnded_ = true;
    }
    return any;
}

bool HeadReader::SkipRestOfLine(std::size_t maxBytes) {
    std::size_t skipped = 0;
    for (;;) {
        if (pos_ == end_ && !Fill())
            return false;
        const void* lf = std::memchr(buf_ + pos_, '\n', end_ - pos_);
        if (lf != nullptr) {
            pos_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buf_) + 1;
            return true;
        }
        skipped += end_ - pos_;
        pos_ = end_;
        if (skipped > maxBytes)
            return false;
    }
}

bool ReadFirstLinePrefix(IReadFile& file, std::size_t maxBytes, std::string& line) {
    // Two bytes more than the prefix decide whether a CR at the limit ends the line.
    HeadReader reader(file, maxBytes + 2);
    return reader.ReadLinePrefix(maxBytes, line);
}

}  // namespace zv
