// A source of more than 2^31 lines: line numbers, and everything counted per line, keep counting
// instead of overflowing. Slow (tens of seconds), so it runs in one build only.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>

#include "in_memory_run.h"

namespace zoltas {
namespace {

// `lines` empty lines, then `tail`, served a block at a time without holding the whole source.
class EmptyLinesBuffer : public std::streambuf {
  public:
    EmptyLinesBuffer(std::uint64_t lines, std::string tail) : left_(lines), tail_(std::move(tail)) {
        block_.assign(1 << 20, '\n');
    }

  protected:
    int_type underflow() override {
        if (left_ > 0) {
            const auto size =
                static_cast<std::size_t>(std::min<std::uint64_t>(left_, block_.size()));
            left_ -= size;
            setg(block_.data(), block_.data(), block_.data() + size);
        } else if (!tailServed_) {
            tailServed_ = true;
            setg(tail_.data(), tail_.data(), tail_.data() + tail_.size());
        } else {
            return traits_type::eof();
        }
        return traits_type::to_int_type(*gptr());
    }

  private:
    std::uint64_t left_;
    std::string tail_;
    std::string block_;
    bool tailServed_ = false;
};

class EmptyLinesFile : private EmptyLinesBuffer, public InputFile {
  public:
    EmptyLinesFile(std::uint64_t lines, std::string tail)
        : EmptyLinesBuffer(lines, std::move(tail)),
          InputFile(static_cast<EmptyLinesBuffer*>(this)) {}
    [[nodiscard]] FileKey key() const override { return {2, 0}; }
};

class LongSource : public MemoryFileSystem {
  public:
    std::unique_ptr<InputFile> openForReading(const std::string& name) override {
        if (name == "long.asm") {
            return std::make_unique<EmptyLinesFile>((std::uint64_t{1} << 31) + 1,
                                                    "x:\n\tjmp /y\n\tfoo\n");
        }
        return MemoryFileSystem::openForReading(name);
    }
};

TEST(LongSource, LineNumbersPastTwoToTheThirtyOneStayRight) {
    LongSource files;
    const char* args[] = {"zoltas", "long.asm", "out.rom", "rom"};
    std::ostringstream console;
    EXPECT_EQ(runAssembler(4, args, console, files), 1);
    const std::string text = console.str();
    EXPECT_TRUE(text.ends_with("L2147483652\tERROR: Invalid instruction foo!\n")) << text;
}

}  // namespace
}  // namespace zoltas
