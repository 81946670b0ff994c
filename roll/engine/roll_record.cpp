#include "roll_record.h"

namespace {

enum class Pane { Totals, Dice, Neither };

Pane paneFor(std::string_view line) {
    if (line.starts_with("Ro") || line.starts_with("="))
        return Pane::Totals;
    if (line.starts_with("d"))
        return Pane::Dice;
    if (line.starts_with("T"))
        return Pane::Totals;
    if (line.starts_with("D") || line.starts_with("Re") || line.starts_with("-"))
        return Pane::Dice;
    return Pane::Neither;
}

} // namespace

void splitRollRecord(std::string_view record, PaneTexts& panes) {
    panes.totals.clear();
    panes.dice.clear();
    while (!record.empty()) {
        const std::size_t lf = record.find('\n');
        std::string_view line = record.substr(0, lf);
        record.remove_prefix(lf == std::string_view::npos ? record.size() : lf + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        switch (paneFor(line)) {
        case Pane::Totals:
            panes.totals.append(line).append("\r\n");
            break;
        case Pane::Dice:
            panes.dice.append(line).append("\r\n");
            break;
        case Pane::Neither:
            break;
        }
    }
}
