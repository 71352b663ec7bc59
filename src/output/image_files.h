// Reading back the images that pass 4 writes: a CROM file, or a BIN pair from its start address.
// zoltdis and zolt read them here, so they accept exactly what zoltas writes and say the same
// things about what it does not.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/file_system.h"

namespace zoltas {

// Words from `start` on, one per address; never past 0xFFFF.
struct MemoryImage {
    std::uint16_t start = 0;
    std::vector<std::uint16_t> words;
};

// Load error: "<name>" cannot be read -- a file that is there but is not a readable file (a
// directory), or whose reading failed part way.
[[nodiscard]] std::string cannotBeReadText(const std::string& name);

// `name` opened for reading, or nothing after one line to `errors`: Load error: No such file
// "<name>" exists! when nothing has that name, the cannot-be-read line when something has.
[[nodiscard]] std::unique_ptr<InputFile> openInputFile(FileSystem& files, const std::string& name,
                                                       std::ostream& errors);

// While it lives, a failure inside the stream's buffer is thrown, not only noted in its state,
// so that running out of memory reaches the caller as std::bad_alloc rather than passing for a
// read error; a read error is thrown as std::ios_base::failure.
class ThrowingReads {
  public:
    explicit ThrowingReads(std::istream& file) : file_(file), mask_(file.exceptions()) {
        file_.exceptions(mask_ | std::ios::badbit);
    }
    ~ThrowingReads() {
        try {
            file_.exceptions(mask_);
        } catch (const std::ios_base::failure&) {
            // The caller asked for exceptions itself and has had this one already.
        }
    }
    ThrowingReads(const ThrowingReads&) = delete;
    ThrowingReads& operator=(const ThrowingReads&) = delete;

  private:
    std::istream& file_;
    std::ios::iostate mask_;
};

// The image in a CROM file, or nothing after an error written to `errors`, one line:
//   L<n>\tERROR: Invalid CROM line "<text>"      not M + four hex digits + "=" + four; the text
//                                  is the line's first bytes, escaped, "..." when it goes on
//   L<n>\tERROR: Address $hhhh does not follow the one before
//   Load error: "<name>" is empty     Load error: "<name>" cannot be read
// One empty line at the end is allowed. No line is read further than a CROM line can be long,
// and no line after the 65,536th word, so no file makes this slow or big.
[[nodiscard]] std::optional<MemoryImage> readCromImage(std::istream& file, const std::string& name,
                                                       std::ostream& errors);

// The same, opening `name` first with openInputFile.
[[nodiscard]] std::optional<MemoryImage> readCromFile(FileSystem& files, const std::string& name,
                                                      std::ostream& errors);

// The image in a HI_/LO_ pair whose first byte belongs to `start`, or nothing after an error
// (or one of openInputFile's):
//   Load error: "<name>" has more than 65536 bytes, one for each word of memory
//   Load error: "<hi>" has n bytes and "<lo>" m; they must be the same length
//   Load error: "<hi>" is empty     Error: <n> words from $hhhh run past $ffff
// Neither half is read beyond its 65,537th byte.
[[nodiscard]] std::optional<MemoryImage> readBinPair(FileSystem& files, const std::string& highName,
                                                     const std::string& lowName,
                                                     std::uint16_t start, std::ostream& errors);

}  // namespace zoltas
