#include "input/bayescan_reader.hpp"

#include <algorithm>
#include <climits>
#include <iostream>
#include <limits>

#include "input/common.hpp"

namespace {

// The next line that begins with "[" once its leading blanks are trimmed;
// false at the end of the file or when that line ends the file without a
// line end.
bool findBracketLine(std::ifstream& in, std::string& line) {
  while (readLine(in, line)) {
    ltrim(line, blankChars);
    if (!line.empty() && line[0] == '[') return !in.eof();
  }
  return false;
}

// The integer after the last "=" of a heading line ([loci]=120 gives 120).
int headingValue(const std::string& line) {
  const std::vector<std::string> words = splitBy(line, '=');
  return words.empty() ? 0 : toInt(words.back());
}

// The tables grow to hold locus i (from 1) when its line is first read, so
// that a heading announcing more loci than the file holds costs nothing
// before the missing locus line is reported.
void ensureLocus(std::size_t i, int npops, AlleleCountTable& allelecounts,
                 MaxAlleleCountTable& maxallelecounts, std::vector<std::string>& locnames) {
  if (allelecounts.size() >= i) return;
  const std::size_t pops = static_cast<std::size_t>(npops);
  allelecounts.resize(i, std::vector<std::vector<float>>(pops));
  maxallelecounts.resize(i, std::vector<float>(pops, 0.0f));
  locnames.resize(i);
}

void readLocusLine(std::ifstream& in, const std::string& fileName, int i, int p, int npops,
                   AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                   std::vector<std::string>& locnames) {
  std::string line;
  readLine(in, line);
  const std::vector<std::string> words = splitBlanks(line);
  const std::string where =
      "ERROR reading BScan format in loci " + toString(i) + " of population " + toString(p);
  if (words.empty()) fatalError(1, where + "\n");
  if (toInt(words[0]) != i)
    fatalError(1, "ERROR reading BScan format: Loci number was " + words[0] + " should be " +
                      toString(i) + "\n");
  if (words.size() < 3)
    fatalError(1, where + " of file " + fileName +
                      ": the line lacks its gene count or its number of alleles\n");
  const int genes = toInt(words[1]);
  const int alleles = toInt(words[2]);
  if (alleles > 0 && words.size() - 3 < static_cast<std::size_t>(alleles))
    fatalError(1, where + " of file " + fileName + ": " + toString(alleles) + " alleles but " +
                      toString(words.size() - 3) + " counts\n");

  const std::size_t locus = static_cast<std::size_t>(i - 1);
  const std::size_t pop = static_cast<std::size_t>(p - 1);
  ensureLocus(locus + 1, npops, allelecounts, maxallelecounts, locnames);
  if (p == 1) locnames[locus] = words[0];
  std::vector<float>& counts = allelecounts[locus][pop];
  double sum = 0.0;
  for (int a = 0; a < alleles; ++a) {
    const std::string& word = words[3 + static_cast<std::size_t>(a)];
    const double count = toDouble(word);
    // A count is a number of allele copies: a negative one, or one that is no
    // number or too large to be held, would give frequencies outside 0..1.
    if (!(count >= 0.0 && count <= std::numeric_limits<float>::max()))
      fatalError(1, where + " of file " + fileName + ": the allele count " + word +
                        " is not a number of copies\n");
    counts.push_back(static_cast<float>(count));
    sum += count;
  }
  if (sum != static_cast<double>(genes))
    fatalError(3, "ERROR reading BScan format: Total alleles are " + toString(genes) +
                      " should be " + toString(sum) + "\n");
  // A locus line without alleles keeps the largest count 0.
  if (!counts.empty())
    maxallelecounts[locus][pop] = *std::max_element(counts.begin(), counts.end());
}

}  // namespace

bool readBayeScan(const std::string& path, const std::string& file, int& npops,
                  AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts, bool,
                  std::vector<std::string>& locnames) {
  std::ifstream in;
  if (!openInputFile(path, file, in, false)) return false;
  std::string line;
  if (!findBracketLine(in, line)) return false;
  const int loci = headingValue(line);
  if (loci == INT_MAX)
    fatalError(1, "ERROR: There is an excessive number of loci in file " + file + "\n");
  if (loci < 0)
    fatalError(1, "ERROR reading BScan format: Number of loci is " + toString(loci) + " in file " +
                      path + file + "\n");
  if (!findBracketLine(in, line)) return false;
  const int populations = headingValue(line);
  if (populations != npops)
    fatalError(1, "ERROR reading BScan format: Number of populations is " + toString(populations) +
                      " but should be " + toString(npops) + "\n");

  allelecounts.clear();
  maxallelecounts.clear();
  locnames.clear();
  int blocks = 0;
  for (int p = 1; p <= populations; ++p) {
    bool found = false;
    while (readLine(in, line)) {
      ltrim(line, blankChars);
      if (!line.empty()) {
        found = true;
        break;
      }
    }
    if (!found)
      fatalError(1, "ERROR reading BScan format: Read " + toString(blocks) +
                        " populations but should be " + toString(npops) + " (file " + path + file +
                        " ended before population " + toString(p) + ")\n");
    const std::vector<std::string> words = splitBy(line, '=');
    // Any other line uses up this population's turn; the block count below
    // then reports it.
    if (words.empty() || words[0] != "[pop]") continue;
    ++blocks;
    for (int i = 1; i <= loci; ++i)
      readLocusLine(in, path + file, i, p, npops, allelecounts, maxallelecounts, locnames);
  }
  if (blocks != npops)
    fatalError(1, "ERROR reading BScan format: Read " + toString(blocks) +
                      " populations but should be " + toString(npops) + "\n");
  ensureLocus(static_cast<std::size_t>(loci), npops, allelecounts, maxallelecounts, locnames);
  std::cout << "Read " << path << file << std::endl;
  return true;
}
