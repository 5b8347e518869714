#pragma once

// A saved queue of a million lines is a million small allocations, and where the first touch
// of every 4 KiB page costs a trap (virtual machines above all) that alone makes the start with
// such a queue take twice as long. glibc's malloc asks the kernel for transparent huge pages
// when its tunable says so; tunables are read when a program starts, so the program starts
// itself once more with the tunable set, unless it already is. Where that cannot be done the
// program goes on as it is.
void restartWithHugePages(char** argv);
