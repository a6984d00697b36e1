// What the main window makes of its start-up text and of its choosers'
// answers, without any window.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

namespace velk {

// The item named by the raw command line: surrounding blanks dropped, and one
// pair of double quotes around the whole text removed (a shell association or
// a drag onto the program quotes the path; a file name never holds a quote).
// Empty when nothing was named.
std::string CommandLineItem(const std::string& raw);

// The full paths a several-files chooser returned in buffer: either one path,
// or the folder followed by each chosen name, every piece ending with a zero
// and the list with a second one. Nothing past size is read.
std::vector<std::string> ChosenFiles(const char* buffer, size_t size);

}  // namespace velk
