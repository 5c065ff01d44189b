#include "input/plink_reader.hpp"

#include <cctype>
#include <climits>
#include <iostream>
#include <stdexcept>
#include <string_view>

#include "input/common.hpp"
#include "input/read_guard.hpp"

namespace {

enum class GenotypeKind { Nucleotide, Numeric };

constexpr char nucleotideMissing = 'N';
constexpr std::int32_t numericMissing = 0;

// The names the twins write in their messages: the nucleotide reader names
// the files with their folder, the numeric reader without it (but both name
// the ped file with its folder in the genotype-format message).
struct PlinkFiles {
  std::string mapName, pedName;  // as given, without the folder
  std::string mapPath, pedPath;  // joined to the folder
  std::string mapShown, pedShown;
};

bool openFile(const std::string& full, std::ifstream& in, const std::string& couldNot,
              const std::string& notFound) {
  if (in.is_open()) in.close();
  in.clear();
  if (openRegularFile(full, in)) return true;
  std::cout << couldNot << full << std::endl;
  const std::string lower = toLower(full);
  std::cout << "\nTRYING FILE NAME " << lower << std::endl;
  in.clear();
  if (openRegularFile(lower, in)) return true;
  std::cout << notFound << 2 << " tries\n" << std::endl;
  return false;
}

bool fail(const std::string& message) {
  std::cout << message << std::endl;
  return false;
}

[[noreturn]] void excessiveSnps(const std::string& name) {
  throw std::overflow_error("ERROR: There is an excessive number of SNPs in file " + name + "\n");
}

bool readMap(const PlinkFiles& files, std::ifstream& in, std::vector<double>& positions,
             std::vector<std::string>& locnames) {
  std::string line;
  long long lineNumber = 0;
  if (!readDataLine(in, line, lineNumber) || in.eof())
    return fail("\nERROR: empty map file " + files.mapShown + "\n");
  std::size_t columns = 0;
  do {
    const std::vector<std::string> words = splitBlanks(line);
    if (columns == 0 && (words.size() == 3 || words.size() == 4)) columns = words.size();
    if (words.size() != columns)
      return fail("\nERROR: problem reading map file " + files.mapShown +
                  " . Num of columns were " + toString(words.size()) + "\n");
    if (locnames.size() >= static_cast<std::size_t>(INT_MAX - 1)) excessiveSnps(files.mapName);
    // The position is the whole word: "10O" is no position 10, nor "abc" 0,
    // nan or inf cannot be ordered, and beyond 2^53 two positions can read as one.
    double position = 0.0;
    const PositionFault fault = parsePosition(words[columns - 1], position);
    if (fault != PositionFault::none)
      return fail("\nERROR: problem reading map file " + files.mapShown + " . The position " +
                  words[columns - 1] + " on line " + toString(lineNumber) + " " +
                  positionFaultText(fault) + "\n");
    locnames.push_back(words[1]);
    positions.push_back(position);
  } while (readDataLine(in, line, lineNumber));
  return true;
}

// An allele word as a code: the letter of A, C, G or T in either case, the
// missing code for N (either case) or 0, or the allele number (0 missing).
// False for any other word, which the file does not write as an allele
// (X, -, 1x, 1.5, a number beyond the int range): it is refused rather than
// read as missing or cut to a number.
bool alleleCode(GenotypeKind kind, std::string_view word, std::int32_t& code) {
  if (kind == GenotypeKind::Numeric) {
    int value = 0;
    if (!parseWholeInt(word, value)) return false;
    code = value;
    return true;
  }
  if (word.size() != 1) return false;
  // The program runs in the C locale, where only a to z have upper cases.
  const char c =
      word[0] >= 'a' && word[0] <= 'z' ? static_cast<char>(word[0] - 'a' + 'A') : word[0];
  if (c == 'N' || c == '0') {
    code = nucleotideMissing;
    return true;
  }
  code = c;
  return c == 'A' || c == 'C' || c == 'G' || c == 'T';
}

// Tallies the alleles of one individual line; returns the first word that
// is no allele, or nullptr.
const std::string_view* tallyGenotypes(GenotypeKind kind,
                                       const std::vector<std::string_view>& words,
                                       PopulationTally& tally) {
  const std::int32_t missing =
      kind == GenotypeKind::Nucleotide ? nucleotideMissing : numericMissing;
  for (std::size_t j = 0; j < tally.loci(); ++j) {
    for (std::size_t copy = 0; copy < 2; ++copy) {
      const std::string_view& word = words[6 + 2 * j + copy];
      std::int32_t code = missing;
      if (!alleleCode(kind, word, code)) return &word;
      if (code != missing) tally.add(j, code);
    }
  }
  return nullptr;
}

// The message of an allele word that alleleCode refuses; false.
bool refuseAllele(GenotypeKind kind, const PlinkFiles& files, std::string_view word,
                  long long lineNumber) {
  return fail("\nERROR: problem reading ped file " + files.pedShown + " . The allele " +
              std::string(word) + " on line " + toString(lineNumber) +
              (kind == GenotypeKind::Nucleotide
                   ? " is not A, C, G, T or the missing N or 0\n"
                   : " is not a whole number from " + toString(INT_MIN) + " to " +
                         toString(INT_MAX) + "\n"));
}

// Family ids are compared without regard to case.
std::string familyIdOf(const std::vector<std::string_view>& words) {
  return toUpper(std::string(words[0]));
}

bool readPed(GenotypeKind kind, const PlinkFiles& files, std::ifstream& in, int npops,
             std::size_t maploci, std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
             MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
             std::vector<std::string>& familyIds, std::string& failName) {
  std::string line;
  long long lineNumber = 0;
  if (!readDataLine(in, line, lineNumber) || in.eof())
    return fail("\nERROR: empty ped file " + files.pedShown + "\n");
  std::vector<std::string_view> words;
  splitViews(line, isBlankSeparator, words);
  const std::size_t wordCount = words.size();
  if (wordCount < 8) return fail("\nERROR: problem reading ped file " + files.pedShown + "\n");
  if (kind == GenotypeKind::Nucleotide && wordCount - 6 == static_cast<std::size_t>(INT_MAX))
    excessiveSnps(files.pedPath);
  if (wordCount % 2 != 0)
    return fail("\nERROR: wrong number of genotypes in ped file " + files.pedShown + "\n");
  const std::size_t numloci = (wordCount - 6) / 2;
  if (numloci != maploci)
    return fail("\nERROR: inconsistency between number of loci in map and ped files: " +
                toString(maploci) + " vs " + toString(numloci) + "\n");
  // The missing allele "0" says nothing of the coding: the nucleotide check
  // looks at the first allele that is not "0" (none: every allele is missing).
  std::size_t checked = 6;
  if (kind == GenotypeKind::Nucleotide)
    while (checked + 1 < wordCount && words[checked] == "0") ++checked;
  const unsigned char first = static_cast<unsigned char>(words[checked][0]);
  const std::string seen(1, static_cast<char>(std::toupper(first)));
  if (kind == GenotypeKind::Nucleotide && words[checked] != "0" && !std::isalpha(first))
    return fail("\nERROR: wrong plink nucleotide genotype format in ped file " + files.pedPath +
                " have read " + seen + "\n");
  if (kind == GenotypeKind::Numeric && !std::isdigit(first))
    return fail("\nERROR: wrong plink numeric genotype format in ped file " + files.pedPath +
                " have read " + seen + "\n");

  failName = kind == GenotypeKind::Numeric ? files.pedName : files.mapName;
  samplesizes.clear();
  resetAlleleTables(numloci, npops, allelecounts, maxallelecounts, alleleids);
  // Consecutive lines of one family id form a population; each population's
  // copies are tallied while its lines are read and stored when it ends.
  // Populations beyond npops are only counted: the read fails on them.
  PopulationTally tally(numloci);
  std::string familyId = familyIdOf(words);
  int run = 0, individuals = 1;
  familyIds.assign(1, std::string(words[0]));
  const auto endRun = [&]() {
    samplesizes.push_back(individuals);
    if (run < npops) tally.store(run, individuals, allelecounts, maxallelecounts, alleleids);
    tally = PopulationTally(numloci);
  };
  // Tallies the line just split into words; false, after the message, on a
  // word that is no allele.
  const auto tallyLine = [&]() {
    if (run >= npops) return true;
    const std::string_view* bad = tallyGenotypes(kind, words, tally);
    return bad == nullptr || refuseAllele(kind, files, *bad, lineNumber);
  };
  if (!tallyLine()) return false;

  while (readDataLine(in, line, lineNumber)) {
    splitViews(line, isBlankSeparator, words);
    if (words.size() != wordCount)
      return fail("\nERROR: wrong number of genotypes in ped file " + files.pedShown + " at line " +
                  toString(lineNumber) + ": " + toString(words.size()) +
                  " words where the first individual line has " + toString(wordCount) + "\n");
    std::string id = familyIdOf(words);
    if (id != familyId) {
      endRun();
      ++run;
      individuals = 1;
      familyId.swap(id);
      if (run < npops) familyIds.emplace_back(words[0]);
    } else {
      ++individuals;
    }
    if (!tallyLine()) return false;
  }
  endRun();
  const int runs = run + 1;
  if (runs != npops)
    return fail("\nERROR: ped file " + files.pedShown + " holds " + toString(runs) +
                " runs of family ids (populations) but should hold " + toString(npops) + "\n");
  return true;
}

bool readPlinkFiles(GenotypeKind kind, const PlinkFiles& files, int npops,
                    std::vector<std::vector<double>>& snpositions, std::vector<int>& samplesizes,
                    AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                    AlleleIdTable& alleleids, std::vector<std::string>& locnames,
                    std::vector<std::string>& familyIds, std::string& failName,
                    int& failedFile) {
  snpositions.assign(npops > 0 ? static_cast<std::size_t>(npops) : 0, {});
  locnames.clear();
  familyIds.clear();
  failedFile = 0;
  std::ifstream in;
  if (!openFile(files.mapPath, in,
                "\nCould not open map file: ", "\nERROR: can not find map input file after "))
    return false;
  std::vector<double> positions;
  if (!readMap(files, in, positions, locnames)) return false;
  in.close();
  const std::size_t maploci = positions.size();
  for (auto& list : snpositions) list = positions;

  failedFile = 1;
  if (!openFile(files.pedPath, in,
                "\nCould not open file: ", "\nERROR: can not find ped file after "))
    return false;
  std::cout << "------------------------------------------------\n" << std::endl;
  if (!readPed(kind, files, in, npops, maploci, samplesizes, allelecounts, maxallelecounts,
               alleleids, familyIds, failName))
    return false;
  std::cout << "Read " << files.mapName
            << (kind == GenotypeKind::Nucleotide ? " and " : " and numeric ") << files.pedName
            << std::endl;
  return true;
}

bool readPlink(GenotypeKind kind, const std::string& path, const std::string& mapName,
               const std::string& pedName, int npops, std::vector<std::vector<double>>& snpositions,
               std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
               MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
               std::vector<std::string>& locnames, int* failedFile,
               std::vector<std::string>* familyIds) {
  const bool withFolder = kind == GenotypeKind::Nucleotide;
  const PlinkFiles files{mapName,
                         pedName,
                         path + mapName,
                         path + pedName,
                         withFolder ? path + mapName : mapName,
                         withFolder ? path + pedName : pedName};
  std::string failName = mapName;
  std::vector<std::string> ids;
  int failed = 0;
  const bool ok = guardedRead(
      [&] {
        return readPlinkFiles(kind, files, npops, snpositions, samplesizes, allelecounts,
                              maxallelecounts, alleleids, locnames, ids, failName, failed);
      },
      failName, failName);
  if (failedFile != nullptr) *failedFile = failed;
  if (familyIds != nullptr) familyIds->swap(ids);
  return ok;
}

}  // namespace

bool readPlinkNucleotide(const std::string& path, const std::string& mapName,
                         const std::string& pedName, int& npops,
                         std::vector<std::vector<double>>& snpositions,
                         std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
                         MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids, bool,
                         std::vector<std::string>& locnames, int* failedFile,
                         std::vector<std::string>* familyIds) {
  return readPlink(GenotypeKind::Nucleotide, path, mapName, pedName, npops, snpositions,
                   samplesizes, allelecounts, maxallelecounts, alleleids, locnames, failedFile,
                   familyIds);
}

bool readPlinkNumeric(const std::string& path, const std::string& mapName,
                      const std::string& pedName, int& npops,
                      std::vector<std::vector<double>>& snpositions, std::vector<int>& samplesizes,
                      AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                      AlleleIdTable& alleleids, bool, std::vector<std::string>& locnames,
                      int* failedFile, std::vector<std::string>* familyIds) {
  return readPlink(GenotypeKind::Numeric, path, mapName, pedName, npops, snpositions, samplesizes,
                   allelecounts, maxallelecounts, alleleids, locnames, failedFile, familyIds);
}
