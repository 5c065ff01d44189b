#include "input/ms_reader.hpp"

#include <cctype>
#include <climits>
#include <fstream>
#include <initializer_list>
#include <iomanip>
#include <iostream>

#include "input/common.hpp"

namespace {

const char* const dashLine = "------------------------------------------------------------\n";

// The open input and the number of the last line read, for the messages.
struct MsFile {
  std::ifstream in;
  std::string name;  // path and file, as the messages name it
  long long lineNumber = 0;

  bool next(std::string& line) {
    if (!readLine(in, line)) return false;
    ++lineNumber;
    return true;
  }
};

std::size_t firstNonBlank(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && isBlankSeparator(line[i])) ++i;
  return i;
}

// Only a line whose first word begins with "segsites" opens a sample; other
// lines that begin with "s" (such as a simulator's command line) do not.
// Checked in place: every line of the file may pass through here.
bool isSegsitesLine(const std::string& line) {
  return line.compare(firstNonBlank(line), 8, "segsites") == 0;
}

// The haplotype lines of a block end at a blank line, at the "//" line or
// the segsites line of the next sample, or at the end of the file.
bool endsHaplotypeLines(const std::string& line) {
  const std::size_t i = firstNonBlank(line);
  return i == line.size() || line.compare(i, 2, "//") == 0 || isSegsitesLine(line);
}

bool beginsWith(const std::string& line, char c) { return !line.empty() && line[0] == c; }

void checkReadError(const std::ifstream& in) {
  if (in.bad()) fatalError(6, "ERROR READING INPUT FILE\n");
}

// Reads up to the next segsites line, left in line; false when none is left.
bool findSegsitesLine(MsFile& f, std::string& line) {
  bool found = false;
  while (f.next(line)) {
    checkReadError(f.in);
    if (isSegsitesLine(line)) {
      found = true;
      break;
    }
  }
  checkReadError(f.in);
  return found;
}

// The number of segregating sites of a segsites line; a missing or negative
// count is a format fault.
int segsitesCount(const std::string& line, const std::string& fileName, int pop) {
  const std::vector<std::string> words = splitBlanks(line);
  const int count = words.size() < 2 ? -1 : toInt(words[1]);
  if (words.size() < 2 || count < 0)
    fatalError(2, "ERROR: There is a format problem reading segsites in pop " + toString(pop) +
                      " of file " + fileName + "\n");
  std::cout << "Read segsites " << count << std::endl;
  if (count == INT_MAX)
    fatalError(1, "ERROR: There is an excessive number of segregating sites in pop " +
                      toString(pop) + "\n");
  return count;
}

// Reads up to the next line that begins with "p", left in line, and tells
// whether one was found. A last line without a line end stops the search and
// stays in line.
bool findPositionsLine(MsFile& f, std::string& line) {
  bool found = false;
  while (f.next(line)) {
    if (beginsWith(line, 'p')) {
      found = true;
      break;
    }
    if (f.in.eof()) break;
  }
  checkReadError(f.in);
  return found;
}

// What a positions line does with a position that is not above the one
// before it.
enum class RepeatedPositions {
  keep,   // nothing: the position stays as read
  raise,  // reported on standard output and in Pravis.log, and raised by 1e-07
};

// Where a positions line is, for the messages: where names the sample as the
// format messages have always named it ("in pop 2", "in file sim.txt"), at
// adds the file and the line for a word that is no number.
struct PositionsLine {
  std::string where;
  std::string at;
};

// A position of the positions line must be a finite number as a whole word:
// a word read as 0 ("abc"), cut at a bad character ("10O") or not a number
// at all (nan, inf) would put the site at a wrong place, or one that cannot
// be ordered or matched with the other population's positions; so would one
// beyond 2^53, where two positions can read as one.
double positionValue(const std::string& word, const PositionsLine& place) {
  double v = 0.0;
  const PositionFault fault = parsePosition(word, v);
  if (fault != PositionFault::none)
    fatalError(2, "ERROR: There is a format problem reading positions " + place.at + ": " + word +
                      " " + positionFaultText(fault) + "\n");
  return v;
}

// The fewest significant digits, six at least, at which the texts of the
// values differ wherever the values do: a raised position differs from the
// one read by 1e-07, which six digits would hide.
int distinguishingDigits(std::initializer_list<double> values) {
  for (int digits = 6; digits < 17; ++digits) {
    bool apart = true;
    for (const double* a = values.begin(); apart && a != values.end(); ++a)
      for (const double* b = a + 1; apart && b != values.end(); ++b)
        apart = *a == *b || toStringPrecision(*a, digits) != toStringPrecision(*b, digits);
    if (apart) return digits;
  }
  return 17;
}

// The note of a position that is not above the one before it, which is
// raised: the run goes on.
void reportRaisedPosition(const std::string& where, double v, double prev, double raised) {
  const int digits = distinguishingDigits({v, prev, raised});
  const auto text = [digits](double x) { return toStringPrecision(x, digits); };
  const std::string message = "WARNING: There is a problem with repeated positions " + where +
                              " Positions " + text(v) +
                              (v == prev ? " is equal to" : " is lower than") +
                              " previous one " + text(prev) + "\n" +
                              "The position is updated to " + text(raised) + "\n";
  printWarning(4, message);
  // The precision stays set for the rest of the run's console output.
  std::cout << std::setprecision(12);
}

