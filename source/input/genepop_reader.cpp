#include "input/genepop_reader.hpp"

#include <climits>
#include <iostream>
#include <string_view>

#include "input/common.hpp"

namespace {

constexpr std::int32_t missingAllele = 0;
constexpr int maxPopulations = 2;

// A line that holds "POP" in any case opens a population, unless it holds a
// comma: such a line is a locus-name or an individual line (an individual
// may well be called Popeye).
bool isPopulationLine(const std::string& line) {
  return line.find(',') == std::string::npos && toUpper(line).find("POP") != std::string::npos;
}

// An allele number written as one half of a genotype word: digits only, the
// empty half of a 1-character word being the missing allele.
bool readAllele(std::string_view half, std::int32_t& allele) {
  if (half.empty()) {
    allele = missingAllele;
    return true;
  }
  // Digits only: a sign, which parseWholeInt would take, is no allele.
  int value = 0;
  if (half[0] == '+' || half[0] == '-' || !parseWholeInt(half, value)) return false;
  allele = value;
  return true;
}

// The two alleles of a genotype word: its first and second half, the first
// half one character shorter when the length is odd (0102 gives 1 and 2,
// 101 gives 1 and 01). A word that is not two numbers of digits (AAAA, O1
// for 01, 1.02) is refused rather than read as missing or as other alleles.
void addGenotype(std::string_view word, std::size_t locus, PopulationTally& tally,
                 long long lineNumber, const std::string& fileName) {
  const std::size_t half = word.size() / 2;
  std::int32_t alleles[2];
  if (!readAllele(word.substr(0, half), alleles[0]) || !readAllele(word.substr(half), alleles[1]))
    fatalError(1, "ERROR reading genpop format: line " + toString(lineNumber) + " of file " +
                      fileName + " holds the genotype " + std::string(word) +
                      ": a genotype is two allele numbers written in digits only, each at most " +
                      toString(INT_MAX) + " (0102 gives alleles 1 and 2, 0 is a missing allele)\n");
  for (const std::int32_t allele : alleles)
    if (allele != missingAllele) tally.add(locus, allele);
}

// Individual and locus-name lines split at commas (and line ends, as splitBy does).
bool isCommaSeparator(char c) { return c == ',' || c == '\n' || c == '\r'; }

}  // namespace

bool readGenepop(const std::string& path, const std::string& file, std::vector<int>& samplesizes,
                 AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                 AlleleIdTable& alleleids, bool, std::vector<std::string>& locnames) {
  std::ifstream in;
  if (!openInputFile(path, file, in, false)) return false;
  const std::string fileName = path + file;
  std::string line;
  long long lineNumber = 0;
  if (!readDataLine(in, line, lineNumber) || in.eof()) return false;  // the title

  locnames.clear();
  samplesizes.clear();
  int populations = 0;
  int individuals = 0;     // of the open population
  long long numloci = -1;  // set by the first individual
  PopulationTally tallies[maxPopulations];
  // Views into the line being read: an individual's line is split without
  // copying its genotypes.
  std::vector<std::string_view> words, genotypes;
  while (readDataLine(in, line, lineNumber)) {
    if (isPopulationLine(line)) {
      if (populations == maxPopulations)
        fatalError(3, "\nERROR reading genpop format: Only two populations are allowed and found " +
                          toString(maxPopulations + 1) + "\n");
      if (populations > 0) samplesizes.push_back(individuals);
      ++populations;
      individuals = 0;
      continue;
    }
    splitViews(line, isCommaSeparator, words);
    if (populations == 0) {
      locnames.insert(locnames.end(), words.begin(), words.end());
      continue;
    }
    if (words.size() != 2)
      fatalError(1, "ERROR reading genpop format: When separating loci names word number was " +
                        toString(words.size()) + " should be 2" + "\n");
    splitViews(words[1], isBlankSeparator, genotypes);
    const long long count = static_cast<long long>(genotypes.size());
    if (numloci < 0) {
      if (count == INT_MAX)
        fatalError(1, "ERROR: There is an excessive number of loci in file " + file + "\n");
      numloci = count;
      for (auto& tally : tallies) tally = PopulationTally(genotypes.size());
    } else if (count != numloci) {
      fatalError(1, "ERROR reading genpop format: line " + toString(lineNumber) + " of file " +
                        fileName + " holds " + toString(count) +
                        " genotypes but the individual before it holds " + toString(numloci) +
                        "\n");
    }
    PopulationTally& open = tallies[populations - 1];
    for (std::size_t j = 0; j < genotypes.size(); ++j)
      addGenotype(genotypes[j], j, open, lineNumber, fileName);
    ++individuals;
  }
  if (populations == 0)
    fatalError(1, "ERROR reading genpop format: no population line (a line holding POP) in file " +
                      fileName + "\n");
  samplesizes.push_back(individuals);

  const std::size_t loci = numloci < 0 ? 0 : static_cast<std::size_t>(numloci);
  resetAlleleTables(loci, populations, allelecounts, maxallelecounts, alleleids);
  for (int p = 0; p < populations; ++p)
    tallies[p].store(p, samplesizes[static_cast<std::size_t>(p)], allelecounts, maxallelecounts,
                     alleleids);
  std::cout << "Read " << fileName << std::endl;
  return true;
}
