// Writing a whole file at once: a reader finds the old file or the complete new one, never a
// part, and what cannot be replaced (a device, a pipe) is written into instead of taken away.
#include "driver/file_system.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace zoltas {
namespace {

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class AtomicWrite : public testing::Test {
  protected:
    void SetUp() override {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            (tmp != nullptr && *tmp != '\0' ? std::string(tmp) : "/tmp") + "/zolt-fs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::ofstream(dir / "old.hex", std::ios::binary) << "old contents";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

// Each case prepares the directory, writes "new" through `name`, and says what must be there.
TEST_F(AtomicWrite, ReplacesOnlyByACompleteFile) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        const char* name;
        bool written;
        std::set<std::string> namesAfter;
        const char* file;  // whose contents are then checked
        const char* expected;
    };
    const Case cases[] = {
        {"a new file", {}, "new.hex", true, {"old.hex", "new.hex"}, "new.hex", "new"},
        {"an existing file", {}, "old.hex", true, {"old.hex"}, "old.hex", "new"},
        {"through a link, which stays a link",
         [](const fs::path& d) { fs::create_symlink("old.hex", d / "link.hex"); },
         "link.hex",
         true,
         {"old.hex", "link.hex"},
         "old.hex",
         "new"},
        {"through a link to a file not made yet",
         [](const fs::path& d) { fs::create_symlink("made.hex", d / "link.hex"); },
         "link.hex",
         true,
         {"old.hex", "link.hex", "made.hex"},
         "made.hex",
         "new"},
        {"into a folder that does not exist",
         {},
         "missing/new.hex",
         false,
         {"old.hex"},
         "old.hex",
         "old contents"},
        {"over a directory",
         [](const fs::path& d) { fs::create_directory(d / "sub"); },
         "sub",
         false,
         {"old.hex", "sub"},
         "old.hex",
         "old contents"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.prepare) {
            c.prepare(dir);
        }
        DiskFileSystem files(dir);
        EXPECT_EQ(files.writeFileAtomically(c.name, "new"), c.written);
        EXPECT_EQ(namesIn(dir), c.namesAfter);
        EXPECT_EQ(contents(dir / c.file), c.expected);
        EXPECT_TRUE(fs::is_symlink(dir / "link.hex") || !fs::exists(dir / "link.hex"));
    }
}

TEST_F(AtomicWrite, KeepsTheModeOfTheFileItReplaces) {
    fs::permissions(dir / "old.hex",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    DiskFileSystem files(dir);
    ASSERT_TRUE(files.writeFileAtomically("old.hex", "new"));
    EXPECT_EQ(fs::status(dir / "old.hex").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A pipe (as a device would) keeps its place: the bytes go through it to its reader.
TEST_F(AtomicWrite, WritesIntoAPipeInsteadOfReplacingIt) {
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    const int reader = open((dir / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string received;
    std::thread drain([&] {
        char buffer[64];
        pollfd fd{reader, POLLIN, 0};
        while (poll(&fd, 1, 5000) > 0) {
            const ssize_t got = read(reader, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            received.append(buffer, static_cast<std::size_t>(got));
        }
    });
    DiskFileSystem files(dir);
    const bool written = files.writeFileAtomically("pipe", "through the pipe");
    drain.join();
    close(reader);
    EXPECT_TRUE(written);
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
}

// /dev/stdout leads through /proc/self/fd/1 to a pipe that has no name on any disk.
TEST_F(AtomicWrite, WritesIntoAPipeReachedThroughProc) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string name = "/proc/self/fd/" + std::to_string(ends[1]);
    if (!fs::exists(name)) {
        GTEST_SKIP() << "no /proc here";
    }
    DiskFileSystem files;
    EXPECT_TRUE(files.writeFileAtomically(name, "piped"));
    close(ends[1]);
    char buffer[16] = {};
    EXPECT_EQ(read(ends[0], buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "piped");
    close(ends[0]);
}

// A folder where no new file can be made: the old file stays and no temporary one is left.
// Root passes every permission check, so that run is made as the user nobody.
TEST_F(AtomicWrite, LeavesTheOldFileWhenNoNewOneCanBeMade) {
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir, readOnly);
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(2);
        }
        DiskFileSystem files(dir);
        _exit(files.writeFileAtomically("old.hex", "new") ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    fs::permissions(dir, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written anyway, 2: could not become nobody";
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"old.hex"});
    EXPECT_EQ(contents(dir / "old.hex"), "old contents");
}

}  // namespace
}  // namespace zoltas
