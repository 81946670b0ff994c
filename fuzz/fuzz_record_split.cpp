// The record split on arbitrary bytes: every line lands in at most one pane, in order, with CR
// LF; a pane's text splits to itself again; nothing is invented.
#include "roll_record.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::size_t countLines(std::string_view text) {
    std::size_t lines = 0;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        ++lines;
    }
    return lines;
}

void checkPaneText(std::string_view pane) {
    check(pane.empty() || pane.ends_with("\r\n"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    PaneTexts panes;
    splitRollRecord(record, panes);
    checkPaneText(panes.totals);
    checkPaneText(panes.dice);
    check(countLines(panes.totals) + countLines(panes.dice) <= countLines(record));
    check(panes.totals.size() + panes.dice.size() <= record.size() + 2 * countLines(record));

    // The totals pane holds only totals lines and the dice pane only dice lines: each splits to
    // itself.
    PaneTexts again;
    splitRollRecord(panes.totals, again);
    check(again.totals == panes.totals && again.dice.empty());
    splitRollRecord(panes.dice, again);
    check(again.dice == panes.dice && again.totals.empty());
    return 0;
}
