// The stable names of every error and warning, as the tools show them ("[invalid-number]") and
// as -Wno-NAME and the ignore comment take them. Each is written here once.
#pragma once

#include <string_view>

namespace zoltas::codes {

// Errors zoltas reports.
inline constexpr std::string_view invalidDirective = "invalid-directive";
inline constexpr std::string_view unspecifiedAddress = "unspecified-address";
inline constexpr std::string_view unspecifiedRelative = "unspecified-relative";
inline constexpr std::string_view invalidSign = "invalid-sign";
inline constexpr std::string_view unlimitedSize = "unlimited-size";
inline constexpr std::string_view unspecifiedFilename = "unspecified-filename";
inline constexpr std::string_view invalidInstruction = "invalid-instruction";
inline constexpr std::string_view missingOperand = "missing-operand";
inline constexpr std::string_view invalidNumber = "invalid-number";
inline constexpr std::string_view undefinedConstant = "undefined-constant";
inline constexpr std::string_view undefinedLabel = "undefined-label";
inline constexpr std::string_view loadError = "load-error";
inline constexpr std::string_view outputIsSource = "output-is-source";
inline constexpr std::string_view outOfMemory = "out-of-memory";

// Warnings zoltas prints.
inline constexpr std::string_view unusedLabel = "unused-label";
inline constexpr std::string_view unusedConstant = "unused-constant";
inline constexpr std::string_view originBackwards = "origin-backwards";

// Warnings of the lint.
inline constexpr std::string_view labelWithoutColon = "label-without-colon";
inline constexpr std::string_view unreachableName = "unreachable-name";
inline constexpr std::string_view blankBeforeEquals = "blank-before-equals";
inline constexpr std::string_view duplicateSymbol = "duplicate-symbol";
inline constexpr std::string_view assembleAddressDefined = "assemble-address-defined";
inline constexpr std::string_view assembleAddressReference = "assemble-address-reference";
inline constexpr std::string_view indentedComment = "indented-comment";
inline constexpr std::string_view remarkWord = "remark-word";
inline constexpr std::string_view skippedLine = "skipped-line";
inline constexpr std::string_view operandIgnored = "operand-ignored";
inline constexpr std::string_view extraSeparator = "extra-separator";
inline constexpr std::string_view semicolonInName = "semicolon-in-name";
inline constexpr std::string_view textAfterString = "text-after-string";
inline constexpr std::string_view noBlankAfterDirective = "no-blank-after-directive";
inline constexpr std::string_view unknownDirective = "unknown-directive";
inline constexpr std::string_view directiveWord = "directive-word";
inline constexpr std::string_view codeAfterEnd = "code-after-end";
inline constexpr std::string_view wordLimit = "word-limit";
inline constexpr std::string_view lastLineCut = "last-line-cut";
inline constexpr std::string_view numberJunk = "number-junk";

}  // namespace zoltas::codes
