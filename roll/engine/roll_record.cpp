#include "roll_record.h"

#include <cstring>

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
    const char* p = record.data();
    const char* const end = p + record.size();
    std::string* runPane = nullptr;
    const char* runStart = p;
    auto endRun = [&](const char* runEnd) {
        if (runPane)
            runPane->append(runStart, static_cast<std::size_t>(runEnd - runStart));
    };
    while (p < end) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* next = lf ? lf + 1 : end;
        std::string_view line(p, static_cast<std::size_t>((lf ? lf : end) - p));
        const bool endsInCrLf = lf && line.ends_with('\r');
        if (endsInCrLf)
            line.remove_suffix(1);
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
            endRun(p);
            runPane = pane;
            runStart = p;
        }
        if (!endsInCrLf) {
            // A line ended by LF alone, or by nothing, is copied with CR LF.
            if (pane)
                pane->append(line).append("\r\n");
            runPane = nullptr;
            runStart = next;
        }
        p = next;
    }
    endRun(end);
}
