#include "input/text.hpp"

#include <cmath>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>

#include "input/log.hpp"

const std::string blankChars = " \f\n\r\t\v";

void ltrim(std::string& s, const std::string& chars) {
  const std::size_t first = s.find_first_not_of(chars);
  if (first == std::string::npos)
    s.clear();
  else if (first > 0)
    s.erase(0, first);
}

std::string toLower(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string toUpper(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string toStringPrecision(double v, int digits) {
  // A whole number with fewer digits than the precision is written as its
  // digits by the stream as well; positions are mostly such numbers.
  static const double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (digits >= 1 && digits <= 15 && v == std::trunc(v) && std::fabs(v) < powers[digits] &&
      !(v == 0.0 && std::signbit(v)))
    return std::to_string(static_cast<long long>(v));
  std::ostringstream out;
  out << std::setprecision(digits) << v;
  return out.str();
}

namespace {
template <typename IsSeparator>
std::vector<std::string> splitWhere(const std::string& s, IsSeparator isSeparator) {
  std::vector<std::string> words;
  forEachWord(s, isSeparator,
              [&](std::size_t start, std::size_t length) { words.emplace_back(s, start, length); });
  return words;
}
}  // namespace

std::vector<std::string> splitBlanks(const std::string& s) {
  return splitWhere(s, isBlankSeparator);
}

std::vector<std::string> splitBy(const std::string& s, const char& delim) {
  const char d = delim;
  return splitWhere(s, [d](char c) { return c == d || c == '\n' || c == '\r'; });
}

std::string cutAtPattern(const std::string& s, const std::string& pattern, bool before, bool last) {
  const std::size_t at = last ? s.rfind(pattern) : s.find(pattern);
  if (at == std::string::npos) return s;
  return before ? s.substr(0, at) : s.substr(at);
}

namespace {
bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

constexpr std::size_t textProbeBytes = 64 * 1024;

bool isGzip(const std::string& head) {
  return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0x1f &&
         static_cast<unsigned char>(head[1]) == 0x8b;
}

[[noreturn]] void rejectGzipInput(const std::string& fileName) {
  // gunzip and bgzip -d only take names that end in .gz; other names are
  // decompressed to standard output.
  const std::string how = endsWith(fileName, ".gz")
                              ? "gunzip " + fileName + ", or bgzip -d " + fileName
                              : "gunzip -c " + fileName + " > " + fileName + ".txt, or bgzip -dc " +
                                    fileName + " > " + fileName + ".txt";
  fatalError(1, "\nERROR: " + fileName + " is gzip-compressed: decompress it first (" + how +
                    " for bgzip files)\n");
}

// A UTF-8 byte-order mark is no part of the data.
void skipByteOrderMark(std::istream& in) {
  for (const int byte : {0xEF, 0xBB, 0xBF}) {
    if (in.peek() != byte) return;
    in.get();
  }
}

// Whether text, the whole of an input, holds a line other than blank lines
// and lines whose first character after blanks is "#" (comments, and the
// meta lines of a VCF file); a byte-order mark at its start is no data
// either. The header line of a VCF file ("#CHROM ...") counts as data, so
// that a VCF file with a header and no record is said to lack records.
bool holdsDataLine(const std::string& text) {
  std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const std::size_t n = text.size();
  while (i < n) {
    while (i < n && text[i] != '\n' && blankChars.find(text[i]) != std::string::npos) ++i;
    if (i == n) break;
    if (text[i] != '\n' && (text[i] != '#' || text.compare(i, 6, "#CHROM") == 0)) return true;
    i = text.find('\n', i);
    if (i == std::string::npos) break;
    ++i;
  }
  return false;
}

// Looks at the first bytes of an opened input: gzip data and data that is
// not text (a NUL byte, which no format allows and which could otherwise make
// a line without end) are rejected. A stream that cannot seek back (a pipe)
// is not looked at, since the bytes read would be lost. Returns false when
// the input holds no data line; an input longer than the bytes looked at is
// taken to hold one, so that no input is read twice.
bool screenInput(const std::string& fileName, std::ifstream& in) {
  bool mayHoldData = true;
  const std::streampos start = in.tellg();
  if (start != std::streampos(-1)) {
    std::string head(textProbeBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    // A read error is left for the reader to report, on its own read.
    const bool readFailed = in.bad();
    in.clear();
    in.seekg(start);
    if (isGzip(head)) rejectGzipInput(fileName);
    if (head.find('\0') != std::string::npos)
      fatalError(1, "\nERROR: " + fileName +
                        " is not a text file: it holds a NUL byte within its first 64 KiB "
                        "(binary, compressed or UTF-16 data)\n");
    mayHoldData = readFailed || head.size() == textProbeBytes || holdsDataLine(head);
  }
  skipByteOrderMark(in);
  if (in.eof()) in.clear();  // an empty input reads as empty, not as a failed stream
  return mayHoldData;
}

// openRegularFile, also telling whether the input may hold data.
bool openScreened(const std::string& name, std::ifstream& in, bool& mayHoldData) {
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  in.open(name);
  if (!in.is_open()) return false;
  mayHoldData = screenInput(name, in);
  return true;
}
}  // namespace

bool openRegularFile(const std::string& name, std::ifstream& in) {
  bool mayHoldData = true;
  return openScreened(name, in, mayHoldData);
}

namespace {
// Whether openRegularFile would open name, found without disturbing it: a
// regular file is opened and closed again, while a pipe or a device, which a
// probe could block or drain, is taken as opening; a folder does not open.
bool opensAsInput(const std::string& name) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(name, ec);
  if (ec || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
    return false;
  if (!std::filesystem::is_regular_file(status)) return true;
  std::ifstream probe(name);
  return probe.is_open();
}
}  // namespace

std::string inputFileName(const std::string& path, const std::string& name) {
  const std::string full = path + name;
  return opensAsInput(full) ? full : toLower(full);
}

bool isSameFile(const std::string& name1, const std::string& name2) {
  std::error_code ec;
  return std::filesystem::equivalent(name1, name2, ec) && !ec;
}

InputOpening openInput(const std::string& path, const std::string& name, std::ifstream& in) {
  std::string full = path + name;
  if (in.is_open()) in.close();
  in.clear();
  bool mayHoldData = true;
  if (!openScreened(full, in, mayHoldData)) {
    std::cout << "\nCould not open file: " << full << std::endl;
    full = toLower(full);
    std::cout << "\nTRYING FILE NAME " << full << std::endl;
    in.clear();
    if (!openScreened(full, in, mayHoldData)) {
      std::cout << "\nERROR: can not find input file after " << 2 << " tries\n" << std::endl;
      return InputOpening::missing;
    }
  }
  in.clear();
  if (!mayHoldData) {
    in.close();
    std::cout << "\nERROR: File " << full
              << " is empty (nothing but blanks, line ends and lines beginning with #)\n"
              << std::endl;
    return InputOpening::empty;
  }
  return InputOpening::opened;
}

bool openInputFile(const std::string& path, const std::string& name, std::ifstream& in,
                   bool flag) {
  if (openInput(path, name, in) != InputOpening::opened) return false;
  if (flag) in >> std::boolalpha;
  return true;
}

std::string exactText(double v) { return toStringPrecision(v, 15); }

bool readLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) {
    line.clear();
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

int toInt(const std::string& s) {
  errno = 0;
  const long v = std::strtol(s.c_str(), nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

double toDouble(const std::string& s) { return std::strtod(s.c_str(), nullptr); }

bool parseFiniteNumber(std::string_view word, double& value) {
  std::size_t i = 0;
  const std::size_t n = word.size();
  const auto digitsFrom = [&](std::size_t& at) {
    const std::size_t start = at;
    while (at < n && word[at] >= '0' && word[at] <= '9') ++at;
    return at - start;
  };
  if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
  std::size_t mantissaDigits = digitsFrom(i);
  if (i < n && word[i] == '.') {
    ++i;
    mantissaDigits += digitsFrom(i);
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
    if (digitsFrom(i) == 0) return false;
  }
  if (i != n) return false;
  const double v = std::strtod(std::string(word).c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

namespace {
// Whether the magnitude of a word that parseFiniteNumber accepts is above
// 2^53, decided on its decimal digits: as 0.d1d2... x 10^E, with d1 its first
// digit that is not 0, it is above when E > 16, or when E = 16 and its digits
// exceed "9007199254740992" (any digit beyond these that is not 0 included).
bool magnitudeAboveTwoTo53(std::string_view word) {
  static constexpr std::string_view limit = "9007199254740992";
  std::string digits;
  long long E = 0;
  bool afterPoint = false;
  std::size_t i = word[0] == '+' || word[0] == '-' ? 1 : 0;
  for (; i < word.size() && word[i] != 'e' && word[i] != 'E'; ++i) {
    if (word[i] == '.') {
      afterPoint = true;
    } else if (!digits.empty() || word[i] != '0') {
      digits += word[i];
      if (!afterPoint) ++E;
    } else if (afterPoint) {
      --E;  // a 0 between the point and the first other digit
    }
  }
  if (digits.empty()) return false;
  if (i < word.size()) {
    bool negative = false;
    if (++i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    long long exponent = 0;
    for (; i < word.size(); ++i)
      if (exponent < 1000000000000LL) exponent = exponent * 10 + (word[i] - '0');
    E += negative ? -exponent : exponent;
  }
  const long long limitE = static_cast<long long>(limit.size());
  if (E != limitE) return E > limitE;
  digits.resize(std::max(digits.size(), limit.size()), '0');
  const int order = digits.compare(0, limit.size(), limit);
  if (order != 0) return order > 0;
  return digits.find_first_not_of('0', limit.size()) != std::string::npos;
}
}  // namespace

PositionFault parsePosition(std::string_view word, double& value) {
  if (!parseFiniteNumber(word, value)) return PositionFault::notFinite;
  // Only a word that reads as 2^53 or more in magnitude can be above it as written.
  if (std::fabs(value) >= 9007199254740992.0 && magnitudeAboveTwoTo53(word))
    return value < 0 ? PositionFault::belowLimit : PositionFault::aboveLimit;
  return PositionFault::none;
}

std::string positionFaultText(PositionFault fault) {
  switch (fault) {
    case PositionFault::none:
      break;
    case PositionFault::notFinite:
      return "is not a finite number";
    case PositionFault::aboveLimit:
      return "is above 2^53 (9007199254740992, the largest position held exactly)";
    case PositionFault::belowLimit:
      return "is below -2^53 (-9007199254740992, the lowest position held exactly)";
  }
  return "";
}

bool parseDigits(std::string_view text, std::size_t maxDigits, std::int64_t& value) {
  if (text.empty() || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool parseWholeInt(std::string_view word, int& value) {
  // Short runs of digits (nearly every word read) fit an int as they are.
  std::int64_t magnitude = 0;
  if (parseDigits(word, 9, magnitude)) {
    value = static_cast<int>(magnitude);
    return true;
  }
  const bool negative = !word.empty() && word[0] == '-';
  if (!word.empty() && (negative || word[0] == '+')) word.remove_prefix(1);
  if (word.empty()) return false;
  // Leading zeros aside, ten digits at most can fit an int.
  const std::size_t first = word.find_first_not_of('0');
  magnitude = 0;
  if (first != std::string_view::npos && !parseDigits(word.substr(first), 10, magnitude))
    return false;
  const std::int64_t v = negative ? -magnitude : magnitude;
  if (v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}
