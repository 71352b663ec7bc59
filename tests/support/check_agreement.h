// zolt check and zoltas on the same source: the tests and the fuzzer hold them to agree.
#pragma once

#include <map>
#include <string>

namespace zoltas::test {

// Runs zoltas as `zoltas prog.asm output.rom rom` and zolt check's analysis on `files`: the empty
// string when they agree (an error exactly when zoltas ends with status 1, zoltas's error as the
// first, with its exact text, at the line zoltas names), else what differs.
[[nodiscard]] std::string checkDisagreement(const std::map<std::string, std::string>& files);

}  // namespace zoltas::test