// The positions of a "positions:" line that must list S of them.
std::vector<double> parsePositions(const std::string& line, int S, const PositionsLine& place,
                                   RepeatedPositions repeats) {
  const std::string& where = place.where;
  const std::vector<std::string> words = splitBlanks(line);
  if (words.empty() || words[0] != "positions:")
    fatalError(2, "ERROR: There is a format problem reading positions " + where + "\n");
  if (static_cast<long long>(words.size()) - 1 != S)
    fatalError(3, "ERROR: There is a problem reading positions " + where +
                      " Expected number of positions " + toString(S) +
                      " was different of observed " + toString(words.size() - 1) + "\n");
  // Sized only now: the count of a segsites line alone must not decide how
  // much memory is taken.
  std::vector<double> positions(static_cast<std::size_t>(S), 0.0);
  double prev = -1.0;
  for (int i = 0; i < S; ++i) {
    double v = positionValue(words[i + 1], place);
    if (repeats == RepeatedPositions::raise && v <= prev) {
      const double raised = v + 0.0000001;
      reportRaisedPosition(where, v, prev, raised);
      v = raised;
    }
    positions[static_cast<std::size_t>(i)] = v;
    prev = v;
  }
  return positions;
}

BitRow haplotypeRow(const std::string& line) {
  BitRow row(line.size());
  for (std::size_t j = 0; j < line.size(); ++j)
    if (line[j] == '1') row.set(j);
  return row;
}

// Blanks at the end of a haplotype line, like the CR of a CR LF line end,
// are no part of the haplotype; those at its start only where stripLeading.
void stripBlanks(std::string& line, bool stripLeading) {
  std::size_t e = line.size();
  while (e > 0 && std::isspace(static_cast<unsigned char>(line[e - 1]))) --e;
  line.resize(e);
  if (!stripLeading) return;
  std::size_t b = 0;
  while (b < e && std::isspace(static_cast<unsigned char>(line[b]))) ++b;
  line.erase(0, b);
}

// One run of haplotype lines of S sites each.
struct HaplotypeLines {
  int count;          // lines to read
  int pop;            // population number in the messages
  int status;         // exit status of a line of another length
  bool stripLeading;  // blanks at the start of a line are no part of the haplotype
};

// Reads the lines of run into data; sample numbers the lines in the messages
// and goes on from its value on entry.
void readHaplotypes(MsFile& f, int S, const HaplotypeLines& run, int& sample,
                    HaplotypeMatrix& data) {
  std::cout << "Reading sample of size " << run.count << std::endl;
  std::string line;
  for (int k = 0; k < run.count; ++k) {
    ++sample;
    // Past the end of the file an empty line is read; with empty haplotypes
    // that would go on for ever, so the caller's row count reports it instead.
    if (!f.next(line) && S == 0) break;
    checkReadError(f.in);
    stripBlanks(line, run.stripLeading);
    if (static_cast<long long>(line.size()) != S)
      fatalError(run.status, "ERROR: In sample " + toString(sample) +
                                 " there is a problem with haplotype size in pop " +
                                 toString(run.pop) + " Expected haplo size " + toString(S) +
                                 " was different of observed " + toString(line.size()) + "\n");
    data.push_back(haplotypeRow(line));
  }
}

void checkDataSize(std::size_t rows, long long expected, const std::string& fileName, int status) {
  if (static_cast<long long>(rows) != expected)
    fatalError(status, "ERROR: In file " + fileName +
                           ". There is a problem with data size which is " + toString(rows) +
                           " and should be " + toString(expected) + "\n");
}

// The haplotype lines of a block that follow those read, counted up to the
// end of the block and not kept; line is left holding the line that ended
// them.
struct UnreadLines {
  long long count = 0;
  bool atSegsites = false;  // the block ended at the segsites line of the next sample
};

UnreadLines skipUnreadHaplotypes(MsFile& f, std::string& line) {
  UnreadLines unread;
  while (f.next(line)) {
    checkReadError(f.in);
    if (endsHaplotypeLines(line)) {
      unread.atSegsites = isSegsitesLine(line);
      break;
    }
    ++unread.count;
  }
  checkReadError(f.in);
  return unread;
}

// The samples of the rest of the file (counted, not read), the one whose
// segsites line is already in line included when atSegsites.
long long countLaterSamples(MsFile& f, std::string& line, bool atSegsites) {
  long long samples = atSegsites ? 1 : 0;
  while (f.next(line)) {
    checkReadError(f.in);
    if (isSegsitesLine(line)) ++samples;
  }
  checkReadError(f.in);
  return samples;
}

std::string plural(long long n, const std::string& word) {
  return toString(n) + " " + word + (n == 1 ? "" : "s");
}

