#pragma once

#include "labels/printhistory.h"

#include <optional>

class LabelPrinter;

// `zelk_nal --history` and the choice of `zelk_nal --reprint N`: the history of printed sheets
// on standard output, newest first, numbered from 1.

// Prints the history, one sheet a line; returns the exit code, 0.
int printHistoryList(const LabelPrinter& labels);

// Sheet `number` of that list; none, with the reason on standard error, when it is not there.
std::optional<PrintedSheet> historySheet(const LabelPrinter& labels, int number);

// With a running copy: lists the history, or asks the running copy to print sheet `number` again
// (`startPlace` cannot be served there). Returns the exit code.
int historyBesideRunningCopy(const LabelPrinter& labels, std::optional<int> number,
                             std::optional<int> startPlace);
