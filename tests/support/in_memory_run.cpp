#include "in_memory_run.h"

#include <sstream>

#include "driver/reporter.h"

namespace zoltas::test {

namespace {

// Serves its bytes, then throws where the next read would begin; the stream turns that into its
// bad state.
class BreakingBuffer : public std::streambuf {
  public:
    explicit BreakingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

  private:
    std::string bytes_;
};

struct BreakingStream : private BreakingBuffer, public InputFile {
    explicit BreakingStream(std::string bytes)
        : BreakingBuffer(std::move(bytes)), InputFile(static_cast<BreakingBuffer*>(this)) {}
    [[nodiscard]] FileKey key() const override { return {1, 0}; }
};

}  // namespace

std::unique_ptr<InputFile> BrokenFileSystem::openForReading(const std::string& name) {
    if (const auto found = broken.find(name); found != broken.end()) {
        return std::make_unique<BreakingStream>(found->second);
    }
    return MemoryFileSystem::openForReading(name);
}

std::string cromLine(std::uint16_t address, std::uint16_t word) {
    std::string line = "M";
    line += hex4(address);
    line += '=';
    line += hex4(word);
    line += '\n';
    return line;
}

InMemoryRun runZoltas(std::map<std::string, std::string> files,
                      const std::vector<std::string>& args, const RunOverrides& overrides) {
    InMemoryRun run;
    run.files.files = std::move(files);
    std::vector<const char*> argv{"zoltas"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream console;
    run.status =
        runAssembler(static_cast<int>(argv.size()), argv.data(), console, run.files, overrides);
    run.console = console.str();
    return run;
}

}  // namespace zoltas::test
