// Every file the assembler touches goes through here: the source, asm.log and the output files.
// The program uses the disk; tests and the fuzzer run whole assemblies on files held in memory.
#pragma once

#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace zoltas {

enum class FileMode { text, binary };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The file to read, or nothing when it cannot be opened or is not a file (a directory).
    [[nodiscard]] virtual std::unique_ptr<std::istream> openForReading(const std::string& name) = 0;

    // Creates the file or empties it; nothing when it cannot be created.
    [[nodiscard]] virtual std::unique_ptr<std::ostream> createForWriting(const std::string& name,
                                                                         FileMode mode) = 0;

    // Flushes and closes a file from createForWriting; false when anything written was lost.
    [[nodiscard]] virtual bool close(std::ostream& file) = 0;

    // Whether both names reach the same existing file, through whatever path or link.
    [[nodiscard]] virtual bool sameFile(const std::string& first, const std::string& second) = 0;
};

// Files on disk, relative names taken from `directory` (the current directory when empty).
class DiskFileSystem : public FileSystem {
  public:
    explicit DiskFileSystem(std::filesystem::path directory = {})
        : directory_(std::move(directory)) {}

    std::unique_ptr<std::istream> openForReading(const std::string& name) override;
    std::unique_ptr<std::ostream> createForWriting(const std::string& name, FileMode mode) override;
    bool close(std::ostream& file) override;
    bool sameFile(const std::string& first, const std::string& second) override;

  private:
    [[nodiscard]] std::filesystem::path resolve(const std::string& name) const;

    std::filesystem::path directory_;
};

// Files as strings by name: written bytes land in `files` as they are written.
class MemoryFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;

    std::unique_ptr<std::istream> openForReading(const std::string& name) override;
    std::unique_ptr<std::ostream> createForWriting(const std::string& name, FileMode mode) override;
    bool close(std::ostream& file) override;
    bool sameFile(const std::string& first, const std::string& second) override;
};

}  // namespace zoltas
