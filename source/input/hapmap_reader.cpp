#include "input/hapmap_reader.hpp"

#include <fstream>
#include <iostream>
#include <string_view>

#include "input/base_coding.hpp"
#include "input/coded_sample.hpp"
#include "input/common.hpp"
#include "input/read_guard.hpp"
#include "input/reader_input.hpp"
#include "input/site_matrix_builder.hpp"

// The table is streamed: each data line is one site, and the reference
// population's columns on that line decide its coded base, so a site is coded,
// or dropped, as soon as it is read. With two files the files are read side by
// side, line k of one describing the same SNP as line k of the other.

namespace {

struct HapMapFile {
  std::string name;
  std::ifstream in;
  long long lineNumber = 0;  // line number of the last line read, from 1
  int columns = 0;           // haplotype columns announced by the header
};

bool isBlankOrComment(const std::string& line) {
  return line.empty() || line.compare(0, commentmarker.size(), commentmarker) == 0;
}

// The next line that is neither empty nor a comment, leading blanks removed;
// false at the end of the file.
bool nextContentLine(HapMapFile& f, std::string& line) {
  while (readLine(f.in, line)) {
    ++f.lineNumber;
    ltrim(line, blankChars);
    if (!isBlankOrComment(line)) return true;
  }
  return false;
}

std::string lineOf(const HapMapFile& f) {
  return "line " + toString(f.lineNumber) + " of file " + f.name;
}

// A table written without its header line loses its first site to the
// header: say so when the header's words read as a site (a finite number
// after the name, then one symbol per haplotype column).
void warnOfHeaderLikeData(const HapMapFile& f, const std::vector<std::string>& words) {
  double position = 0.0;
  if (!parseFiniteNumber(words[1], position)) return;
  for (std::size_t i = 2; i < words.size(); ++i)
    if (words[i].size() != 1) return;
  printWarning(0, "\nWARNING: File " + f.name + ": its first line (line " +
                      toString(f.lineNumber) +
                      ") reads as a data line but is taken for the header line, so its site (" +
                      words[0] + " at position " + words[1] +
                      ") is not read: a HapMap table begins with a header line\n");
}

// Opens the file and reads its header; false (with the reader's message when
// the file cannot be opened) when there is no header line ended by a line end.
bool openWithHeader(const std::string& path, HapMapFile& f) {
  if (!openReaderInput(path, f.name, f.in)) return false;
  // A line that cannot be read (memory that runs out, an error of the
  // system) is thrown as the exception it is, not taken for the end of the file.
  f.in.exceptions(std::ios::badbit);
  std::string line;
  if (!nextContentLine(f, line) || f.in.eof()) return false;
  const std::vector<std::string> words = splitBlanks(line);
  const std::size_t fields = words.size();
  if (fields < 3)
    rejectInput("ERROR: The header on " + lineOf(f) + " has " + toString(fields) +
                " field(s): a phased HapMap table needs the SNP name, its position and at least "
                "one haplotype column\n");
  warnOfHeaderLikeData(f, words);
  if (fields - 2 > static_cast<std::size_t>(maxSitesPerFile))
    rejectInput("ERROR: There is an excessive number of haplotypes in file " + f.name + "\n");
  f.columns = static_cast<int>(fields - 2);
  return true;
}

bool isFieldSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// One data line: the upper-cased SNP name, the position and the code of each
// haplotype column, written to codes[0 .. columns). Ragged lines are rejected.
void parseDataLine(const HapMapFile& f, const std::string& line, std::string& name,
                   double& position, unsigned char* codes) {
  long long fields = 0;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    while (i < n && isFieldSeparator(line[i])) ++i;
    if (i == n) break;
    const std::size_t start = i;
    while (i < n && !isFieldSeparator(line[i])) ++i;
    const std::size_t length = i - start;
    if (fields == 0) {
      name = toUpper(line.substr(start, length));
    } else if (fields == 1) {
      const std::string_view text(line.data() + start, length);
      const PositionFault fault = parsePosition(text, position);
      if (fault != PositionFault::none)
        rejectInput("ERROR: The position \"" + std::string(text) + "\" on " + lineOf(f) + " " +
                    positionFaultText(fault) + "\n");
    } else {
      const long long column = fields - 2;
      if (length != 1)
        rejectInput("ERROR: The haplotype field \"" + line.substr(start, length) +
                    "\" in column " + toString(column + 1) + " on " + lineOf(f) +
                    " is not one letter\n");
      if (column < f.columns) codes[column] = baseCode(line[start]);
    }
    ++fields;
  }
  if (fields < 2)
    rejectInput("ERROR: The data on " + lineOf(f) +
                " has fewer than two fields (SNP name and position)\n");
  if (fields - 2 != f.columns)
    rejectInput("ERROR: The data on " + lineOf(f) + " has " + toString(fields - 2) +
                " haplotype column(s) but the header announces " + toString(f.columns) + "\n");
}

