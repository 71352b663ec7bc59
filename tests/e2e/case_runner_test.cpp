// Runs every tests/cases/**/*.case against the built zoltas, each in a fresh directory, and
// compares standard output, the exit status and every file left behind, byte for byte.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "case_file.h"

namespace fs = std::filesystem;

namespace zoltas::e2e {
namespace {

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string program(const std::string& name = "zoltas") {
    if (name == "zolt") {
        return ZOLT_PROGRAM;
    }
    const char* override = std::getenv("ZOLTAS_PROGRAM");
    return override != nullptr ? override : ZOLTAS_PROGRAM;
}

// ZOLTAS_WINDOWS set: the program is a Windows build run through ZOLTAS_RUNNER (wine). Its text
// files (asm.log and the CROM file) end their lines with CR LF, and the console may put a CR
// before each LF, which is removed before comparing; the BIN pair and the sources stay as they
// are.
bool windowsRun() {
    return std::getenv("ZOLTAS_WINDOWS") != nullptr;
}

std::string withCrLf(const std::string& text) {
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

std::string withoutCrBeforeLf(const std::string& text) {
    std::string converted;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            converted += text[i];
        }
    }
    return converted;
}

struct RunResult {
    std::string out;
    std::string err;
    int exitStatus = -1;
    bool timedOut = false;
};

// Runs the program in `dir` with argv[0] "zoltas", no standard input, and a time limit so a
// hang fails the case instead of the suite.
RunResult runProgram(const fs::path& dir, const std::vector<std::string>& args,
                     bool asNobody = false, const std::string& name = "zoltas") {
    int outPipe[2];
    if (pipe(outPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const fs::path errPath = dir.string() + ".stderr";
    const pid_t pid = fork();
    if (pid == 0) {
        // Root passes every permission check; nobody sees read-only folders as they are.
        constexpr uid_t kNobody = 65534;
        if (asNobody && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(125);
        }
        if (chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        const int devNull = open("/dev/null", O_RDONLY);
        const int errFile = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errFile, 2);
        close(outPipe[0]);
        close(outPipe[1]);
        std::vector<std::string> argStore{name};
        if (const char* runner = std::getenv("ZOLTAS_RUNNER")) {
            argStore = {runner, program(name)};
        }
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : argStore) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const char* runner = std::getenv("ZOLTAS_RUNNER");
        const std::string path = runner != nullptr ? runner : program(name);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);

    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd fd{outPipe[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        const ssize_t got = read(outPipe[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        result.out.append(buffer, static_cast<std::size_t>(got));
    }
    close(outPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.err = readFile(errPath);
    fs::remove(errPath);
    return result;
}

// A new empty directory under TMPDIR (or /tmp), so that runs in parallel never share one.
fs::path freshDirectory(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        (tmp != nullptr && *tmp != '\0' ? std::string(tmp) : "/tmp") + "/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a directory like " + pattern);
    }
    return pattern;
}

std::vector<fs::path> caseFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(ZOLTAS_CASES_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".case") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class CaseTest : public testing::TestWithParam<fs::path> {};

TEST_P(CaseTest, MatchesExpectedOutput) {
    CaseFile c = parseCaseFile(readFile(GetParam()));
    const bool windows = windowsRun();
    if (windows && c.program != "zoltas") {
        GTEST_SKIP() << "a case of " << c.program << ", which the Windows suite does not run";
    }
    if (windows) {
        const bool modes = std::any_of(c.directories.begin(), c.directories.end(),
                                       [](const auto& dir) { return dir.second != 0755; });
        if (!c.links.empty() || !c.modes.empty() || c.asNobody || modes) {
            GTEST_SKIP() << "uses links, modes or users, which only a POSIX system has";
        }
        // Wine hands the program its full Windows path as argv[0], which the log's copy of the
        // command line shows.
        std::string windowsPath = "Z:" + program();
        std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
        for (auto& [name, bytes] : c.expectedFiles) {
            if (c.sources.count(name) == 0 && name.rfind("HI_", 0) != 0 &&
                name.rfind("LO_", 0) != 0) {
                bytes = withCrLf(bytes);
            }
            const std::string header = "Command line: zoltas ";
            if (name == "asm.log" && bytes.find(header) != std::string::npos) {
                bytes.replace(bytes.find(header), header.size(),
                              "Command line: " + windowsPath + " ");
            }
        }
    }

    const fs::path dir = freshDirectory("zoltas-case");
    for (const auto& [name, bytes] : c.sources) {
        writeFile(dir / name, bytes);
    }
    std::set<std::string> allowed;
    for (const auto& [name, repositoryPath] : c.copies) {
        fs::copy_file(fs::path(ZOLTAS_SOURCE_DIR) / repositoryPath, dir / name);
        allowed.insert(name);
    }
    for (const auto& [name, target] : c.links) {
        fs::create_symlink(target, dir / name);
        allowed.insert(name);  // the link itself; a file made through it must be expected
    }
    for (const auto& [name, mode] : c.directories) {
        fs::create_directories(dir / name);
    }
    if (c.asNobody) {
        fs::permissions(dir, fs::perms::all);
    }
    for (const auto& [name, mode] : c.directories) {
        fs::permissions(dir / name, static_cast<fs::perms>(mode));
    }
    for (const auto& [name, mode] : c.modes) {
        fs::permissions(dir / name, static_cast<fs::perms>(mode));
    }

    const RunResult run = runProgram(dir, c.args, c.asNobody, c.program);
    EXPECT_FALSE(run.timedOut) << "the run did not end within the time limit";
    EXPECT_EQ(windows ? withoutCrBeforeLf(run.out) : run.out, c.expectedStdout)
        << "standard output";
    EXPECT_EQ(run.exitStatus, c.expectedExit) << "exit status";
    EXPECT_EQ(run.err, c.expectedStderr) << "standard error";

    for (const auto& [name, bytes] : c.sources) {
        allowed.insert(name);
    }
    for (const auto& [name, bytes] : c.expectedFiles) {
        allowed.insert(name);
        const fs::path path = dir / name;
        EXPECT_TRUE(fs::exists(path)) << name << " was not written";
        if (fs::exists(path)) {
            EXPECT_EQ(readFile(path), bytes) << "content of " << name;
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            const std::string name = fs::relative(entry.path(), dir).generic_string();
            EXPECT_TRUE(allowed.count(name) == 1) << "unexpected file " << name;
        }
    }
    fs::remove_all(dir);
}

std::string caseName(const testing::TestParamInfo<fs::path>& info) {
    std::string name = fs::relative(info.param, ZOLTAS_CASES_DIR).replace_extension().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseTest, testing::ValuesIn(caseFiles()), caseName);

// A console whose reader has gone (a pipe into a program that stopped reading) loses the
// console text, nothing else: the run completes with status 0 and writes its output.
TEST(ClosedConsole, RunStillCompletes) {
    const fs::path dir = freshDirectory("zoltas-closed");
    writeFile(dir / "prog.asm", "\tlda $1F\n; end\n");
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        dup2(pipeEnds[1], 1);
        const std::string path = program();
        char* argv[] = {const_cast<char*>("zoltas"), const_cast<char*>("prog.asm"),
                        const_cast<char*>("out.rom"), const_cast<char*>("rom"), nullptr};
        execv(path.c_str(), argv);
        _exit(127);
    }
    close(pipeEnds[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(dir / "out.rom"), "M0000=0001\nM0001=001f\nM0002=0000\n");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zoltas::e2e
