#include "input/fastphase_reader.hpp"

#include <cctype>
#include <fstream>
#include <iostream>
#include <utility>

#include "input/base_coding.hpp"
#include "input/coded_sample.hpp"
#include "input/common.hpp"
#include "input/read_guard.hpp"
#include "input/reader_input.hpp"

// Each individual of a file gives one row, from the haplotype in use (the
// first of its two). A site's coded base needs every haplotype of the
// reference population, so the haplotypes in use are kept as text until both
// files are read; the other haplotype of each individual is only counted.

namespace {

struct GenotypeSection {
  int individuals = 0;                    // lines holding "#"
  std::vector<std::string> haplotypes;    // the haplotypes in use, blanks removed
  std::vector<std::size_t> firstLengths;  // length of every first haplotype
  std::size_t secondCount = 0;            // second haplotype lines read
};

// The bases of a haplotype line: blanks removed, the rest upper-cased.
std::string compactHaplotype(const std::string& line) {
  std::string bases;
  bases.reserve(line.size());
  for (char c : line)
    if (!std::isspace(static_cast<unsigned char>(c)))
      bases.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return bases;
}

bool contains(const std::string& line, const char* text) {
  return line.find(text) != std::string::npos;
}

// Reads the genotype section of one file; false when the file cannot be
// opened or has no "BEGIN GENOTYPES" line ended by a line end.
bool readGenotypeSection(const std::string& path, const std::string& name, bool useFirst,
                         GenotypeSection& section) {
  std::ifstream in;
  if (!openReaderInput(path, name, in)) return false;
  // A line that cannot be read (memory that runs out, an error of the
  // system) is thrown as the exception it is, not taken for the end of the file.
  in.exceptions(std::ios::badbit);
  std::string line;
  bool begun = false;
  while (readLine(in, line)) {
    ltrim(line, blankChars);
    if (contains(line, "BEGIN GENOTYPES")) {
      begun = !in.eof();
      break;
    }
  }
  if (!begun) return false;

  while (readLine(in, line)) {
    ltrim(line, blankChars);
    if (contains(line, "END GENOTYPES")) break;
    if (contains(line, "#")) {
      ++section.individuals;
      continue;
    }
    if (line.empty()) continue;
    // A haplotype line: the individual's first haplotype, and the next line,
    // whatever it holds, its second.
    std::string first = compactHaplotype(line);
    section.firstLengths.push_back(first.size());
    const bool hasSecond = readLine(in, line);
    if (hasSecond) ++section.secondCount;
    if (useFirst)
      section.haplotypes.push_back(std::move(first));
    else if (hasSecond)
      section.haplotypes.push_back(compactHaplotype(line));
  }

  if (section.firstLengths.empty())
    rejectInput("ERROR: There is no individual between BEGIN GENOTYPES and END GENOTYPES in file " +
                name + "\n");
  checkSiteCount(static_cast<long long>(section.firstLengths[0]), name);
  if (static_cast<std::size_t>(section.individuals) != section.firstLengths.size() ||
      section.secondCount != section.firstLengths.size())
    rejectInput("ERROR: In file " + name + " there are " + toString(section.individuals) +
                " individual line(s) with #, " + toString(section.firstLengths.size()) +
                " first and " + toString(section.secondCount) +
                " second haplotype line(s): each individual needs one line with # and two "
                "haplotype lines\n");
  return true;
}

// Every haplotype of population p must have the length of its first one.
void checkLengths(const GenotypeSection& section, int p, std::size_t sites, bool useFirst) {
  for (std::size_t i = 0; i < section.firstLengths.size(); ++i)
    if (section.firstLengths[i] != sites || (!useFirst && section.haplotypes[i].size() != sites))
      rejectInput("ERROR: There are SNPs lacking in sequence " + toString(i + 1) +
                  " from population " + toString(p + 1) + "\n");
}

std::vector<SiteCounts> countBases(const GenotypeSection& section, std::size_t sites) {
  std::vector<SiteCounts> counts(sites, SiteCounts{});
  for (const std::string& haplotype : section.haplotypes)
    for (std::size_t j = 0; j < sites; ++j) ++counts[j][baseCode(haplotype[j])];
  return counts;
}

// Reads and codes both files; `reading` is the index of the file being read
// (0 for file1, 1 for file2), on failure the one that failed; 0 while the
// sites are coded.
bool readBothFiles(const std::string& path, const std::string& file1, const std::string& file2,
                   std::vector<int>& samplesizes, HaplotypeMatrix& data,
                   std::vector<std::vector<double>>& snpfreqs,
                   std::vector<std::vector<double>>& snpositions, int& pref, bool useFirst,
                   int& reading) {
  GenotypeSection pops[2];
  reading = 0;
  if (!readGenotypeSection(path, file1, useFirst, pops[0])) return false;
  reading = 1;
  if (!readGenotypeSection(path, file2, useFirst, pops[1])) return false;
  reading = 0;
  CodedSample sample;
  const int* sizes = sample.sizes;
  sample.sizes[0] = pops[0].individuals;
  sample.sizes[1] = pops[1].individuals;
  const int ref = sample.reference = codingPopulation(sample.sizes, pref);
  const int other = 1 - ref;

  const std::size_t sites = pops[0].firstLengths[0];
  for (int p = 0; p < 2; ++p) checkLengths(pops[p], p, pops[p].firstLengths[0], useFirst);
  if (pops[1].firstLengths[0] != sites)
    rejectInput("ERROR: The fastPHASE files " + file1 + " and " + file2 +
                " hold different numbers of SNPs: " + toString(sites) + " and " +
                toString(pops[1].firstLengths[0]) + "\n");

  // The coded base of every site, and its column in the matrix; sites dropped
  // from both populations get no column.
  std::vector<int> coded(sites);
  std::vector<std::size_t> column(sites);
  LeftOutSites leftOut;
  {
    const std::vector<SiteCounts> refCounts = countBases(pops[ref], sites);
    const std::vector<SiteCounts> otherCounts = countBases(pops[other], sites);
    for (std::size_t j = 0; j < sites; ++j) {
      coded[j] = chooseCodedBase(refCounts[j], sizes[ref], otherCounts[j]);
      column[j] = sample.positions.size();
      if (coded[j] != deletedSite) {
        sample.positions.push_back(static_cast<double>(j));
        continue;
      }
      leftOut.add([&] {
        std::string symbols;
        for (const std::string& haplotype : pops[ref].haplotypes) symbols.push_back(haplotype[j]);
        return symbols;
      });
    }
  }

  const std::size_t kept = sample.positions.size();
  sample.rows.reserve(static_cast<std::size_t>(sizes[0]) + static_cast<std::size_t>(sizes[1]));
  for (int p = 0; p < 2; ++p) {
    std::vector<std::uint32_t> ones(kept, 0);
    for (const std::string& haplotype : pops[p].haplotypes) {
      BitRow row(kept);
      for (std::size_t j = 0; j < sites; ++j)
        if (coded[j] != deletedSite && coded[j] != noCodedBase &&
            baseCode(haplotype[j]) == coded[j]) {
          row.set(column[j]);
          ++ones[column[j]];
        }
      sample.rows.push_back(std::move(row));
    }
    std::vector<std::string>().swap(pops[p].haplotypes);
    sample.freqs[p].reserve(kept);
    for (std::uint32_t count : ones) sample.freqs[p].push_back(static_cast<double>(count) / sizes[p]);
  }

  sample.moveTo(samplesizes, data, snpfreqs, snpositions, pref);
  leftOut.warn(ref == 0 ? file1 : file2);
  return true;
}

}  // namespace

bool readFastPhaseFiles(const std::string& path, const std::string& file1,
                        const std::string& file2, std::vector<int>& samplesizes,
                        HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                        std::vector<std::vector<double>>& snpositions, int& pref,
                        bool& useFirstHaplotype, int* failedFile) {
  int reading = 0;
  const std::string names[2] = {file1, file2};
  const bool ok = guardedPairRead([&] {
    return readBothFiles(path, file1, file2, samplesizes, data, snpfreqs, snpositions, pref,
                         useFirstHaplotype, reading);
  }, names, reading);
  if (!ok && failedFile != nullptr) *failedFile = reading;
  return ok;
}
