// Splits a byte stream into source lines: every byte up to the next line feed, a carriage return
// right before that line feed dropped, so CR LF and LF sources read the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string_view>

namespace zoltas {

class LineReader {
  public:
    explicit LineReader(std::istream& in) : in_(in) {}

    // The next line, valid until the following call; false at the end of the source or at a
    // read error. A last line without a line feed is still a line; after a final line feed there
    // is none.
    bool next(std::string_view& line);

    // Where the line that `next` gave last begins, in bytes from the start of the source.
    [[nodiscard]] std::uint64_t offset() const { return lineOffset_; }

    // Whether reading stopped on an error rather than at the end of the source.
    [[nodiscard]] bool failed() const { return in_.bad(); }

  private:
    // Moves the unread bytes to the front, grows the buffer when a line fills it, and reads
    // behind them; false when nothing more could be read.
    bool fill();

    std::istream& in_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;  // first byte not yet returned
    std::size_t end_ = 0;    // end of the bytes read
    bool atEnd_ = false;
    std::uint64_t base_ = 0;  // where buffer_[0] lies in the source
    std::uint64_t lineOffset_ = 0;
};

}  // namespace zoltas