// The haplotype letters of columns [from, to) of a data line that
// parseDataLine accepted.
std::string columnLetters(const std::string& line, int from, int to) {
  std::string letters;
  int field = 0;
  forEachWord(line, isFieldSeparator, [&](std::size_t start, std::size_t) {
    const int column = field++ - 2;
    if (column >= from && column < to) letters.push_back(line[start]);
  });
  return letters;
}

void rejectDifferentSnps(const HapMapFile& f1, const HapMapFile& f2, const std::string& detail) {
  rejectInput("ERROR: The HapMap files " + f1.name + " and " + f2.name +
              " do not list the same SNPs in the same order: " + detail + "\n");
}

// A table without a data line holds no SNP: its read fails, rather than pass
// for an analysis that found nothing.
bool hasDataLine(bool found, const HapMapFile& f) {
  if (!found)
    std::cout << "\nERROR: There is no data line after the header of file " << f.name << "\n"
              << std::endl;
  return found;
}

// Opens the table's file or files and reads their headers into the sample
// sizes; false when a file cannot be opened or has no header. `reading` is
// the index of the file being read (0 for file1, 1 for file2), on failure the
// one that failed.
bool openTable(const std::string& path, bool singlePopFile, HapMapFile& f1, HapMapFile& f2,
               int* sizes, int& reading) {
  reading = 0;
  if (!openWithHeader(path, f1)) return false;
  if (singlePopFile) {
    reading = 1;
    if (!openWithHeader(path, f2)) return false;
    sizes[0] = f1.columns;
    sizes[1] = f2.columns;
    return true;
  }
  if (f1.columns < 2)
    rejectInput("ERROR: File " + f1.name +
                " has one haplotype column: splitting it into two populations needs at least "
                "two\n");
  sizes[0] = f1.columns / 2;
  sizes[1] = f1.columns - sizes[0];
  return true;
}

enum class NextSite { Read, End, NoData };

// The next data line of f1 and, with two files (f2 given), the line of f2
// that describes the same SNP, `reading` naming the file read as above.
// Before the first site, a file without a data line makes the read fail.
NextSite nextSiteLines(HapMapFile& f1, HapMapFile* f2, std::string& line1, std::string& line2,
                       bool first, int& reading) {
  reading = 0;
  const bool more1 = nextContentLine(f1, line1);
  if (first && !hasDataLine(more1, f1)) return NextSite::NoData;
  bool more2 = more1;
  if (f2 != nullptr) {
    reading = 1;
    more2 = nextContentLine(*f2, line2);
    if (first && !hasDataLine(more2, *f2)) return NextSite::NoData;
  }
  if (more1 != more2) {
    const HapMapFile& ended = more1 ? *f2 : f1;
    const HapMapFile& goesOn = more1 ? f1 : *f2;
    rejectDifferentSnps(f1, *f2, "file " + ended.name + " ends while " + lineOf(goesOn) +
                                     " holds another SNP");
  }
  return more1 ? NextSite::Read : NextSite::End;
}

