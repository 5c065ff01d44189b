// Allele-count input turned into the run's analysable sites: the locus filter,
// expected heterozygosities within and over populations, and per-locus FST.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "input/allele_counts.hpp"

enum class CountFormat { BayeScan, Genepop, PlinkNucleotide, PlinkNumeric };

// Every distinct code of the rows other than skip, ascending as unsigned 32-bit.
template <typename Skip>
void distinctValuesExcept(const std::vector<std::vector<std::int32_t>>& rows, const Skip& skip,
                          std::vector<std::int32_t>& out);

// Diversity within a population, and so FST, needs a locus, and two
// individuals of each population (Genepop, PLINK: samplesizes) or, for
// BayeScan, whose files give no individuals, two gene copies of it at one
// locus at least. Fatal (status 1), naming the first population that falls
// short, or the file when a BayeScan or Genepop file has no locus.
void requireLocusAndTwoIndividualsOrCopies(CountFormat format, const std::string& inputName,
                                           const std::vector<int>& samplesizes,
                                           const AlleleCountTable& allelecounts);

// Whether the most common allele, mostCommon of a population's copies (more
// than 0), has a share above 1 - maf. Decided on the share of the other
// copies, (copies - mostCommon) / copies, against maf: one correctly rounded
// division equals the double of maf whenever the share equals maf's decimal
// value, so a locus at the boundary is never left out by rounding.
bool mostCommonAboveMaf(double copies, double mostCommon, double maf);

// The loci of an allele-count table: read, kept, and left out for the first
// reason met (populations in order).
struct LocusFilterCounts {
  std::size_t read = 0;
  std::size_t kept = 0;
  std::size_t commonAllele = 0;   // most common allele above 1 - maf in a population
  std::size_t missingCopies = 0;  // Genepop, PLINK: n - 1 or more of 2n copies missing
  std::size_t noCopies = 0;       // BayeScan: no gene copies in a population
};

// The one console line that accounts for every locus of the run's input,
// listing the reasons the format can give, zero included.
std::string locusFilterLine(CountFormat format, const std::string& inputName, double maf,
                            const LocusFilterCounts& counts);

// Keeps the loci that pass maf in every population and that every population
// holds (usable, with gene copies), computes their Hs, Ht and FST; fills the
// run's names, positions, frequencies, site count (numsnps[0]), FST
// distribution {FST, 0.0} and mean FST, and returns what it kept and left out.
// inputName names the run in error messages. A table with other than two
// populations is fatal (status 3), and so is one with another number of locus
// names than loci (status 1).
LocusFilterCounts buildAlleleCountSites(
    CountFormat format, const double& maf, const std::string& inputName,
    AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
    std::vector<std::string>& filelocnames, std::vector<std::vector<double>>& snpositions,
    std::vector<std::vector<double>>& snpfreqs, std::vector<double>& metapopsnpositions,
    std::vector<int>& numsnps, std::vector<std::pair<double, double>>& fstdistrib,
    double& meanFst);
