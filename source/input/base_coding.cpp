// The code table of haplotype characters and the choice of the base coded 1.
#include "input/base_coding.hpp"

#include <cassert>

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
