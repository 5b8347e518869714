#pragma once

// The exit codes of the command-line runs, as `--help` explains them (0 is success).
constexpr int kFailed = 1;  // the causes are on standard error; unprinted labels stay queued
constexpr int kRefused = 2; // the running copy or another process works on the queue
