#pragma once

#include <string>
#include <string_view>

// The first stage of a roll: the three text inputs of the main window are checked in a fixed
// order and either form a RollRequest or end the roll. DiceFormula is the formula text as
// typed: count, "d" or "D", sides, and an optional sign with a modifier added to every die.
using DiceFormula = std::string;

// What the window hands over: its three text boxes, as single-byte text.
struct RollInputs {
    DiceFormula formula;
    std::string addText;
    std::string timesText;
};

struct RollRequest {
    double count = 0;
    double sides = 0;
    double modifier = 0;
    double times = 1;
    std::string addText;        // "+5", "-3", " 0" or empty
    double addValue = 0;        // added once to each repetition's total
    std::string displayFormula; // as shown after "Rolled: "
};

enum class RollEnding {
    Formed,  // a request was formed; roll it
    Refused, // show the message in the totals pane
    Silent,  // change nothing at all
    AtLimit, // change nothing but the closing step
};

struct RollRequestResult {
    RollEnding ending = RollEnding::Silent;
    RollRequest request;      // valid when ending is Formed
    std::string_view message; // valid when ending is Refused
};

inline constexpr std::string_view formulaMessage =
    "The formula must be entered as follows: #d#+# or #d#-# with no exceptions.";
inline constexpr std::string_view addMessage =
    "The Add or Subtract box may only have a + or - sign followed by a number with no "
    "exceptions.";
inline constexpr std::string_view timesMessage =
    "The Times box may only contain a number with no exceptions.";

// Largest count, sides and repetitions that a roll accepts.
inline constexpr double rollLimit = 1000;

RollRequestResult readRollRequest(const RollInputs& inputs);
