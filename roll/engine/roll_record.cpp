#include "roll_record.h"

#include "line_scan.h"

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
    // Die lines make up nearly all of a large record; a reused buffer already has the room.
    panes.dice.reserve(record.size());

    // Lines that already end in CR LF are copied in runs: consecutive lines bound for the
    // same pane go over in one piece.
    std::string* runPane = nullptr;
    std::size_t runStart = 0, lineStart = 0;
    LineFeedScanner scan(record);
    while (lineStart < record.size()) {
        const std::size_t lf = scan.next();
        const bool lineFeed = lf != LineFeedScanner::none;
        const std::size_t end = lineFeed ? lf : record.size();
        std::string_view line = record.substr(lineStart, end - lineStart);
        const bool endsInCr = line.ends_with('\r');
        if (endsInCr)
            line.remove_suffix(1);
        const bool endsInCrLf = lineFeed && endsInCr;

        std::string* pane = nullptr;
        switch (paneFor(line)) {
        case Pane::Totals:
            pane = &panes.totals;
            break;
        case Pane::Dice:
            pane = &panes.dice;
            break;
        case Pane::Neither:
            break;
        }
        if (pane != runPane || !endsInCrLf) {
            if (runPane)
                runPane->append(record.substr(runStart, lineStart - runStart));
            runPane = pane;
            runStart = lineStart;
        }
        lineStart = lineFeed ? end + 1 : end;
        if (!endsInCrLf) {
            // A line ended by LF alone, or by nothing, is copied with CR LF.
            if (pane)
                pane->append(line).append("\r\n");
            runPane = nullptr;
        } else if (pane == &panes.dice) {
            // Die lines come a thousand in a row; they join the run without a look at each.
            const std::size_t dieLines = leadingLinesStartingWith(record.substr(lineStart), 'd');
            if (dieLines) {
                lineStart += dieLines;
                scan.seek(lineStart);
            }
        }
    }
    if (runPane)
        runPane->append(record.substr(runStart, lineStart - runStart));
}
