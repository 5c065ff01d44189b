// Base counting and allele coding shared by the phased HapMap and fastPHASE
// readers.
//
// Both readers code one base per site as allele 1: the least frequent base of
// the reference population, chosen from per-site counts of A, C, G, T and of
// every other symbol (missing data). The FASTA readers, which code against
// the major base instead, share the count of the sites left out.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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
// - the reference's symbols that are no base, counted together as one symbol,
//   outnumber its most frequent base (a tie keeps the site): deletedSite;
// - the reference carries two or more bases: the least frequent of them (the
//   earlier letter on a tie, so on an even split the major base is coded);
// - the reference carries a single base: the other population's most frequent
//   base that differs from it (earlier letter on a tie), so that a fixed
//   difference between the populations is coded; noCodedBase when the other
//   population carries no other base either.
int chooseCodedBase(const SiteCounts& reference, int refSize, const SiteCounts& other);

// The population whose bases decide the coding: the one with more haplotypes,
// pref itself (0 or 1) when both have the same number.
int codingPopulation(const int (&sizes)[2], int pref);

// The most frequent of the symbols that are no base (A, C, G, T in either
// case); on a tie, the one that reached that count first. '\0' when every
// symbol is a base.
char prevailingNonBase(const std::string& symbols);

// The rule by which chooseCodedBase leaves a site out, as its warning states it.
extern const char* const noBaseRule;

// The sites of a read left out because too few of the reference population's
// symbols there are bases (a table written as 0/1, for instance): the results
// would otherwise be empty, or lack sites, without a word. rule states the
// reader's rule in the warning.
class LeftOutSites {
 public:
  explicit LeftOutSites(const char* rule = noBaseRule) : rule_(rule) {}
  // Counts a site; refSymbols, the reference population's symbols at the
  // site, is only asked for at the first.
  template <typename Symbols>
  void add(Symbols refSymbols) {
    if (count_++ == 0) symbol_ = prevailingNonBase(refSymbols());
  }
  // One warning line naming the file, on standard output and in Pravis.log,
  // when a site was left out.
  void warn(const std::string& fileName) const;

 private:
  const char* rule_;
  long long count_ = 0;
  char symbol_ = 0;
};
