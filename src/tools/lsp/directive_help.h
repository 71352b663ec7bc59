// What each directive does, in one line: the hover text of a directive. The README's directive
// tables say the same; a test holds the two together.
#pragma once

#include <optional>
#include <string_view>

namespace zoltas {

struct DirectiveHelp {
    std::string_view names;   // without the ".", e.g. "org", "nowarn dowarn", a data selector "d"
    std::string_view usage;   // as the README shows it, e.g. ".org N"
    std::string_view effect;  // what it does, in the README's words
};

// The help of a control directive by its name, or of a data directive by its selector.
[[nodiscard]] std::optional<DirectiveHelp> directiveHelp(std::string_view name);

}  // namespace zoltas
