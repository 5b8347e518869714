#pragma once

#include <cerrno>

// In a test program linked with the kill-at library: from now on the `step`th system call that
// changes a file under `folder` fails with `error`, EIO as on a failing disk unless told (0: none
// fails). Returns how many such calls there were since the last call.
extern "C" long zelk_fail_at(const char* folder, long step, int error = EIO);
