#include "driver/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ios>
#include <optional>
#include <sstream>
#include <streambuf>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zoltas {

namespace fs = std::filesystem;

namespace {

// The platform's calls on an open file descriptor, under one set of names.
#ifdef _WIN32
using Count = int;
int systemRead(int fd, char* bytes, std::size_t size) {
    return _read(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int systemWrite(int fd, const char* bytes, std::size_t size) {
    return _write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int systemClose(int fd) {
    return _close(fd);
}
#else
using Count = ssize_t;
Count systemRead(int fd, char* bytes, std::size_t size) {
    return ::read(fd, bytes, size);
}
Count systemWrite(int fd, const char* bytes, std::size_t size) {
    return ::write(fd, bytes, size);
}
int systemClose(int fd) {
    return ::close(fd);
}
#endif

// A stream buffer straight over a file descriptor, which it owns. Unlike a filebuf it tells a
// read error from the end of the file (the stream goes bad), and it keeps the descriptor, so the
// file's identity can be asked and the file emptied after it was opened.
class DescriptorBuffer : public std::streambuf {
  public:
    explicit DescriptorBuffer(int fd) : fd_(fd) {}
    ~DescriptorBuffer() override {
        if (fd_ >= 0) {
            (void)closeDescriptor();
        }
    }
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    [[nodiscard]] int descriptor() const { return fd_; }

    bool closeDescriptor() {
        const bool flushed = sync() == 0;
        const bool closed = systemClose(fd_) == 0;
        fd_ = -1;
        return flushed && closed;
    }

  protected:
    int_type underflow() override {
        const Count got = readSome(buffer().data(), buffer().size());
        if (got == 0) {
            return traits_type::eof();
        }
        setg(buffer().data(), buffer().data(), buffer().data() + got);
        return traits_type::to_int_type(*gptr());
    }

    // Large reads go straight into the caller's memory.
    std::streamsize xsgetn(char* out, std::streamsize count) override {
        std::streamsize done = 0;
        while (done < count) {
            if (gptr() < egptr()) {
                const auto take = std::min<std::streamsize>(egptr() - gptr(), count - done);
                std::memcpy(out + done, gptr(), static_cast<std::size_t>(take));
                gbump(static_cast<int>(take));
                done += take;
            } else if (count - done >= static_cast<std::streamsize>(kBufferSize)) {
                const Count got = readSome(out + done, static_cast<std::size_t>(count - done));
                if (got == 0) {
                    break;
                }
                done += got;
            } else if (traits_type::eq_int_type(underflow(), traits_type::eof())) {
                break;
            }
        }
        return done;
    }

    int_type overflow(int_type c) override {
        if (pbase() == nullptr) {
            setp(buffer().data(), buffer().data() + buffer().size());
        } else if (!flushOut()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        if (pbase() != nullptr && count <= epptr() - pptr()) {
            std::memcpy(pptr(), bytes, static_cast<std::size_t>(count));
            pbump(static_cast<int>(count));
            return count;
        }
        if (!flushOut() || !writeAll(bytes, static_cast<std::size_t>(count))) {
            return 0;
        }
        return count;
    }

    int sync() override { return flushOut() && !failed_ ? 0 : -1; }

  private:
    static constexpr std::size_t kBufferSize = 1 << 16;

    std::array<char, kBufferSize>& buffer() {
        if (!buffer_) {
            buffer_ = std::make_unique<std::array<char, kBufferSize>>();
        }
        return *buffer_;
    }

    // Bytes read, 0 at the end of the file; a read error throws, which the stream turns into
    // its bad state.
    Count readSome(char* out, std::size_t size) {
        for (;;) {
            const Count got = systemRead(fd_, out, size);
            if (got >= 0) {
                return got;
            }
            if (errno != EINTR) {
                throw std::ios_base::failure("read error");
            }
        }
    }

    bool writeAll(const char* bytes, std::size_t size) {
        while (size > 0 && !failed_) {
            const Count put = systemWrite(fd_, bytes, size);
            if (put > 0) {
                bytes += put;
                size -= static_cast<std::size_t>(put);
            } else if (put < 0 && errno != EINTR) {
                failed_ = true;
            }
        }
        return !failed_;
    }

    bool flushOut() {
        if (pbase() == nullptr || pptr() == pbase()) {
            return !failed_;
        }
        const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(pbase(), epptr());
        return written;
    }

    int fd_;
    bool failed_ = false;
    std::unique_ptr<std::array<char, kBufferSize>> buffer_;
};

// The buffer is a base so that it exists before the stream that is handed it.
struct DescriptorHolder {
    explicit DescriptorHolder(int fd) : buffer(fd) {}
    DescriptorBuffer buffer;
};

bool isDirectory(int fd) {
#ifdef _WIN32
    struct _stat64 info {};
    return _fstat64(fd, &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
#else
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

FileKey keyOf(int fd) {
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION info{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (GetFileInformationByHandle(handle, &info) == 0) {
        // Not a disk file (a console or a pipe): no other open file is this one.
        return {~std::uint64_t{0}, static_cast<std::uint64_t>(fd)};
    }
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return {~std::uint64_t{0}, static_cast<std::uint64_t>(fd)};
    }
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
#endif
}

bool emptyRegularFile(int fd) {
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    return GetFileType(handle) != FILE_TYPE_DISK || _chsize_s(fd, 0) == 0;
#else
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return false;
    }
    return !S_ISREG(info.st_mode) || ftruncate(fd, 0) == 0;
#endif
}

class DiskInputFile : private DescriptorHolder, public InputFile {
  public:
    explicit DiskInputFile(int fd) : DescriptorHolder(fd), InputFile(&buffer) {}
    [[nodiscard]] FileKey key() const override { return keyOf(buffer.descriptor()); }
};

class DiskOutputFile : private DescriptorHolder, public OutputFile {
  public:
    explicit DiskOutputFile(int fd) : DescriptorHolder(fd), OutputFile(&buffer) {}
    [[nodiscard]] FileKey key() const override { return keyOf(buffer.descriptor()); }
    bool discardContents() override { return emptyRegularFile(buffer.descriptor()); }
    bool close() override { return buffer.closeDescriptor() && !fail(); }
};

int openDescriptor(const fs::path& path, int flags) {
    for (;;) {
#ifdef _WIN32
        const int fd = _wopen(path.c_str(), flags | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
#endif
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

}  // namespace

fs::path DiskFileSystem::resolve(const std::string& name) const {
    return directory_.empty() ? fs::path(name) : directory_ / name;
}

std::unique_ptr<InputFile> DiskFileSystem::openForReading(const std::string& name) {
    if (name.find('\0') != std::string::npos) {
        return nullptr;
    }
#ifdef _WIN32
    const int flags = _O_RDONLY | _O_BINARY;
#else
    const int flags = O_RDONLY;
#endif
    const int fd = openDescriptor(resolve(name), flags);
    if (fd < 0) {
        return nullptr;
    }
    // Some systems open a directory for reading and only fail at the first read.
    if (isDirectory(fd)) {
        systemClose(fd);
        return nullptr;
    }
    return std::make_unique<DiskInputFile>(fd);
}

bool DiskFileSystem::exists(const std::string& name) {
    if (name.find('\0') != std::string::npos) {
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(resolve(name), error);
    if (error) {
        // A path that cannot be looked at (a folder on the way without permission) may well
        // exist; only "no such file" and "not a folder" say that it does not.
        return error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory;
    }
    return status.type() != fs::file_type::not_found;
}

std::unique_ptr<OutputFile> DiskFileSystem::openForWriting(const std::string& name, FileMode mode,
                                                           bool create) {
    // The system would cut the name at a NUL byte and write a file the messages do not name.
    if (name.find('\0') != std::string::npos) {
        return nullptr;
    }
#ifdef _WIN32
    const int flags =
        _O_WRONLY | (create ? _O_CREAT : 0) | (mode == FileMode::text ? _O_TEXT : _O_BINARY);
#else
    (void)mode;  // a line end is a line feed, in text as in binary
    const int flags = O_WRONLY | (create ? O_CREAT : 0);
#endif
    const int fd = openDescriptor(resolve(name), flags);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<DiskOutputFile>(fd);
}

namespace {

bool writeAllTo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const Count put = systemWrite(fd, bytes.data(), bytes.size());
        if (put > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(put));
        } else if (put == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

// The file a chain of links ends at, which need not exist yet.
std::optional<fs::path> followLinks(fs::path path) {
    std::error_code error;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path next = fs::read_symlink(path, error);
        if (error || hops == 40) {
            return std::nullopt;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

#ifdef _WIN32
constexpr int kReplaceFlags = _O_WRONLY | _O_BINARY | _O_CREAT | _O_EXCL;
int processId() {
    return _getpid();
}
bool flushToDisk(int fd) {
    return _commit(fd) == 0;
}
bool renameOver(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
constexpr int kReplaceFlags = O_WRONLY | O_CREAT | O_EXCL;
int processId() {
    return static_cast<int>(getpid());
}
bool flushToDisk(int fd) {
    return fsync(fd) == 0;
}
bool renameOver(const fs::path& from, const fs::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#endif

// Writes `bytes` to a new file beside `target` and renames it over `target`; the new file keeps
// the mode of the one it replaces. Nothing is left behind on failure.
bool replaceRegularFile(const fs::path& target, std::string_view bytes) {
    static unsigned attempt = 0;
    fs::path temporary;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temporary = target;
        temporary += ".zolt-" + std::to_string(processId()) + "-" + std::to_string(attempt++);
        fd = openDescriptor(temporary, kReplaceFlags);
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }
    bool written = writeAllTo(fd, bytes) && flushToDisk(fd);
#ifndef _WIN32
    struct stat existing {};
    if (written && ::stat(target.c_str(), &existing) == 0) {
        written = fchmod(fd, existing.st_mode & 07777) == 0;
    }
#endif
    written = systemClose(fd) == 0 && written;
    if (!written || !renameOver(temporary, target)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace

bool DiskFileSystem::writeFileAtomically(const std::string& name, std::string_view bytes) {
    if (name.find('\0') != std::string::npos) {
        return false;
    }
    const fs::path target = resolve(name);
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // Renaming over a device or a pipe would take its place, so it is written into.
#ifdef _WIN32
        const int fd = openDescriptor(target, _O_WRONLY | _O_BINARY);
#else
        const int fd = openDescriptor(target, O_WRONLY);
#endif
        if (fd < 0) {
            return false;
        }
        const bool written = writeAllTo(fd, bytes);
        return systemClose(fd) == 0 && written;
    }
    // The file itself is replaced, not a link that leads to it.
    std::error_code unresolved;
    const auto real =
        fs::exists(status) ? std::optional(fs::canonical(target, unresolved)) : followLinks(target);
    return real && !unresolved && replaceRegularFile(*real, bytes);
}

namespace {

class MemoryInputFile : private std::stringbuf, public InputFile {
  public:
    MemoryInputFile(const std::string& bytes, FileKey key)
        : std::stringbuf(bytes, std::ios::in),
          InputFile(static_cast<std::stringbuf*>(this)),
          key_(key) {}
    [[nodiscard]] FileKey key() const override { return key_; }

  private:
    FileKey key_;
};

// Appends whatever is written to one string of the memory file system.
class AppendBuffer : public std::streambuf {
  public:
    explicit AppendBuffer(std::string& target) : target(target) {}
    std::string& target;

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            target.push_back(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        target.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

class MemoryOutputFile : private AppendBuffer, public OutputFile {
  public:
    MemoryOutputFile(std::string& target, FileKey key)
        : AppendBuffer(target), OutputFile(static_cast<AppendBuffer*>(this)), key_(key) {}
    [[nodiscard]] FileKey key() const override { return key_; }
    bool discardContents() override {
        target.clear();
        return true;
    }
    bool close() override { return !fail(); }

  private:
    FileKey key_;
};

}  // namespace

FileKey MemoryFileSystem::keyOf(const std::string& name) {
    const auto [entry, added] = keys_.try_emplace(name, keys_.size() + 1);
    return {0, entry->second};
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& name) {
    const auto found = files.find(name);
    if (found == files.end()) {
        return nullptr;
    }
    return std::make_unique<MemoryInputFile>(found->second, keyOf(name));
}

std::unique_ptr<OutputFile> MemoryFileSystem::openForWriting(const std::string& name, FileMode,
                                                             bool create) {
    if (!create && files.count(name) == 0) {
        return nullptr;
    }
    return std::make_unique<MemoryOutputFile>(files[name], keyOf(name));
}

bool MemoryFileSystem::writeFileAtomically(const std::string& name, std::string_view bytes) {
    files[name] = std::string(bytes);
    return true;
}

}  // namespace zoltas
