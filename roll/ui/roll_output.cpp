#include "roll_output.h"

#include "result_pane.h"
#include "roll_record.h"

std::optional<FileFailure> fillPanesAndWorkFiles(std::string_view record, ResultPane& totals,
                                                 ResultPane& dice) {
    PaneTexts texts{totals.takeText(), dice.takeText()};
    splitRollRecord(record, texts);
    auto failure = writeWorkFiles(record, texts);
    totals.adoptText(std::move(texts.totals));
    dice.adoptText(std::move(texts.dice));
    return failure;
}
