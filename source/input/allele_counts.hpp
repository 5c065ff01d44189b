// Allele-count tables filled by the PLINK, Genepop and BayeScan readers.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// [locus][population][allele]: copies of each distinct allele.
using AlleleCountTable = std::vector<std::vector<std::vector<float>>>;
// [locus][population]: copies of the most frequent allele, -99.0 when unusable.
using MaxAlleleCountTable = std::vector<std::vector<float>>;
// [locus][population][allele]: distinct allele codes, ascending as unsigned.
using AlleleIdTable = std::vector<std::vector<std::vector<std::int32_t>>>;

// Allele codes are ordered as unsigned 32-bit numbers, so that a negative
// code such as -9 comes after every non-negative one.
inline bool codeLess(std::int32_t a, std::int32_t b) {
  return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
}

// The count that marks a locus unusable in a population.
constexpr float unusableLocus = -99.0f;

// Distinct codes of column other than missing (ascending as unsigned) and their
// counts; n = column length. Returns the number of codes.
int countAlleles(const std::vector<std::int32_t>& column, std::int32_t missing,
                 std::vector<std::int32_t>& codes, std::vector<float>& counts, int& n);

// Copies of each allele at every locus of one population, gathered while a
// file is streamed, so that no genotype matrix has to be kept. Missing copies
// are not added: they are what the population's 2n copies lack. The first
// alleles of every locus sit in one flat block (a locus rarely has more);
// further ones are kept aside per locus.
class PopulationTally {
 public:
  explicit PopulationTally(std::size_t loci = 0);
  std::size_t loci() const { return used_.size(); }
  void add(std::size_t locus, std::int32_t code) {
    const std::size_t base = locus * slots;
    const std::size_t used = used_[locus];
    for (std::size_t k = 0; k < used; ++k)
      if (codes_[base + k] == code) {
        ++counts_[base + k];
        return;
      }
    if (used < slots) {
      codes_[base + used] = code;
      counts_[base + used] = 1;
      ++used_[locus];
    } else {
      addBeyondSlots(locus, code);
    }
  }

  // The codes of a locus ascending as unsigned 32-bit numbers and their
  // copies, as countAlleles gives them for the locus's column; returns the
  // total of the copies.
  std::uint64_t emit(std::size_t locus, std::vector<std::int32_t>& codes,
                     std::vector<float>& counts) const;

  // Stores every locus as population p, which has n individuals (2n allele
  // copies per locus), in the tables. A locus where at least n - 1 copies are
  // missing is unusable there (largest count -99.0).
  void store(int p, int n, AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
             AlleleIdTable& alleleids) const;

 private:
  void addBeyondSlots(std::size_t locus, std::int32_t code);

  static constexpr std::size_t slots = 4;
  std::vector<std::int32_t> codes_;    // slots per locus
  std::vector<std::uint32_t> counts_;  // slots per locus
  std::vector<std::uint8_t> used_;     // slots in use per locus
  // Alleles beyond the slots, hashed: a locus may hold as many distinct codes
  // as it has allele copies.
  std::map<std::size_t, std::unordered_map<std::int32_t, std::uint32_t>> more_;
};

// Sizes the three tables to numloci loci of npops populations, all empty
// (largest counts 0).
void resetAlleleTables(std::size_t numloci, int npops, AlleleCountTable& allelecounts,
                       MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids);

// The next line of an allele-count file that is neither empty nor a comment,
// its leading blanks trimmed; lineNumber counts the lines read, for messages.
// False at the end of the file; after a true result in.eof() tells that the
// line had no line end.
bool readDataLine(std::istream& in, std::string& line, long long& lineNumber);
