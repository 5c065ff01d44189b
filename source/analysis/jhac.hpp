// The JHac test of every candidate and the storing of the run's results.
#pragma once

#include <vector>

#include "analysis/candidates.hpp"

struct Execution;
struct RunData;
struct CandidateResult;

// Counts of the HAC values in K classes: with w = max((m - 1) / K, 1), the
// value x is in class min(x / w, K - 1), so that every value has one class.
std::vector<double> classCounts(const std::vector<double>& hacs, int K, int m);

// JHac of two class distributions of n1 and n2 values: the frequencies
// (count + 0.5) / (n + K / 2) compared class by class.
double jhacStatistic(const std::vector<double>& counts1, const std::vector<double>& counts2,
                     double n1, double n2);

// HAC values of both populations, their classes, JHac and its p-value for
// one candidate window. testRuns false, or a single class, leaves the
// candidate untested (tested false; JHac 0, Pval 1 are no result).
CandidateResult testCandidate(const RunData& run, const CandidateWindow& window,
                              bool testRuns);

// Tests every candidate of the run, in candidate order, into run.results.
void runJhacTest(Execution& exec, RunData& run, const std::vector<CandidateWindow>& windows);

// Stores the run's file record for the report writers: with its results
// (sorted by position) when the candidate analysis ran.
void storeFileRecord(Execution& exec, RunData& run, bool analysed);
