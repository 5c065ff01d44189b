#include "input/fastphase_reader.hpp"

#include <cctype>
#include <cstring>
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
// files are read; the other haplotype of each individual is only measured.
//
// A file is read in full or refused: its genotype section, from a line
// "BEGIN GENOTYPES" to a line "END GENOTYPES", holds per individual one line
// with "#" and then its two haplotype lines, each of the population's number
// of sites; blank lines are skipped. A section that the end of the file cuts
// short is a truncated file.

namespace {

struct GenotypeSection {
  std::string name;                     // the file
  int population = 0;                   // 0 or 1
  int individuals = 0;                  // lines holding "#"
  std::vector<std::string> haplotypes;  // the haplotypes in use, blanks removed
  std::size_t sites = 0;                // length of the first individual's first haplotype
  long long lineNumber = 0;             // the last line read, from 1
};

// What the section expects next.
enum class Due { nameLine, firstHaplotype, secondHaplotype };

// The bases of a haplotype line: blanks removed, the rest upper-cased.
std::string compactHaplotype(const std::string& line) {
  std::string bases;
  bases.reserve(line.size());
  for (char c : line)
    if (!std::isspace(static_cast<unsigned char>(c)))
      bases.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return bases;
}

// The number of bases of a haplotype line, which is not kept.
std::size_t haplotypeLength(const std::string& line) {
  std::size_t n = 0;
  for (char c : line) n += std::isspace(static_cast<unsigned char>(c)) ? 0 : 1;
  return n;
}

// Whether the line holds word ("BEGIN" or "END") and "GENOTYPES" with one or
// more blanks or tabs between them.
bool holdsMark(const std::string& line, const char* word) {
  static const char genotypes[] = "GENOTYPES";
  const std::size_t length = std::strlen(word);
  for (std::size_t at = line.find(word); at != std::string::npos; at = line.find(word, at + 1)) {
    std::size_t k = at + length;
    while (k < line.size() && (line[k] == ' ' || line[k] == '\t')) ++k;
    if (k > at + length && line.compare(k, sizeof genotypes - 1, genotypes) == 0) return true;
  }
  return false;
}

std::string lineOf(const GenotypeSection& s) {
  return "line " + toString(s.lineNumber) + " of file " + s.name;
}

std::string describe(Due due, int individual) {
  const std::string number = toString(individual);
  switch (due) {
    case Due::nameLine:
      return "the # line of individual " + number;
    case Due::firstHaplotype:
      return "the first haplotype of individual " + number;
    default:
      return "the second haplotype of individual " + number;
  }
}

// A line other than the one due: a "#" line or END GENOTYPES where a
// haplotype is due, or a haplotype where a "#" line is due.
[[noreturn]] void rejectMisplacedLine(const GenotypeSection& s, const std::string& line, Due due) {
  const std::size_t shown = 30;
  const std::string text = line.size() > shown ? line.substr(0, shown) + "..." : line;
  const int individual = s.individuals + (due == Due::nameLine ? 1 : 0);
  rejectInput("ERROR: The genotypes on " + lineOf(s) + " hold \"" + text + "\" where " +
              describe(due, individual) +
              " is due: each individual is one line with # and then its two haplotype lines\n");
}

// A haplotype of another length than the population's first haplotype.
[[noreturn]] void rejectLength(const GenotypeSection& s, Due due, std::size_t found) {
  const std::string sequence = "sequence " + toString(s.individuals) + " from population " +
                               toString(s.population + 1);
  const std::string head =
      due == Due::firstHaplotype
          ? "ERROR: There are SNPs lacking in " + sequence + "\n"
          : "ERROR: The second haplotype of " + sequence + " has another number of SNPs\n";
  rejectInput(head + "The " + (due == Due::firstHaplotype ? "first" : "second") +
              " haplotype on " + lineOf(s) + " holds " + toString(found) + " site(s) where " +
              toString(s.sites) + " are due\n");
}

// Takes a haplotype line of the individual read last.
void addHaplotype(GenotypeSection& s, const std::string& line, Due due, bool useFirst) {
  const bool inUse = (due == Due::firstHaplotype) == useFirst;
  std::string bases = inUse ? compactHaplotype(line) : std::string();
  const std::size_t length = inUse ? bases.size() : haplotypeLength(line);
  if (s.individuals == 1 && due == Due::firstHaplotype) {
    checkSiteCount(static_cast<long long>(length), s.name);
    s.sites = length;
  } else if (length != s.sites) {
    rejectLength(s, due, length);
  }
  if (inUse) s.haplotypes.push_back(std::move(bases));
}

// Reads the genotype section of one file; false, after a message, when the
// file cannot be opened or has no "BEGIN GENOTYPES" line.
bool readGenotypeSection(const std::string& path, bool useFirst, GenotypeSection& s) {
  std::ifstream in;
  if (!openReaderInput(path, s.name, in)) return false;
  // A line that cannot be read (memory that runs out, an error of the
  // system) is thrown as the exception it is, not taken for the end of the file.
  in.exceptions(std::ios::badbit);
  std::string line;
  bool begun = false;
  while (!begun && readLine(in, line)) {
    ++s.lineNumber;
    begun = holdsMark(line, "BEGIN");
  }
  if (!begun) {
    std::cout << "\nERROR: File " << s.name << " lacks the BEGIN GENOTYPES line that opens its "
              << "genotypes (none in its " << s.lineNumber << " line(s))\n"
              << std::endl;
    return false;
  }

  Due due = Due::nameLine;
  bool closed = false;
  while (readLine(in, line)) {
    ++s.lineNumber;
    const bool cut = in.eof();  // a last line without its line end
    ltrim(line, blankChars);
    if (holdsMark(line, "END")) {
      if (due != Due::nameLine) rejectMisplacedLine(s, line, due);
      closed = true;
      break;
    }
    if (cut) break;
    if (line.empty()) continue;
    const bool nameLine = line.find('#') != std::string::npos;
    if (nameLine != (due == Due::nameLine)) rejectMisplacedLine(s, line, due);
    if (nameLine) {
      ++s.individuals;
      due = Due::firstHaplotype;
      continue;
    }
    addHaplotype(s, line, due, useFirst);
    due = due == Due::firstHaplotype ? Due::secondHaplotype : Due::nameLine;
  }

  if (!closed)
    rejectInput("ERROR: File " + s.name + " ends on line " + toString(s.lineNumber) +
                " without the END GENOTYPES line that closes its genotypes (" +
                toString(s.individuals) + " individual(s) begun): the file is truncated\n");
  if (s.individuals == 0)
    rejectInput("ERROR: There is no individual between BEGIN GENOTYPES and END GENOTYPES in file " +
                s.name + "\n");
  return true;
}

// Every individual of a file gives one haplotype, not two: said once per file.
void announceHaplotypes(const GenotypeSection& s, bool useFirst) {
  const std::string count = toString(s.individuals);
  const bool one = s.individuals == 1;
  printWarning(0, "\nFile " + s.name + ": " + count + (one ? " individual" : " individuals") +
                      ", of which only the " + (useFirst ? "first" : "second") +
                      " haplotype is read (" + count + (one ? " haplotype" : " haplotypes") +
                      ")\n");
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
  const std::string* names[2] = {&file1, &file2};
  for (int p = 0; p < 2; ++p) {
    reading = p;
    pops[p].name = *names[p];
    pops[p].population = p;
    if (!readGenotypeSection(path, useFirst, pops[p])) return false;
  }
  reading = 0;
  CodedSample sample;
  const int* sizes = sample.sizes;
  sample.sizes[0] = pops[0].individuals;
  sample.sizes[1] = pops[1].individuals;
  const int ref = sample.reference = codingPopulation(sample.sizes, pref);
  const int other = 1 - ref;

  const std::size_t sites = pops[0].sites;
  if (pops[1].sites != sites)
    rejectInput("ERROR: The fastPHASE files " + file1 + " and " + file2 +
                " hold different numbers of SNPs: " + toString(sites) + " and " +
                toString(pops[1].sites) + "\n");

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
  for (const GenotypeSection& section : pops) announceHaplotypes(section, useFirst);
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
