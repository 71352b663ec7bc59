#include "source/line_reader.h"

#include <cstring>

namespace zoltas {

namespace {
// Large enough that a read costs little per line, small enough to stay in the cache.
constexpr std::size_t kInitialCapacity = 1 << 18;
}  // namespace

bool LineReader::next(std::string_view& line) {
    std::size_t searchFrom = begin_;
    for (;;) {
        const char* data = buffer_.get();
        if (const void* found = searchFrom < end_
                                    ? std::memchr(data + searchFrom, '\n', end_ - searchFrom)
                                    : nullptr) {
            const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - data);
            const std::size_t lineEnd = (lf > begin_ && data[lf - 1] == '\r') ? lf - 1 : lf;
            line = std::string_view(data + begin_, lineEnd - begin_);
            lineOffset_ = base_ + begin_;
            begin_ = lf + 1;
            return true;
        }
        if (atEnd_) {
            if (begin_ == end_) {
                return false;
            }
            line = std::string_view(data + begin_, end_ - begin_);
            lineOffset_ = base_ + begin_;
            begin_ = end_;
            return true;
        }
        // No line feed in what is buffered: keep the partial line and read more behind it.
        searchFrom = end_ - begin_;
        if (!fill()) {
            atEnd_ = true;
        }
    }
}

bool LineReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        base_ += begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {
        const std::size_t capacity = capacity_ == 0 ? kInitialCapacity : 2 * capacity_;
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (end_ > 0) {
            std::memcpy(grown.get(), buffer_.get(), end_);
        }
        buffer_ = std::move(grown);
        capacity_ = capacity;
    }
    in_.read(buffer_.get() + end_, static_cast<std::streamsize>(capacity_ - end_));
    const auto got = static_cast<std::size_t>(in_.gcount());
    end_ += got;
    return got > 0;
}

}  // namespace zoltas
