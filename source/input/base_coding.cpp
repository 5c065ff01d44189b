// The code table of haplotype characters and the choice of the base coded 1.
#include "input/base_coding.hpp"

#include <cassert>

#include "input/common.hpp"

namespace {

std::array<unsigned char, 256> makeCodeTable() {
  std::array<unsigned char, 256> table{};
  table.fill(baseOther);
  table['A'] = table['a'] = baseA;
  table['C'] = table['c'] = baseC;
  table['G'] = table['g'] = baseG;
  table['T'] = table['t'] = baseT;
  return table;
}

const std::array<unsigned char, 256> codeTable = makeCodeTable();

}  // namespace

unsigned char baseCode(char c) { return codeTable[static_cast<unsigned char>(c)]; }

const char* const noBaseRule =
    "the reference population's symbols there that are no base (A, C, G or T), counted "
    "together, outnumber its most frequent base (a tie keeps the site)";

int chooseCodedBase(const SiteCounts& reference, int refSize, const SiteCounts& other) {
  int major = baseA;
  for (int s = baseC; s <= baseOther; ++s)
    if (reference[s] > reference[major]) major = s;
  if (major == baseOther) return deletedSite;

  if (static_cast<long long>(reference[major]) + reference[baseOther] == refSize) {
    // One base only in the reference: code what the other population carries.
    int best = noCodedBase;
    for (int b = baseA; b <= baseT; ++b)
      if (b != major && other[b] > 0 && (best == noCodedBase || other[b] > other[best])) best = b;
    return best;
  }

  int minor = noCodedBase;
  for (int b = baseA; b <= baseT; ++b)
    if (reference[b] > 0 && (minor == noCodedBase || reference[b] < reference[minor])) minor = b;
  return minor;
}

int codingPopulation(const int (&sizes)[2], int pref) {
  if (sizes[0] != sizes[1]) return sizes[1] > sizes[0] ? 1 : 0;
  assert(pref == 0 || pref == 1);
  return pref;
}

char prevailingNonBase(const std::string& symbols) {
  std::array<std::size_t, 256> counts{};
  int best = -1;
  for (char c : symbols) {
    if (baseCode(c) != baseOther) continue;
    const unsigned char u = static_cast<unsigned char>(c);
    if (++counts[u] > (best < 0 ? 0 : counts[static_cast<std::size_t>(best)])) best = u;
  }
  return best < 0 ? '\0' : static_cast<char>(best);
}

void LeftOutSites::warn(const std::string& fileName) const {
  if (count_ == 0) return;
  printWarning(0, "\nWARNING: File " + fileName + ": " + toString(count_) +
                      (count_ == 1 ? " site is" : " sites are") +
                      " left out because " + rule_ + "; the first such symbol is \"" +
                      std::string(1, symbol_) + "\"\n");
}
