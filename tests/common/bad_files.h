// Settings files that are damaged, foreign or odd, shared by the tests of both front ends'
// settings code, and how to compare what is left of them after a save.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> BadSettingsFiles();

// A file's lines as the profile functions keep them when they rewrite it.
std::vector<std::string> ProfileLines(const std::string& text);

// Every line the file had, other than our own three keys in our own section, is still there and
// in the same order.
void ExpectForeignLinesKept(const std::string& before, const std::string& after);
