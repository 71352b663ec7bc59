// Every file the assembler touches goes through here: the source, asm.log and the output files.
// The program uses the disk; tests and the fuzzer run whole assemblies on files held in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace zoltas {

enum class FileMode { text, binary };

// The file itself, whatever name, path or link reached it: two open files with equal keys are one
// file. On disk the device and the file's number on it.
struct FileKey {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    friend bool operator==(const FileKey&, const FileKey&) = default;
};

class InputFile : public std::istream {
  public:
    using std::istream::istream;
    [[nodiscard]] virtual FileKey key() const = 0;
};

// An open output. Opening one keeps what the file holds: it is emptied only by discardContents,
// once the caller knows that the file is not one that must be kept.
class OutputFile : public std::ostream {
  public:
    using std::ostream::ostream;
    [[nodiscard]] virtual FileKey key() const = 0;
    // Empties a regular file; a device or a pipe has nothing to empty. False when that failed.
    [[nodiscard]] virtual bool discardContents() = 0;
    // Writes out what is pending and closes the file; false when anything written was lost.
    [[nodiscard]] virtual bool close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The file to read, or nothing when it cannot be opened or is not a file (a directory).
    [[nodiscard]] virtual std::unique_ptr<InputFile> openForReading(const std::string& name) = 0;

    // Whether `name` names something, a file or not, so that a tool can tell a file that does
    // not exist from one that cannot be read (a directory, a file without read permission).
    [[nodiscard]] virtual bool exists(const std::string& name) {
        (void)name;
        return false;
    }

    // The file to write, its contents left as they are; with `create`, made when it does not
    // exist. Nothing when it cannot be opened (or, with `create`, made).
    [[nodiscard]] virtual std::unique_ptr<OutputFile> openForWriting(const std::string& name,
                                                                     FileMode mode,
                                                                     bool create) = 0;

    // Makes `bytes`, as they are, the whole content of `name`, so that no reader ever finds a
    // part of them: a regular file (or a name where nothing exists yet) is replaced only by the
    // complete new file, and stays as it was when anything fails. A link is followed to the file
    // it names. What exists but cannot be replaced, a device or a pipe, is written straight into.
    // False after any failure.
    [[nodiscard]] virtual bool writeFileAtomically(const std::string& name,
                                                   std::string_view bytes) = 0;
};

// Files on disk, relative names taken from `directory` (the current directory when empty).
class DiskFileSystem : public FileSystem {
  public:
    explicit DiskFileSystem(std::filesystem::path directory = {})
        : directory_(std::move(directory)) {}

    std::unique_ptr<InputFile> openForReading(const std::string& name) override;
    bool exists(const std::string& name) override;
    std::unique_ptr<OutputFile> openForWriting(const std::string& name, FileMode mode,
                                               bool create) override;
    // A temporary file beside the target, written, flushed to the disk and renamed over it.
    bool writeFileAtomically(const std::string& name, std::string_view bytes) override;

  private:
    [[nodiscard]] std::filesystem::path resolve(const std::string& name) const;

    std::filesystem::path directory_;
};

// Files as strings by name: written bytes land in `files` as they are written. A name is one
// file; there are no paths or links.
class MemoryFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;

    std::unique_ptr<InputFile> openForReading(const std::string& name) override;
    bool exists(const std::string& name) override { return files.count(name) != 0; }
    std::unique_ptr<OutputFile> openForWriting(const std::string& name, FileMode mode,
                                               bool create) override;
    bool writeFileAtomically(const std::string& name, std::string_view bytes) override;

  private:
    [[nodiscard]] FileKey keyOf(const std::string& name);
    std::map<std::string, std::uint64_t> keys_;
};

}  // namespace zoltas
