// An end-to-end case: the source files, the command line, and everything the run must leave
// behind, byte for byte, in one text file.
//
//   # comment lines before the first section
//   --- args prog.asm out.rom rom log      arguments after the program name ("" for an empty one)
//   --- source prog.asm [noeol] [crlf]     a source file, the lines up to the next "---" line
//   --- hexsource prog.asm                 a source file given as hexadecimal bytes
//   --- copy prog.asm examples/prog.asm    a source file copied from the repository
//   --- stdout                             everything printed on standard output
//   --- exit 1                             the exit status (0 when absent)
//   --- file asm.log [noeol] [crlf]        a file that must exist afterwards, with this content
//   --- hexfile HI_out                     the same, as hexadecimal bytes
//   --- link HI_out /dev/full              a symbolic link made before the run
//   --- dir folder [0555]                  a directory made before the run, with its mode
//   --- mode prog.asm 0000                 the mode of a file given above
//   --- user nobody                        run as the unprivileged user nobody (when root)
//   --- hexstdout                          standard output as hexadecimal bytes
//   --- program zolt                       the program run: zoltas (the default) or zolt
//   --- stderr                             everything printed on standard error (else nothing)
//
// Text sections take their lines verbatim, each ended by a line feed ("crlf": CR LF; "noeol":
// no line end after the last line; "escaped": "\xHH" is the byte HH, "\t" a TAB, "\\" a
// backslash, for control bytes and blanks that must be seen). No file other than the sources and
// the listed files may exist after the run, and nothing may be written to standard error.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zoltas::e2e {

struct CaseFile {
    std::vector<std::string> args;
    std::map<std::string, std::string> sources;
    std::string expectedStdout;
    int expectedExit = 0;
    std::map<std::string, std::string> expectedFiles;
    std::map<std::string, std::string> links;   // name -> target
    std::map<std::string, std::string> copies;  // name -> path in the repository
    std::map<std::string, int> directories;     // name -> mode
    std::map<std::string, int> modes;           // name -> mode, set after everything is made
    bool asNobody = false;
    std::string program = "zoltas";
    std::string expectedStderr;
};

// Throws std::runtime_error with the line number on a malformed case file.
CaseFile parseCaseFile(const std::string& text);

// The whole file as bytes; empty when it cannot be read.
std::string readFile(const std::string& path);

}  // namespace zoltas::e2e
