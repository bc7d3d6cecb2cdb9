// What garvo says to a command line: --help, --version, or how to use it.
#pragma once

#include <stdio.h>

// Answers any arguments: usage or version and 0, or usage on standard error and 2 for anything
// else. `settings` is the file this run would use.
int AnswerCommandLine(int argc, char** argv, const char* settings);
