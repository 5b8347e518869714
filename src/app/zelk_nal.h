#pragma once

// The program's entry sequence; returns the process's exit code.
int runZelkNal(int argc, char** argv);
