#pragma once

#include <optional>

// The Linux program's command line. The window takes no arguments, but a Linux user expects
// --help and --version to answer and end, and anything else to be refused. The Windows program,
// started from Explorer, takes none and looks at none.
//
// The exit status when the command line asks for an answer instead of the window (0) or is
// refused (2); none when there is nothing on it and the window is to open.
std::optional<int> AnswerCommandLine(int argc, char** argv);
