// The check that the two input names of input given one population per file
// reach two files.
#pragma once

#include "analysis/input_format.hpp"
#include "input/options.hpp"

// With one population per file: two equal names end the program (status 1),
// and so do two names that the readers would open as one file (a link, a
// case variant found by the lower-cased second try of the opener, two
// spellings of one path), which would read one sample as both populations.
void requireTwoInputFiles(const Options& options, InputFormat format);
