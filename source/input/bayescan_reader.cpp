#include "input/bayescan_reader.hpp"

#include <algorithm>
#include <climits>
#include <iostream>
#include <limits>
#include <string_view>

#include "input/common.hpp"

namespace {

// The input and the number of the last line read from it, which the
// messages name.
struct CountedLines {
  std::ifstream in;
  long long number = 0;

  bool next(std::string& line) {
    if (!readLine(in, line)) return false;
    ++number;
    return true;
  }
};

// The next line that begins with "[" once its leading blanks are trimmed;
// false at the end of the file or when that line ends the file without a
// line end.
bool findBracketLine(CountedLines& in, std::string& line) {
  while (in.next(line)) {
    ltrim(line, blankChars);
    if (!line.empty() && line[0] == '[') return !in.in.eof();
  }
  return false;
}

// The next line that holds more than blanks, its leading blanks trimmed;
// false at the end of the file.
bool nextNonBlankLine(CountedLines& in, std::string& line) {
  while (in.next(line)) {
    ltrim(line, blankChars);
    if (!line.empty()) return true;
  }
  return false;
}

// The whole number after the last "=" of a heading line, blanks around it
// aside ([loci]=120 and [loci] = 120 give 120). A line that gives none
// ([loci]=, [loci]=20abc, [populations]=2.9) is refused, naming what it
// should give.
int headingValue(const CountedLines& in, const std::string& line, const std::string& fileName,
                 const char* what) {
  const std::vector<std::string> words = splitBy(line, '=');
  std::string_view word = words.size() < 2 ? std::string_view() : std::string_view(words.back());
  word.remove_prefix(std::min(word.size(), word.find_first_not_of(blankChars)));
  word.remove_suffix(word.size() - std::min(word.size(), word.find_last_not_of(blankChars) + 1));
  int value = 0;
  if (!parseWholeInt(word, value))
    fatalError(1, "ERROR reading BScan format: line " + toString(in.number) + " of file " +
                      fileName + " gives no whole number of " + what + ": " + line + "\n");
  return value;
}

// Whether a line (leading blanks trimmed) begins a population block: its text
// before any "=" is exactly "[pop]".
bool isBlockLine(const std::string& line) {
  const std::vector<std::string> words = splitBy(line, '=');
  return !words.empty() && words[0] == "[pop]";
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

void readLocusLine(CountedLines& in, const std::string& fileName, int i, int p, int npops,
                   AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                   std::vector<std::string>& locnames) {
  std::string line;
  const std::string where = "ERROR reading BScan format in loci " + toString(i) +
                            " of population " + toString(p) + " of file " + fileName;
  if (!in.next(line))
    fatalError(1, where + ": the file ends after line " + toString(in.number) +
                      ", before this locus line\n");
  const std::string place = where + ", line " + toString(in.number);
  const std::vector<std::string> words = splitBlanks(line);
  if (words.empty()) fatalError(1, place + ": the line is blank where this locus line is due\n");
  int number = 0;
  if (!parseWholeInt(words[0], number) || number != i)
    fatalError(1, "ERROR reading BScan format: Loci number was " + words[0] + " should be " +
                      toString(i) + " in population " + toString(p) + " of file " + fileName +
                      ", line " + toString(in.number) + "\n");
  if (words.size() < 3)
    fatalError(1, place + ": the line lacks its gene count or its number of alleles\n");
  // The gene count as written (9.5 stays 9.5), to be compared with the sum.
  double genes = 0.0;
  if (!parseFiniteNumber(words[1], genes))
    fatalError(1, place + ": the gene count " + words[1] + " is not a number\n");
  int declared = 0;
  if (!parseWholeInt(words[2], declared))
    fatalError(1, place + ": the number of alleles " + words[2] + " is not a whole number\n");
  const int alleles = std::max(declared, 0);
  // The line holds exactly its number of counts: fewer leave alleles without
  // a count, more are data that no allele takes.
  if (words.size() - 3 != static_cast<std::size_t>(alleles))
    fatalError(1, place + ": " + toString(declared) + " alleles but " +
                      toString(words.size() - 3) + " counts\n");

  const std::size_t locus = static_cast<std::size_t>(i - 1);
  const std::size_t pop = static_cast<std::size_t>(p - 1);
  ensureLocus(locus + 1, npops, allelecounts, maxallelecounts, locnames);
  if (p == 1) locnames[locus] = words[0];
  std::vector<float>& counts = allelecounts[locus][pop];
  double sum = 0.0;
  for (int a = 0; a < alleles; ++a) {
    const std::string& word = words[3 + static_cast<std::size_t>(a)];
    double count = 0.0;
    // A count is a number of allele copies: a negative one, or one that is no
    // number (abc, 12x) or too large to be held, would give frequencies
    // outside 0..1.
    if (!parseFiniteNumber(word, count) ||
        !(count >= 0.0 && count <= std::numeric_limits<float>::max()))
      fatalError(1, place + ": the allele count " + word + " is not a number of copies\n");
    counts.push_back(static_cast<float>(count));
    sum += count;
  }
  if (sum != genes)
    fatalError(3, "ERROR reading BScan format: Total alleles are " + exactText(genes) +
                      " should be " + toString(sum) + "\n");
  // A locus line without alleles keeps the largest count 0.
  if (!counts.empty())
    maxallelecounts[locus][pop] = *std::max_element(counts.begin(), counts.end());
}

// What follows the last block: blank lines only. A further [pop] block is a
// population more than the file declares (status 3, as other than two
// populations); anything else, such as a locus line past the declared loci,
// is a format error.
void requireNothingAfterBlocks(CountedLines& in, const std::string& fileName, int loci,
                               int populations) {
  std::string line;
  if (!nextNonBlankLine(in, line)) return;
  const std::string where = "line " + toString(in.number) + " of file " + fileName;
  if (isBlockLine(line))
    fatalError(3, "ERROR reading BScan format: Read " + toString(populations + 1) +
                      " populations but should be " + toString(populations) + " (" + where +
                      " begins a population block past [populations]=" + toString(populations) +
                      ")\n");
  fatalError(1, "ERROR reading BScan format: " + where +
                    " holds data after the last population block (the file declares " +
                    toString(loci) + " loci and " + toString(populations) +
                    " populations); only blank lines may follow it\n");
}

}  // namespace

bool readBayeScan(const std::string& path, const std::string& file, int& npops,
                  AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts, bool,
                  std::vector<std::string>& locnames) {
  CountedLines in;
  if (!openInputFile(path, file, in.in, false)) return false;
  const std::string fileName = path + file;
  std::string line;
  if (!findBracketLine(in, line)) return false;
  const int loci = headingValue(in, line, fileName, "loci");
  if (loci == INT_MAX)
    fatalError(1, "ERROR: There is an excessive number of loci in file " + file + "\n");
  if (loci < 0)
    fatalError(1, "ERROR reading BScan format: Number of loci is " + toString(loci) + " in file " +
                      fileName + "\n");
  if (!findBracketLine(in, line)) return false;
  const int populations = headingValue(in, line, fileName, "populations");
  if (populations != npops)
    fatalError(1, "ERROR reading BScan format: Number of populations is " + toString(populations) +
                      " but should be " + toString(npops) + "\n");

  allelecounts.clear();
  maxallelecounts.clear();
  locnames.clear();
  int blocks = 0;
  // The first line found where a block should begin but that begins none.
  std::string stray;
  for (int p = 1; p <= populations; ++p) {
    if (!nextNonBlankLine(in, line))
      fatalError(1, "ERROR reading BScan format: Read " + toString(blocks) +
                        " populations but should be " + toString(npops) + " (file " + fileName +
                        " ended before population " + toString(p) + ")\n");
    // Any other line uses up this population's turn; the block count below
    // then reports it.
    if (!isBlockLine(line)) {
      if (stray.empty())
        stray = " (line " + toString(in.number) + " of file " + fileName +
                " is no [pop] line, where population " + toString(p) + " should begin)";
      continue;
    }
    ++blocks;
    for (int i = 1; i <= loci; ++i)
      readLocusLine(in, fileName, i, p, npops, allelecounts, maxallelecounts, locnames);
  }
  if (blocks != npops)
    fatalError(1, "ERROR reading BScan format: Read " + toString(blocks) +
                      " populations but should be " + toString(npops) + stray + "\n");
  requireNothingAfterBlocks(in, fileName, loci, populations);
  ensureLocus(static_cast<std::size_t>(loci), npops, allelecounts, maxallelecounts, locnames);
  std::cout << "Read " << fileName << std::endl;
  return true;
}
