#include "driver/file_system.h"

#include <fstream>
#include <sstream>
#include <streambuf>
#include <system_error>

namespace zoltas {

namespace fs = std::filesystem;

fs::path DiskFileSystem::resolve(const std::string& name) const {
    return directory_.empty() ? fs::path(name) : directory_ / name;
}

std::unique_ptr<std::istream> DiskFileSystem::openForReading(const std::string& name) {
    const fs::path path = resolve(name);
    // Some systems open a directory for reading and only fail at the first read.
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return nullptr;
    }
    auto file = std::make_unique<std::ifstream>(path, std::ios::in | std::ios::binary);
    if (!file->is_open()) {
        return nullptr;
    }
    return file;
}

std::unique_ptr<std::ostream> DiskFileSystem::createForWriting(const std::string& name,
                                                               FileMode mode) {
    // The system would cut the name at a NUL byte and write a file the messages do not name.
    if (name.find('\0') != std::string::npos) {
        return nullptr;
    }
    auto flags = std::ios::out | std::ios::trunc;
    if (mode == FileMode::binary) {
        flags |= std::ios::binary;
    }
    auto file = std::make_unique<std::ofstream>(resolve(name), flags);
    if (!file->is_open()) {
        return nullptr;
    }
    return file;
}

bool DiskFileSystem::close(std::ostream& file) {
    auto& disk = dynamic_cast<std::ofstream&>(file);
    disk.close();
    return !disk.fail();
}

bool DiskFileSystem::sameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return fs::equivalent(resolve(first), resolve(second), error) && !error;
}

namespace {

// Appends whatever is written to one string of the memory file system.
class AppendBuffer : public std::streambuf {
  public:
    explicit AppendBuffer(std::string& target) : target_(target) {}

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            target_.push_back(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        target_.append(s, static_cast<std::size_t>(n));
        return n;
    }

  private:
    std::string& target_;
};

// The buffer is a base so that it exists before the stream that is handed it.
struct AppendBufferHolder {
    explicit AppendBufferHolder(std::string& target) : buffer(target) {}
    AppendBuffer buffer;
};

class MemoryFile : private AppendBufferHolder, public std::ostream {
  public:
    explicit MemoryFile(std::string& target) : AppendBufferHolder(target), std::ostream(&buffer) {}
};

}  // namespace

std::unique_ptr<std::istream> MemoryFileSystem::openForReading(const std::string& name) {
    const auto found = files.find(name);
    if (found == files.end()) {
        return nullptr;
    }
    return std::make_unique<std::istringstream>(found->second);
}

std::unique_ptr<std::ostream> MemoryFileSystem::createForWriting(const std::string& name,
                                                                 FileMode) {
    std::string& target = files[name];
    target.clear();
    return std::make_unique<MemoryFile>(target);
}

bool MemoryFileSystem::close(std::ostream& file) {
    file.flush();
    return !file.fail();
}

bool MemoryFileSystem::sameFile(const std::string& first, const std::string& second) {
    return first == second && files.count(first) == 1;
}

}  // namespace zoltas
