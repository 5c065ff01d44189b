// The results table of an execution, its significant rows and the summary of
// several files, and the name they are written under.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/run_state.hpp"

// The results name without extension, carrying the execution's settings.
std::string resultsName(const Execution& exec);

// Appends one row per candidate of every analysed file to outname, the
// significant rows to its "_SIG.tsv" sibling, and, for two files or more, the
// summary by candidate rank. segsites becomes its mean over the files.
void writeResults(const std::vector<FileRecord>& files, std::uint64_t nRuns,
                  const std::string& outname, double alpha, double& segsites,
                  bool namesSnps, std::uint64_t maxcandidates);
