// Base counting and allele coding shared by the phased HapMap and fastPHASE
// readers, and the small pieces of their error handling that they share.
//
// Both readers code one base per site as allele 1: the least frequent base of
// the reference population, chosen from per-site counts of A, C, G, T and of
// every other symbol (missing data).
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "input/haplotypes.hpp"
#include "input/log.hpp"

// Symbol codes: the four bases in this order, then every other symbol.
enum : unsigned char { baseA = 0, baseC = 1, baseG = 2, baseT = 3, baseOther = 4 };

// The code of a haplotype character; lower-case letters code like upper-case ones.
unsigned char baseCode(char c);

// Counts of A, C, G, T and other symbols at one site of one population.
using SiteCounts = std::array<std::uint32_t, 5>;

// Results of chooseCodedBase besides a base code 0..3.
constexpr int noCodedBase = baseOther;  // the site stays, every cell is 0
constexpr int deletedSite = -1;         // the site is removed from both populations

// The base coded 1 at a site, from the counts of the reference population
// (refSize rows) and of the other population at the same site:
// - the reference's most frequent symbol (first maximum in the order A, C, G,
//   T, other) is no base: deletedSite;
// - the reference carries two or more bases: the least frequent of them (the
//   earlier letter on a tie, so on an even split the major base is coded);
// - the reference carries a single base: the other population's most frequent
//   base that differs from it (earlier letter on a tie), so that a fixed
//   difference between the populations is coded; noCodedBase when the other
//   population carries no other base either.
int chooseCodedBase(const SiteCounts& reference, int refSize, const SiteCounts& other);

// Opens path + name for a reader; on failure prints the reader's message after
// the opening messages and returns false.
bool openReaderInput(const std::string& path, const std::string& name, std::ifstream& in);

// Rejects malformed input: the message goes to standard output and to the
// error log, and the process ends with status 1.
[[noreturn]] void rejectInput(const std::string& message);

// The largest number of sites a reader accepts from one file.
constexpr long long maxSitesPerFile = 2147483646LL;

// Ends the process when a file holds more sites than maxSitesPerFile.
void checkSiteCount(long long sites, const std::string& fileName);

// The population whose bases decide the coding: the one with more haplotypes,
// pref itself (0 or 1) when both have the same number.
int codingPopulation(const int (&sizes)[2], int pref);

// What a haplotype reader hands to its caller; both populations keep the same
// sites, so they share one list of positions.
struct CodedSample {
  int sizes[2] = {0, 0};
  HaplotypeMatrix rows;
  std::vector<double> freqs[2];
  std::vector<double> positions;
  int reference = 0;

  // Moves the sample into the caller's tables.
  void moveTo(std::vector<int>& samplesizes, HaplotypeMatrix& data,
              std::vector<std::vector<double>>& snpfreqs,
              std::vector<std::vector<double>>& snpositions, int& pref);
};

// Builds a haplotype matrix one site at a time, when the number of sites is
// not known in advance: rows grow by a word of 64 cells at a time and only
// the cells coded 1 are touched.
class SiteMatrixBuilder {
 public:
  explicit SiteMatrixBuilder(std::size_t rows) : rows_(rows) {}

  // Opens the next site, 0 in every row, and returns its index.
  std::size_t addSite();
  void set(std::size_t row, std::size_t site) { rows_[row].set(site); }
  std::size_t sites() const { return sites_; }

  // The finished matrix, every row sites() cells long.
  HaplotypeMatrix take();

 private:
  HaplotypeMatrix rows_;
  std::size_t sites_ = 0;
};
