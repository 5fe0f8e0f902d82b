#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Grading from the command line, without a display:
//
//   procesor --check [--csv] ÚLOHA PROGRAM…   one line (or CSV row) per program file
//   procesor --verify ÚLOHA KÓD               whether a result code solves the task
//
// Exit status: 0 when every program passes (the code is a passing solution), 1 when
// one fails (the code is not), 2 when a file or the code is bad (its message on the
// error stream, naming the file, line and position).
namespace procesor {

// The exit status, or -1 when `args` (without the program's name) are no grading
// command and the window is to open.
int gradeFromCommandLine(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err);

} // namespace procesor