// Reads the table; `reading` is the index of the file being read (0 for
// file1, 1 for file2), on failure the one that failed; 0 while the sites are
// coded.
bool readTable(const std::string& path, const std::string& file1, const std::string& file2,
               bool singlePopFile, std::vector<int>& samplesizes, HaplotypeMatrix& data,
               std::vector<std::vector<double>>& snpfreqs,
               std::vector<std::vector<double>>& snpositions, RsidMap& posToName, int& pref,
               int& reading) {
  HapMapFile f1, f2;
  f1.name = file1;
  f2.name = file2;
  CodedSample sample;
  int* sizes = sample.sizes;
  if (!openTable(path, singlePopFile, f1, f2, sizes, reading)) return false;
  const int ref = sample.reference = codingPopulation(sample.sizes, pref);
  const int other = 1 - ref;

  // Population 0's columns first, then population 1's: in the two-file form
  // file 2's columns follow file 1's.
  const std::size_t rows = static_cast<std::size_t>(sizes[0]) + static_cast<std::size_t>(sizes[1]);
  std::vector<unsigned char> codes(rows);
  const std::size_t firstRow[3] = {0, static_cast<std::size_t>(sizes[0]), rows};

  SiteMatrixBuilder builder(rows);
  std::string line, line2, name, name2;
  double position = 0.0, position2 = 0.0;
  long long sitesRead = 0;
  LeftOutSites leftOut;
  while (true) {
    const NextSite next =
        nextSiteLines(f1, singlePopFile ? &f2 : nullptr, line, line2, sitesRead == 0, reading);
    if (next == NextSite::NoData) return false;
    if (next == NextSite::End) break;
    checkSiteCount(++sitesRead, f1.name);
    reading = 0;
    parseDataLine(f1, line, name, position, codes.data());
    if (singlePopFile) {
      reading = 1;
      parseDataLine(f2, line2, name2, position2, codes.data() + sizes[0]);
      reading = 0;
      if (position2 != position)
        rejectDifferentSnps(f1, f2, "position " + exactText(position) + " on " + lineOf(f1) +
                                        " but " + exactText(position2) + " on " + lineOf(f2));
    }
    // The first name read for a position stays.
    posToName.emplace(position, name);

    SiteCounts counts[2] = {};
    for (int p = 0; p < 2; ++p)
      for (std::size_t r = firstRow[p]; r < firstRow[p + 1]; ++r) ++counts[p][codes[r]];
    const int coded = chooseCodedBase(counts[ref], sizes[ref], counts[other]);
    if (coded == deletedSite) {
      leftOut.add([&] {
        if (!singlePopFile)
          return columnLetters(line, static_cast<int>(firstRow[ref]),
                               static_cast<int>(firstRow[ref + 1]));
        return columnLetters(ref == 0 ? line : line2, 0, sizes[ref]);
      });
      continue;
    }

    const std::size_t site = builder.addSite();
    sample.positions.push_back(position);
    for (int p = 0; p < 2; ++p) {
      std::uint32_t ones = 0;
      if (coded != noCodedBase) {
        for (std::size_t r = firstRow[p]; r < firstRow[p + 1]; ++r)
          if (codes[r] == coded) {
            builder.set(r, site);
            ++ones;
          }
      }
      sample.freqs[p].push_back(static_cast<double>(ones) / sizes[p]);
    }
  }

  sample.rows = builder.take();
  sample.moveTo(samplesizes, data, snpfreqs, snpositions, pref);
  leftOut.warn(singlePopFile && ref == 1 ? f2.name : f1.name);
  return true;
}

}  // namespace

bool readHapMapPhased(const std::string& path, const std::string& file1,
                      const std::string& file2, bool singlePopFile, std::vector<int>& samplesizes,
                      HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                      std::vector<std::vector<double>>& snpositions, RsidMap& posToName,
                      int& pref, int* failedFile) {
  int reading = 0;
  const std::string names[2] = {file1, file2};
  const bool ok = guardedPairRead([&] {
    return readTable(path, file1, file2, singlePopFile, samplesizes, data, snpfreqs, snpositions,
                     posToName, pref, reading);
  }, names, reading);
  if (!ok && failedFile != nullptr) *failedFile = reading;
  return ok;
}
