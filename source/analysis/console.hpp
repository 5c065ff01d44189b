// The analysis's notes to the user: said on the console and kept in the log
// text of the execution, which a -verbose execution writes to Pravis.log at
// its end.
#pragma once

#include <string>

struct Execution;

// Prints text and a line end on standard output and appends text to the log
// text.
void note(Execution& exec, const std::string& text);
