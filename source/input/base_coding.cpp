#include "input/base_coding.hpp"

#include <cassert>
#include <iostream>
#include <utility>

#include "input/text.hpp"

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

bool openReaderInput(const std::string& path, const std::string& name, std::ifstream& in) {
  if (openInputFile(path, name, in, false)) return true;
  std::cout << "\nERROR: can not find input file " << name << "\n" << std::endl;
  return false;
}

void rejectInput(const std::string& message) {
  std::cout << message << std::endl;
  errorExit(message);
}

void checkSiteCount(long long sites, const std::string& fileName) {
  if (sites > maxSitesPerFile)
    rejectInput("ERROR: There is an excessive number of SNPs in file " + fileName + "\n");
}

int codingPopulation(const int (&sizes)[2], int pref) {
  if (sizes[0] != sizes[1]) return sizes[1] > sizes[0] ? 1 : 0;
  assert(pref == 0 || pref == 1);
  return pref;
}

void CodedSample::moveTo(std::vector<int>& samplesizes, HaplotypeMatrix& data,
                         std::vector<std::vector<double>>& snpfreqs,
                         std::vector<std::vector<double>>& snpositions, int& pref) {
  samplesizes.assign(sizes, sizes + 2);
  data = std::move(rows);
  snpfreqs.resize(2);
  snpositions.resize(2);
  snpositions[0] = positions;
  snpositions[1] = std::move(positions);
  snpfreqs[0] = std::move(freqs[0]);
  snpfreqs[1] = std::move(freqs[1]);
  pref = reference;
}

std::size_t SiteMatrixBuilder::addSite() {
  if ((sites_ & 63) == 0)
    for (BitRow& row : rows_) row.resize(sites_ + 64);
  return sites_++;
}

HaplotypeMatrix SiteMatrixBuilder::take() {
  for (BitRow& row : rows_) {
    row.resize(sites_);
    // A copy holds no spare capacity from the growth by words.
    BitRow tight(row);
    row = std::move(tight);
  }
  sites_ = 0;
  return std::move(rows_);
}
