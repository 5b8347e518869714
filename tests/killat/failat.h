#pragma once

// In a test program linked with the kill-at library: from now on the `step`th system call that
// changes a file under `folder` fails with EIO, as on a failing disk (0: none fails). Returns
// how many such calls there were since the last call.
extern "C" long zelk_fail_at(const char* folder, long step);

// From now on counts the flushes (fsync, fdatasync) of files and folders under `folder` (null:
// none). Returns how many there were since the last call.
extern "C" long zelk_count_flushes(const char* folder);
