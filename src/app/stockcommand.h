#pragma once

// `zelk_nal --stock [TEXT]` and `zelk_nal --set-stock "MAKER PART" [SETTINGS]`, for setting up
// workstations from a shell: the label stock of the catalogue, one sheet a line, and the choice of
// one into the settings file. Neither needs a display. Returns the exit code: 0, or 1 with the
// reason on standard error.
int runStockCommand(int argc, char** argv);
