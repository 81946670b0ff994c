#include "die_line_texts.h"

#include "number_text.h"

#include <algorithm>

DieLineTexts::DieLineTexts(const RollRequest& request) {
    std::string text;
    const auto count = static_cast<std::size_t>(std::max(request.count, 0.0));
    starts_.assign(count * slot, '\0');
    startLengths_.resize(count);
    for (std::size_t k = 1; k <= count; ++k) {
        text.clear();
        text.push_back('d');
        appendTrimmedNumberText(text, request.sides);
        text.push_back('(');
        appendTrimmedNumberText(text, static_cast<double>(k));
        text.append(")> ");
        store(text, starts_, startLengths_, k - 1);
        longestStart_ = std::max(longestStart_, text.size());
    }
    // Faces run from 1 to sides, or from sides + 1 to 1 when sides is below 1.
    lowestFace_ = std::min(1.0, request.sides + 1);
    const double faces = std::max(1.0, request.sides) - lowestFace_ + 1;
    if (faces <= 4096) {
        const auto n = static_cast<std::size_t>(faces);
        values_.assign(n * slot, '\0');
        valueLengths_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            text.clear();
            appendNumberText(text, (lowestFace_ + static_cast<double>(i)) + request.modifier);
            text.append("\r\n");
            store(text, values_, valueLengths_, i);
            longestValue_ = std::max(longestValue_, text.size());
        }
    } else {
        longestValue_ = slot; // see appendValue
    }
}

void DieLineTexts::store(const std::string& text, std::string& slots,
                         std::vector<unsigned char>& lengths, std::size_t i) {
    const std::size_t n = std::min(text.size(), slot);
    text.copy(&slots[i * slot], n);
    lengths[i] = static_cast<unsigned char>(n);
}

// Values of dice with many faces are written one by one; a number's text with the CR LF
// stays within a slot.
char* DieLineTexts::appendValue(char* out, double value) const {
    scratch_.clear();
    appendNumberText(scratch_, value);
    scratch_.append("\r\n");
    const std::size_t n = std::min(scratch_.size(), slot);
    scratch_.copy(out, n);
    return out + n;
}
