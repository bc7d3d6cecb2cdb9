// The one place garvo's diagnostics go: one line each, "garvo: " and the text, on standard error.
// The program opens file descriptors 0 to 2 before any display or file (onto /dev/null where a
// launcher closed them), so that a line written here never lands in a display's connection.
#pragma once

// Says one line; `format` is printf's, without the prefix or the newline.
void Diagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));
