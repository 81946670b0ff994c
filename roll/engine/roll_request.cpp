#include "roll_request.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>

namespace {

// Modifiers and add amounts beyond this are refused: a thousand dice of such values, plus the
// add amount, must still sum to a finite number, or a total would read "inf".
constexpr double largestAmount = 1e300;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}
bool isDiceLetter(char c) {
    return c == 'd' || c == 'D';
}

RollRequestResult refuse(std::string_view message) {
    return {RollEnding::Refused, {}, message};
}

bool formulaCharactersPass(std::string_view formula) {
    bool letterSeen = false;
    for (char c : formula) {
        if (!letterSeen && isDiceLetter(c)) {
            letterSeen = true;
            continue;
        }
        if (!isDigit(c) && !isSign(c))
            return false;
    }
    return true;
}

bool allOf(std::string_view text, bool (*allowed)(char)) {
    return std::all_of(text.begin(), text.end(), allowed);
}

bool isDigitOrSign(char c) {
    return isDigit(c) || isSign(c);
}

// An optional sign followed by at least one digit, and nothing else.
bool isSignedNumber(std::string_view text) {
    if (!text.empty() && isSign(text.front()))
        text.remove_prefix(1);
    return !text.empty() && allOf(text, isDigit);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool beyondLimit(double value) {
    return !(value <= rollLimit);
}

} // namespace

RollRequestResult readRollRequest(const RollInputs& inputs) {
    const std::string_view formula = inputs.formula;

    if (formula.empty())
        return {RollEnding::Silent, {}, {}};
    if (!formulaCharactersPass(formula))
        return refuse(formulaMessage);
    if (!allOf(inputs.addText, isDigitOrSign))
        return refuse(addMessage);
    if (!allOf(inputs.timesText, isDigit))
        return refuse(timesMessage);

    const std::size_t letter = formula.find_first_of("dD");
    if (letter == std::string_view::npos)
        return {RollEnding::Silent, {}, {}};

    // A sign before the letter would make the sides text run backwards; no request fits it.
    if (formula.substr(0, letter).find_first_of("+-") != std::string_view::npos)
        return refuse(formulaMessage);

    RollRequest request;
    std::size_t signPos = formula.find_last_of("+-");
    if (signPos != std::string_view::npos) {
        request.modifier = leadingNumber(formula.substr(signPos + 1));
        if (formula[signPos] == '-')
            request.modifier = -request.modifier;
        if (request.modifier == 0)
            request.modifier = 0; // "3d6-0" adds nothing, not minus zero
    } else {
        signPos = formula.size();
    }
    if (!(std::fabs(request.modifier) <= largestAmount))
        return refuse(formulaMessage);

    request.count = leadingNumber(formula.substr(0, letter));
    const std::size_t sidesEnd = std::min(signPos + 1, formula.size());
    request.sides = leadingNumber(formula.substr(letter + 1, sidesEnd - letter - 1));
    const double timesValue = leadingNumber(inputs.timesText);

    // Negative sides pass as the rolling rule allows, but not past what a sum can hold.
    if (request.sides == 1 || beyondLimit(request.sides) || beyondLimit(request.count) ||
        beyondLimit(timesValue) || !(request.sides >= -largestAmount))
        return {RollEnding::AtLimit, {}, {}};

    request.times = timesValue == 0 ? 1 : timesValue;

    const std::string_view amount = trimBlanks(inputs.addText);
    if (amount.empty()) {
        request.displayFormula = inputs.formula;
    } else {
        if (!isSignedNumber(amount))
            return refuse(addMessage);
        const double value = leadingNumber(amount);
        if (!(std::fabs(value) <= largestAmount))
            return refuse(addMessage);
        request.addText = value > 0 ? "+" + trimmedNumberText(value) : numberText(value);
        // The amount itself, not a re-reading of its text, which in exponent form ("+1E+20")
        // would stop at the "E".
        request.addValue = value == 0 ? 0 : value;
        request.displayFormula = "(" + inputs.formula + ")" + request.addText;
    }
    return {RollEnding::Formed, request, {}};
}
