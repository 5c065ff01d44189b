// The whole execution: start-up, the loop over runs and the written results.
#pragma once

// Returns the process status (0 at the end of a completed execution).
int runPravolin(int argc, const char* const* argv);
