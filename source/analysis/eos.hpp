// The EOS test: per-site FST, the Lewontin-Krakauer test, the upper fence and
// k-means, or the high-mean rule.
#pragma once

struct Execution;
struct RunData;

// The bound Q of the run, from the format, npops, maf and the sample sizes.
double eosBound(const Execution& exec, const RunData& run);

// Runs the test on the run's pooled sample (haplotype input) or on the FST
// values already derived from allele counts.
void runEosTest(Execution& exec, RunData& run);
