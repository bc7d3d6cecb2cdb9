// Diagnostics, written whole: one write, so that lines from garvo and its helper never interleave.
#include "diagnostic.h"

#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

void Diagnostic(const char* format, ...)
{
    char line[512];
    int prefix = snprintf(line, sizeof line, "garvo: ");
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(line + prefix, sizeof line - prefix - 1, format, arguments);
    va_end(arguments);
    size_t end = length < 0                                  ? size_t(prefix)
                 : size_t(prefix + length) < sizeof line - 1 ? size_t(prefix + length)
                                                             : sizeof line - 2;
    line[end] = '\n';
    ssize_t written = write(STDERR_FILENO, line, end + 1);
    (void)written; // nowhere else to say it
}
