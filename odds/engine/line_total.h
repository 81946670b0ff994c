#pragma once

#include <optional>
#include <string_view>

// The total a record line states, if it states one: a total line ("Total:  7") or the result
// line of a one-die roll ("d20>  16"). Die lines of several dice ("d6(2)>  5") state none.
// line has no line break.
std::optional<double> lineTotal(std::string_view line);
