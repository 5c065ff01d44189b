// Small string and number helpers shared by every part of the program, and
// the opening of input files.
#pragma once

#include <fstream>
#include <istream>
#include <sstream>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The blank set that the readers trim.
extern const std::string blankChars;

// Erases the leading characters of s that belong to chars.
void ltrim(std::string& s, const std::string& chars);

std::string toLower(const std::string& s);
std::string toUpper(const std::string& s);

// Number to text with the default stream formatting (six significant digits).
template <typename T>
std::string toString(const T& v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

// Number to text with the given count of significant digits (general format).
std::string toStringPrecision(double v, int digits);

// A number as it was written: 15 significant digits, the most that a decimal
// text keeps through a double, so every digit of a position as read shows
// (12345678 stays 12345678, not 1.23457e+07) and none of the noise of
// arithmetic (0.1 + 1e-07 prints 0.1000001). For positions in messages,
// where six significant digits could name another position.
std::string exactText(double v);

// Erases the elements at the listed indices, walking the list from its last
// entry to its first; indices outside the container are skipped.
template <typename Container>
void eraseIndices(Container& c, const std::vector<int>& indices) {
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
    if (*it < 0 || static_cast<std::size_t>(*it) >= c.size()) continue;
    c.erase(c.begin() + *it);
  }
}

// Calls word(start, length) for each maximal run of characters of s for
// which isSeparator is false, in order.
template <typename IsSeparator, typename Word>
void forEachWord(std::string_view s, IsSeparator isSeparator, Word word) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    while (i < n && isSeparator(s[i])) ++i;
    const std::size_t start = i;
    while (i < n && !isSeparator(s[i])) ++i;
    if (i > start) word(start, i - start);
  }
}

// The separators of splitBlanks.
inline bool isBlankSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The words of s between separators, as views into s, which must outlive
// them: a split that copies no text, for the lines of large inputs.
template <typename IsSeparator>
void splitViews(std::string_view s, IsSeparator isSeparator, std::vector<std::string_view>& words) {
  words.clear();
  forEachWord(s, isSeparator,
              [&](std::size_t start, std::size_t length) { words.push_back(s.substr(start, length)); });
}

// Maximal runs of characters other than space, tab, LF and CR.
std::vector<std::string> splitBlanks(const std::string& s);

// Maximal runs of characters other than delim, LF and CR.
std::vector<std::string> splitBy(const std::string& s, const char& delim);

// Part of s before (before = true) or from (before = false) the first or last
// occurrence of pattern; s itself when pattern is absent.
std::string cutAtPattern(const std::string& s, const std::string& pattern, bool before, bool last);

// What became of an input that a reader opens.
enum class InputOpening {
  opened,
  missing,  // neither its name nor its lower-cased name opens as a file
  empty,    // it holds no data (said on standard output); it is not left open
};

// Opens path + name for a reader; when that fails, retries with the
// lower-cased name. An input that holds nothing but blanks, line ends and
// lines beginning with "#" (found from the bytes that openRegularFile looks
// at, so only in an input shorter than those) is said to be empty, naming it,
// and the reader's read then fails as for a missing input.
InputOpening openInput(const std::string& path, const std::string& name, std::ifstream& in);

// openInput, true when the input is opened; flag makes the stream read
// booleans as words.
bool openInputFile(const std::string& path, const std::string& name, std::ifstream& in, bool flag);

// The name that openInputFile opens for path + name: path + name when it
// opens as an input file, else its lower-cased form (which may not exist
// either). Nothing is read.
std::string inputFileName(const std::string& path, const std::string& name);

// True when the two names reach one file (the same device and inode: one
// name twice, a link and its target, two spellings of one path); false when
// either does not exist.
bool isSameFile(const std::string& name1, const std::string& name2);

// Opens name for reading; the openers of every reader go through it. False
// for a folder (which would open as a stream but cannot be read as a file) or
// a file that cannot be opened. An input that begins with the gzip magic bytes
// 1f 8b (gzip and bgzip files) is reported, with how to decompress it, and one
// with a NUL byte in its first 64 KiB is reported as not text; both end the
// program with status 1, since the format error a reader would otherwise
// report would only mislead. A UTF-8 byte-order mark is skipped.
bool openRegularFile(const std::string& name, std::ifstream& in);

// Reads one line; a carriage return before the line end is dropped, so files
// with CR LF line ends read like files with LF line ends. False when nothing
// was left to read. After the call in.eof() tells that the line had no line end.
bool readLine(std::istream& in, std::string& line);

// A text made only of the digits 0-9, at most maxDigits of them, as a whole
// number; false for any other text (the caller then converts it the slow way).
bool parseDigits(std::string_view text, std::size_t maxDigits, std::int64_t& value);

// A whole word of an optional sign and digits ("12", "-9", "+007") whose
// value fits an int; false for anything else ("1x", "1.5", "X", "-", an empty
// word) or a value outside the int range. The readers check counts and codes
// with it, where a word read as 0 or cut at its first bad character would
// stand for data that the file does not hold. No allocation: it runs once per
// allele on large files.
bool parseWholeInt(std::string_view word, int& value);

// The runtime's atoi and atof on a string (leading blanks skipped, 0 when no
// number begins the text, out-of-range values saturated instead of undefined).
int toInt(const std::string& s);
double toDouble(const std::string& s);

// A whole word that is a finite decimal number (optional sign, digits with an
// optional point, optional exponent: "12", "-0.5", "3.2e4"), as a double;
// false for anything else, such as "abc", "10O", "0x10", "nan", "inf", an
// empty word or a value beyond the double range. The readers check positions
// with it, where a word read as 0 or cut at its first bad character would put
// a site at a wrong place without a word.
bool parseFiniteNumber(std::string_view word, double& value);

// What keeps a word from being a position.
enum class PositionFault {
  none,
  notFinite,   // no finite decimal number as a whole word (parseFiniteNumber)
  aboveLimit,  // above 2^53 as written
  belowLimit,  // below -2^53 as written
};

// A position word as a double: a finite decimal number as a whole word whose
// value as written lies within [-2^53, 2^53]. Beyond 2^53 (9007199254740992)
// a double no longer holds every whole number, so two positions there could
// read as one ("9007199254740993" reads as 9007199254740992): the limit is
// judged on the digits as written, not on the double they read as, and
// "9007199254740992.000" or "9.007199254740992e15" are within it.
PositionFault parsePosition(std::string_view word, double& value);

// The end of a reader's message on a refused position word, after the word:
// "is not a finite number", "is above 2^53 (9007199254740992, the largest
// position held exactly)" or its counterpart below -2^53.
std::string positionFaultText(PositionFault fault);
