#include "pane_layout.h"

#include "line_scan.h"

#include <algorithm>

void wrapLine(std::string_view line, std::size_t columns, std::vector<std::size_t>& rowStarts) {
    rowStarts.assign(1, 0);
    const std::size_t n = line.size();
    std::size_t start = 0;
    while (n - start > columns) {
        // The last blank that still fits (a blank just past the row may hang on it)...
        std::size_t blank = start + columns;
        while (blank > start && line[blank] != ' ')
            --blank;
        std::size_t next;
        if (blank > start) {
            // ...ends the row; the blanks after it hang on the row too.
            next = blank + 1;
            while (next < n && line[next] == ' ')
                ++next;
            if (next == n)
                break;
        } else {
            next = start + columns; // a word longer than a row breaks anywhere
        }
        rowStarts.push_back(next);
        start = next;
    }
}

void PaneLayout::setText(std::string_view text) {
    text_ = text;
    lineStarts_.clear();
    lineStarts_.push_back(0);
    longestLine_ = 0;
    // Line starts are kept in 32 bits, which halves the index of a long record; a text of
    // 4 GiB or more has its remaining lines shown as one.
    const std::string_view indexed = text.substr(0, std::min<std::size_t>(text.size(), UINT32_MAX));
    LineFeedScanner scan(indexed);
    std::size_t start = 0, longest = 0;
    for (std::size_t lf; (lf = scan.next()) != LineFeedScanner::none; start = lf + 1) {
        const std::size_t length = lf - start - (lf > start && text[lf - 1] == '\r' ? 1 : 0);
        longest = std::max(longest, length);
        lineStarts_.push_back(static_cast<std::uint32_t>(lf + 1));
    }
    longestLine_ = std::max(longest, text.size() - start);
    rowsCounted_ = false;
    cachedLine_ = SIZE_MAX;
}

void PaneLayout::setColumns(std::size_t columns) {
    columns = std::max<std::size_t>(columns, 1);
    if (columns == columns_)
        return;
    columns_ = columns;
    rowsCounted_ = false;
    cachedLine_ = SIZE_MAX;
}

std::size_t PaneLayout::lineEnd(std::size_t line) const {
    if (line + 1 >= lineStarts_.size())
        return text_.size();
    std::size_t end = lineStarts_[line + 1] - 1; // the line feed
    if (end > lineStarts_[line] && text_[end - 1] == '\r')
        --end;
    return end;
}

std::size_t PaneLayout::lineOf(std::size_t offset) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
}

void PaneLayout::countRows() const {
    if (rowsCounted_)
        return;
    firstRows_.resize(lineStarts_.size() + 1);
    std::vector<std::size_t> starts;
    std::uint32_t rows = 0;
    for (std::size_t line = 0; line < lineStarts_.size(); ++line) {
        firstRows_[line] = rows;
        const std::size_t start = lineStart(line), length = lineEnd(line) - start;
        if (length <= columns_) {
            ++rows;
        } else {
            wrapLine(text_.substr(start, length), columns_, starts);
            rows += static_cast<std::uint32_t>(starts.size());
        }
    }
    firstRows_.back() = rows;
    rowsCounted_ = true;
}

const std::vector<std::size_t>& PaneLayout::rowStartsOf(std::size_t line) const {
    if (cachedLine_ != line) {
        const std::size_t start = lineStart(line);
        wrapLine(text_.substr(start, lineEnd(line) - start), columns_, cachedRowStarts_);
        for (std::size_t& s : cachedRowStarts_)
            s += start;
        cachedLine_ = line;
    }
    return cachedRowStarts_;
}

std::size_t PaneLayout::rowCount() const {
    if (!wraps())
        return lineCount();
    countRows();
    return firstRows_.back();
}

std::size_t PaneLayout::firstRowOfLine(std::size_t line) const {
    if (!wraps())
        return line;
    countRows();
    return firstRows_[line];
}

PaneLayout::Row PaneLayout::row(std::size_t index) const {
    if (!wraps())
        return {index, lineStart(index), lineEnd(index)};
    countRows();
    const auto after = std::upper_bound(firstRows_.begin(), firstRows_.end() - 1, index);
    const std::size_t line = static_cast<std::size_t>(after - firstRows_.begin()) - 1;
    const auto& starts = rowStartsOf(line);
    const std::size_t k = index - firstRows_[line];
    const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : lineEnd(line);
    return {line, starts[k], end};
}

std::size_t PaneLayout::rowOf(std::size_t offset) const {
    const std::size_t line = lineOf(offset);
    if (!wraps())
        return line;
    countRows();
    const auto& starts = rowStartsOf(line);
    const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
    return firstRows_[line] + static_cast<std::size_t>(after - starts.begin()) - 1;
}

std::size_t PaneLayout::caretOffset(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    if (offset > 0 && offset < text_.size() && text_[offset] == '\n' && text_[offset - 1] == '\r')
        --offset;
    return offset;
}