// Lines or samples of the file that no population holds are said on one
// warning line, on standard output and in Pravis.log: the results describe
// only what was read.
void warnUnread(const std::string& fileName, const std::string& what) {
  const std::string warning = "\nWARNING: File " + fileName + " holds " + what + "\n";
  printWarning(0, warning);
}

// One block of the one-block-per-population layout: its segsites line is in
// line; its first sampleSize haplotype lines are read.
void readSampleBlock(MsFile& f, std::string& line, int block, int sampleSize,
                     HaplotypeMatrix& data, std::vector<std::vector<double>>& snpositions) {
  const std::string where = "in pop " + toString(block);
  const int S = segsitesCount(line, f.name, block);
  std::cout << "Reading positions..." << std::endl;
  findPositionsLine(f, line);
  const PositionsLine place{where, where + " of file " + f.name + ", line " +
                                       toString(f.lineNumber)};
  snpositions.push_back(parsePositions(line, S, place, RepeatedPositions::keep));
  int sample = 0;
  readHaplotypes(f, S, {sampleSize, block, 4, true}, sample, data);
}

// After both populations of a two-population file: the haplotype lines left
// in the first sample and the samples after it.
void warnUnreadTwoPops(MsFile& f, std::string& line, int first, int second) {
  const UnreadLines unread = skipUnreadHaplotypes(f, line);
  const long long samples = 1 + countLaterSamples(f, line, unread.atSegsites);
  std::string what;
  if (unread.count > 0) {
    const long long read = static_cast<long long>(first) + second;
    what = toString(read + unread.count) + " haplotype lines in its first sample and " +
           toString(read) + " were read: the sample is read up to its first -sample " +
           toString(first) + " + -sample2 " + toString(second) + " lines";
  }
  if (samples > 1) {
    what += what.empty() ? "" : "; it holds ";
    what += toString(samples) +
            " samples and 1 was read: only the first sample of a file with two populations is "
            "read (-runs reads one file per sample)";
  }
  if (!what.empty()) warnUnread(f.name, what);
}

}  // namespace

// The positions of a block are kept as read; each block has its own.
bool readMsSamples(const std::string& path, const std::string& file, int& sampleSize,
                   HaplotypeMatrix& data, std::vector<std::vector<double>>& snpositions) {
  MsFile f;
  if (!openInputFile(path, file, f.in, false)) return false;
  f.name = path + file;
  snpositions.clear();
  int blocks = 0;
  long long unread = 0;
  std::string line;
  bool atSegsites = findSegsitesLine(f, line);
  // A segsites line without a line end opens no block.
  while (atSegsites && !f.in.eof()) {
    ++blocks;
    readSampleBlock(f, line, blocks, sampleSize, data, snpositions);
    if (f.in.eof()) break;
    const UnreadLines rest = skipUnreadHaplotypes(f, line);
    unread += rest.count;
    atSegsites = rest.atSegsites || findSegsitesLine(f, line);
  }
  if (blocks == 0) return false;
  const long long read = static_cast<long long>(blocks) * sampleSize;
  checkDataSize(data.size(), read, f.name, 5);
  if (unread > 0)
    warnUnread(f.name, toString(read + unread) + " haplotype lines in its " +
                           plural(blocks, "block") + " and " + toString(read) +
                           " were read: each block is read up to its first -sample " +
                           toString(sampleSize) + " lines");
  std::cout << dashLine << std::endl;
  return true;
}

// One block holds both populations; a position not above the one before it is
// raised, and both populations share the positions.
bool readMsTwoPops(const std::string& path, const std::string& file, int& total, int& first,
                   int& second, HaplotypeMatrix& data,
                   std::vector<std::vector<double>>& snpositions) {
  if (static_cast<long long>(total) != static_cast<long long>(first) + second) {
    std::cout << "\nERROR: bad sample size " << first << "+" << second << " <> " << total << " in "
              << path << file << "\n"
              << std::endl;
    return false;
  }
  MsFile f;
  if (!openInputFile(path, file, f.in, false)) return false;
  f.name = path + file;
  snpositions.assign(2, std::vector<double>());

  std::string line;
  if (!findSegsitesLine(f, line)) return false;
  const int S = segsitesCount(line, f.name, 1);
  // A positions line without a line end is no positions line: the row count
  // then reports the missing haplotypes.
  const bool positioned = findPositionsLine(f, line) && !f.in.eof();
  if (positioned) {
    const std::string where = "in file " + f.name;
    snpositions[0] = parsePositions(line, S, {where, where + ", line " + toString(f.lineNumber)},
                                    RepeatedPositions::raise);
    // Haplotype lines are taken from their first character here, blanks
    // included, and numbered across both populations.
    int sample = 0;
    readHaplotypes(f, S, {first, 0, 5, false}, sample, data);
    snpositions[1] = snpositions[0];
    readHaplotypes(f, S, {second, 1, 6, false}, sample, data);
  }
  checkDataSize(data.size(), total, f.name, 7);
  if (positioned && !f.in.eof()) warnUnreadTwoPops(f, line, first, second);
  std::cout << dashLine << std::endl;
  return true;
}
