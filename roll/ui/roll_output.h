#pragma once

#include "work_files.h"

#include <optional>
#include <string_view>

class ResultPane;

// The third stage of a roll, showing it: the record is split into the totals pane and
// the dice pane, and the record and both pane texts are written to the work files. The split
// fills the panes' own buffers, so a large record is copied once, into the pane texts.
//
// The panes show the roll even when a work file cannot be written; the first failure is
// returned for the window to report over the roll it concerns.
std::optional<FileFailure> fillPanesAndWorkFiles(std::string_view record, ResultPane& totals,
                                                 ResultPane& dice);
