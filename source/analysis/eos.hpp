// The EOS test: per-site FST, the Lewontin-Krakauer test, the upper fence and
// k-means, or the high-mean rule.
#pragma once

#include <vector>

#include "stats/outliers.hpp"

struct Execution;
struct RunData;

// Positions of the selected outliers, from which outlier-centred candidates
// are taken: neighbours less than 1.0 apart collapse into the one with the
// better p-value (the smaller among EOS outliers, the larger among Non-EOS
// ones, in a second pass that continues the first).
std::vector<double> outlierPositions(const std::vector<Outlier>& eos,
                                     const std::vector<Outlier>& nonEos);

// Positions of the sites that the high-mean rule selects, in their order: a
// position closer than or exactly 1.0 to the last one kept is skipped.
std::vector<double> highMeanPositions(const std::vector<Outlier>& selected);

// The bound Q of the run, from the format, npops, maf and the sample sizes.
double eosBound(const Execution& exec, const RunData& run);

// Runs the test on the run's pooled sample (haplotype input) or on the FST
// values already derived from allele counts.
void runEosTest(Execution& exec, RunData& run);
