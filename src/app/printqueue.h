#pragma once

// `zelk_nal --print-queue [SETTINGS]`: a run without a window, a tray icon or questions. The
// buffer joins the saved queue, every full sheet is printed as the timer prints without preview,
// and the lines left over stay in the saved queue. `--history` and `--reprint N` run the same
// way: alone they list or reprint the history here, beside a running copy through it.

// Exit codes: 0 when every full sheet was printed (or none waited); 1 when something went wrong
// (the reasons are on standard error); 2 when another copy of the program runs (nothing is
// touched then).
int runPrintQueue(int argc, char** argv);
