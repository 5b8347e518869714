#pragma once

#include <QString>

class LabelPrinter;

// The line the program writes at its start for whoever started it from a terminal: the settings
// file, the buffer file and the printer the sheets will go to.
QString startLine(LabelPrinter& labels);
