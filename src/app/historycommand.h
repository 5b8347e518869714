#pragma once

#include "labels/printhistory.h"

#include <optional>

class LabelPrinter;

// `zelk_nal --history` and the choice of `zelk_nal --reprint N`: the history of printed sheets
// on standard output, newest first, each under its number, which stays the sheet's as sheets
// are added and the oldest leave.

// Prints the history, one sheet a line; returns the exit code: 0, or 1 when it cannot be read
// (the reason on standard error).
int printHistoryList(const LabelPrinter& labels);

// The sheet numbered `number`; none, with the reason on standard error, when it is not there.
std::optional<PrintedSheet> historySheet(const LabelPrinter& labels, int number);

// With a running copy: lists the history, or asks the running copy to print exactly the sheet
// numbered `number` in this history again (`startPlace` cannot be served there). Returns the
// exit code: 0 when the running copy prints that sheet, 1 when it refuses (why, on standard
// error).
int historyBesideRunningCopy(const LabelPrinter& labels, std::optional<int> number,
                             std::optional<int> startPlace);
