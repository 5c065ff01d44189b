// Process-wide constants and switches of the input side, and the helpers that
// every reader includes: the log writers and the text helpers.
#pragma once

#include <set>
#include <string>

#include "input/log.hpp"
#include "input/text.hpp"

// A line that begins with this marker is a comment line.
extern const std::string commentmarker;

// The valid bases of the sequence readers.
extern const std::set<std::string> nucleotides;

// Process-wide switches set by the command line.
extern bool verbose;  // step-by-step progress on standard output
extern bool old;      // old LD mode: minDprime 2.0 instead of 0.4
