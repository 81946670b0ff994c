#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The layout of a result pane's text: an index of where each line starts, and the rows that
// the lines wrap into at a given number of columns. The font is fixed-pitch, so a row is
// measured in characters. Positions are byte offsets into the text (one byte is one Latin-1
// character); a line is the text between two line feeds, without its CR LF.
//
// Indexing is one pass over the text. Wrapping costs nothing while every line fits in a row,
// as record lines do; only when some line is longer are the rows of each line counted, and
// the breaks inside one line are worked out when that line is shown.
class PaneLayout {
public:
    struct Row {
        std::size_t line = 0;
        std::size_t start = 0; // offset of the row's first character
        std::size_t end = 0;   // offset after its last character, blanks it keeps included
    };

    // Indexes text, which must stay unchanged and in place until the next call.
    void setText(std::string_view text);
    // Characters that fit in one row; at least one.
    void setColumns(std::size_t columns);
    std::size_t columns() const { return columns_; }

    std::size_t lineCount() const { return lineStarts_.size(); }
    std::size_t lineStart(std::size_t line) const { return lineStarts_[line]; }
    // Offset after the line's last character, before its CR LF.
    std::size_t lineEnd(std::size_t line) const;
    std::size_t lineOf(std::size_t offset) const;

    std::size_t rowCount() const;
    Row row(std::size_t index) const;
    std::size_t rowOf(std::size_t offset) const;
    std::size_t firstRowOfLine(std::size_t line) const;

    // The nearest offset a caret can take: never between a CR and its LF, never past the end.
    std::size_t caretOffset(std::size_t offset) const;

private:
    bool wraps() const { return longestLine_ > columns_; }
    void countRows() const;
    // Row starts of one line, cached for the line shown last.
    const std::vector<std::size_t>& rowStartsOf(std::size_t line) const;

    std::string_view text_;
    std::vector<std::uint32_t> lineStarts_{0};
    std::size_t longestLine_ = 0;
    std::size_t columns_ = 1;

    // When some line wraps: the first row of each line, and one more entry for the end.
    mutable std::vector<std::uint32_t> firstRows_;
    mutable bool rowsCounted_ = false;
    mutable std::size_t cachedLine_ = SIZE_MAX;
    mutable std::vector<std::size_t> cachedRowStarts_;
};

// Where the rows of one line start when it is wrapped at columns: at word boundaries where a
// word fits, anywhere inside a word longer than a row. Blanks at a break stay on the row they
// end, as in a text box.
void wrapLine(std::string_view line, std::size_t columns, std::vector<std::size_t>& rowStarts);
