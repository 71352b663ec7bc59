#include "source/line_reader.h"

#include <cstring>

namespace zoltas {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

bool LineReader::next(std::string_view& line) {
    std::size_t searchFrom = start_;
    for (;;) {
        const char* begin = buffer_.data() + start_;
        const char* from = buffer_.data() + searchFrom;
        const char* end = buffer_.data() + buffer_.size();
        if (const void* found = std::memchr(from, '\n', static_cast<std::size_t>(end - from))) {
            const char* lf = static_cast<const char*>(found);
            const char* lineEnd = (lf > begin && lf[-1] == '\r') ? lf - 1 : lf;
            line = std::string_view(begin, static_cast<std::size_t>(lineEnd - begin));
            start_ = static_cast<std::size_t>(lf - buffer_.data()) + 1;
            return true;
        }
        if (atEnd_) {
            if (start_ == buffer_.size()) {
                return false;
            }
            line = std::string_view(begin, static_cast<std::size_t>(end - begin));
            start_ = buffer_.size();
            return true;
        }
        // Keep the partial line, then read more behind it; no line feed in what we already have.
        const std::size_t kept = buffer_.size() - start_;
        buffer_.erase(0, start_);
        start_ = 0;
        searchFrom = kept;
        if (!fill()) {
            atEnd_ = true;
        }
    }
}

bool LineReader::fill() {
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    in_.read(buffer_.data() + old, static_cast<std::streamsize>(kChunk));
    const auto got = static_cast<std::size_t>(in_.gcount());
    buffer_.resize(old + got);
    return got > 0;
}

}  // namespace zoltas
