// Common sites of the two populations and the pooled sample of a run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "input/haplotypes.hpp"

struct Execution;
struct RunData;

// Keeps only population p's sites whose position is in commons, with their
// frequencies and their cells in p's rows (rows offset by the sample sizes of
// the populations before p). Preconditions, asserted: positions and commons
// ascend (repeats allowed) and are finite numbers, freqs holds one entry per
// position, data holds p's rows, each with one cell per position.
void deleteNonCommonSNPs(HaplotypeMatrix& data, int p, const std::vector<int>& samplesizes,
                         std::vector<double>& freqs, std::vector<double>& positions,
                         const std::vector<double>& commons);

// Builds the pooled sample: moves the rows of data (which the run does not
// need afterwards) into metapopdata and merges the two position lists into
// ascending distinct positions. Preconditions, asserted: data is not empty,
// snpositions holds exactly two lists, each ascending and finite.
void dataFusion(HaplotypeMatrix& data, HaplotypeMatrix& metapopdata,
                const std::vector<std::vector<double>>& snpositions,
                std::vector<double>& metapopsnpositions, int& metapopsamplesize);

// The pooled allele-1 frequency of a site from two populations of n0 and n1
// haplotypes whose allele-1 frequencies are f0 and f1: the allele-1 copies
// of both over the haplotypes of both, so that a site whose copies are
// exactly a share of the haplotypes has that share as its frequency.
double pooledFrequency(int n0, double f0, int n1, double f1);

// Sorts positions in place; returns the number of distinct values other than
// -99.0 and sets repeated to the first repeated value.
int countDistinctPositions(std::vector<double>& positions, double& repeated);

// Ends the execution (status 3) when the input named file holds other than
// the expected number of populations; hint, when given, ends the message.
void requirePopulationCount(const std::string& file, std::size_t found, int expected,
                            const std::string& hint = std::string());

// Diversity within a population, and so FST, needs two of its haplotypes (or
// individuals, or gene copies). Ends the execution (status 1) saying that
// population p (from 0) of file has `has` and that 2 `unitPlural` are needed.
[[noreturn]] void populationTooSmall(const std::string& file, std::size_t p, const std::string& has,
                                     const std::string& unitPlural);

// populationTooSmall for the first population with fewer than two of unit
// ("haplotype", "individual") in sizes.
void requireTwoInEachPopulation(const std::string& file, const std::vector<int>& sizes,
                                const std::string& unit);

enum class RunStep { Continue, EndRun };

// The parsed-file line, the population checks, the common sites, the
// deletions and the pooled sample. EndRun when the run has no common site.
RunStep poolRunSites(Execution& exec, RunData& run);

// After the SNP information table: records the run's sample sizes, settles
// the skip flag and ends the run when the pooled sample is too small.
RunStep checkPooledSize(Execution& exec, RunData& run);
