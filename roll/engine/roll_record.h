#pragma once

#include <string>
#include <string_view>
#include <vector>

// rollRecord: the lines of one roll (headings, rules, totals, die lines, notes) kept in one
// buffer, each line ended by CR LF as the work files and the log store it. The buffer is
// reused from roll to roll, so a large roll allocates once. Beside the text, the total of each
// repetition is kept as its line is written, so that nothing has to read it back.
class RollRecord {
public:
    void clear() {
        text_.clear();
        totals_.clear();
    }
    const std::string& text() const { return text_; }
    // One total per repetition, in order; a repetition that ends in the both-drops refusal has
    // none.
    const std::vector<double>& totals() const { return totals_; }
    void keepTotal(double total) { totals_.push_back(total); }

    // Builds a line in place: call begin..., append the pieces to line(), then endLine().
    std::string& line() { return text_; }
    void endLine() { text_.append("\r\n"); }
    void addLine(std::string_view line) {
        text_.append(line);
        endLine();
    }

    // Whole lines, each already ended by CR LF.
    void addLines(std::string_view lines) { text_.append(lines); }

private:
    std::string text_;
    std::vector<double> totals_;
};

// The two pane texts of a record.
struct PaneTexts {
    std::string totals;
    std::string dice;
};

// Splits a record by how each line begins: headings, double rules and totals go to the
// totals pane; die lines, dropped values, drop and reroll notes and single rules to the dice
// pane; anything else (the both-drops refusal) to neither. Lines end at LF, a CR before it is
// dropped, and every copied line ends with CR LF.
void splitRollRecord(std::string_view record, PaneTexts& panes);
