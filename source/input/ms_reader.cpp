#include "input/ms_reader.hpp"

#include <cctype>
#include <climits>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>

#include "input/common.hpp"

namespace {

const char* const dashLine = "------------------------------------------------------------\n";

// Only a line whose first word begins with "segsites" opens a sample; other
// lines that begin with "s" (such as a simulator's command line) do not.
bool isSegsitesLine(const std::string& line) {
  const std::vector<std::string> words = splitBlanks(line);
  return !words.empty() && words[0].compare(0, 8, "segsites") == 0;
}

bool beginsWith(const std::string& line, char c) { return !line.empty() && line[0] == c; }

// The number of segregating sites of a segsites line; a missing or negative
// count is a format fault.
int segsitesCount(const std::string& line, const std::string& fileName, int pop) {
  const std::vector<std::string> words = splitBlanks(line);
  const int count = words.size() < 2 ? -1 : toInt(words[1]);
  if (words.size() < 2 || count < 0) {
    const std::string message = "ERROR: There is a format problem reading segsites in pop " +
                                toString(pop) + " of file " + fileName + "\n";
    std::cout << message << std::endl;
    errorExitCode(2, message);
  }
  std::cout << "Read segsites " << count << std::endl;
  if (count == INT_MAX) {
    const std::string message =
        "ERROR: There is an excessive number of segregating sites in pop " + toString(pop) + "\n";
    std::cout << message << std::endl;
    errorExit(message);
  }
  return count;
}

void checkReadError(const std::ifstream& in) {
  if (in.bad()) {
    const std::string message = "ERROR READING INPUT FILE\n";
    std::cout << message << std::endl;
    errorExitCode(6, message);
  }
}

BitRow haplotypeRow(const std::string& line) {
  BitRow row(line.size());
  for (std::size_t j = 0; j < line.size(); ++j)
    if (line[j] == '1') row.set(j);
  return row;
}

std::string stripSpaces(const std::string& line) {
  std::size_t b = 0, e = line.size();
  while (b < e && std::isspace(static_cast<unsigned char>(line[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(line[e - 1]))) --e;
  return line.substr(b, e - b);
}

void fail(int status, const std::string& message) {
  std::cout << message << std::endl;
  errorExitCode(status, message);
}

// A position of the positions line; one that is no finite number (nan, inf)
// could not be ordered or matched with the other population's positions.
double positionValue(const std::string& word, const std::string& where) {
  const double v = toDouble(word);
  if (!std::isfinite(v))
    fail(2, "ERROR: There is a format problem reading positions " + where + ": " + word +
                " is not a finite number\n");
  return v;
}

}  // namespace

bool readMsSamples(const std::string& path, const std::string& file, int& sampleSize,
                   HaplotypeMatrix& data, std::vector<std::vector<double>>& snpositions) {
  std::ifstream in;
  if (!openInputFile(path, file, in, false)) return false;
  snpositions.clear();
  int blocks = 0;
  std::string line;
  while (true) {
    bool found = false;
    while (readLine(in, line)) {
      checkReadError(in);
      if (isSegsitesLine(line)) {
        found = !in.eof();
        break;
      }
    }
    checkReadError(in);
    if (!found) break;

    ++blocks;
    const int S = segsitesCount(line, path + file, blocks);
    std::cout << "Reading positions..." << std::endl;

    std::vector<std::string> words;
    while (readLine(in, line)) {
      if (beginsWith(line, 'p')) break;
      if (in.eof()) break;
    }
    checkReadError(in);
    words = splitBlanks(line);
    if (words.empty() || words[0] != "positions:")
      fail(2, "ERROR: There is a format problem reading positions in pop " + toString(blocks) +
                  "\n");
    if (static_cast<long long>(words.size()) - 1 != S)
      fail(3, "ERROR: There is a problem reading positions in pop " + toString(blocks) +
                  " Expected number of positions " + toString(S) + " was different of observed " +
                  toString(words.size() - 1) + "\n");
    // Sized only now: the count of a segsites line alone must not decide
    // how much memory is taken.
    std::vector<double> positions(static_cast<std::size_t>(S), 0.0);
    for (int i = 0; i < S; ++i)
      positions[static_cast<std::size_t>(i)] =
          positionValue(words[i + 1], "in pop " + toString(blocks));
    snpositions.push_back(std::move(positions));

    std::cout << "Reading sample of size " << sampleSize << std::endl;
    for (int i = 1; i <= sampleSize; ++i) {
      // Past the end of the file an empty line is read; with empty haplotypes
      // that would go on for ever, so the row count below reports it instead.
      if (!readLine(in, line) && S == 0) break;
      checkReadError(in);
      const std::string haplotype = stripSpaces(line);
      if (static_cast<long long>(haplotype.size()) != S)
        fail(4, "ERROR: In sample " + toString(i) +
                    " there is a problem with haplotype size in pop " + toString(blocks) +
                    " Expected haplo size " + toString(S) + " was different of observed " +
                    toString(haplotype.size()) + "\n");
      data.push_back(haplotypeRow(haplotype));
    }
    if (in.eof()) break;
  }
  if (blocks == 0) return false;
  const long long expected = static_cast<long long>(blocks) * sampleSize;
  if (static_cast<long long>(data.size()) != expected)
    fail(5, "ERROR: In file " + path + file + ". There is a problem with data size which is " +
                toString(data.size()) + " and should be " + toString(expected) + "\n");
  std::cout << dashLine << std::endl;
  return true;
}

bool readMsTwoPops(const std::string& path, const std::string& file, int& total, int& first,
                   int& second, HaplotypeMatrix& data,
                   std::vector<std::vector<double>>& snpositions) {
  if (static_cast<long long>(total) != static_cast<long long>(first) + second) {
    std::cout << "\nERROR: bad sample size " << first << "+" << second << " <> " << total
              << " in " << path << file << "\n"
              << std::endl;
    return false;
  }
  std::ifstream in;
  if (!openInputFile(path, file, in, false)) return false;
  snpositions.assign(2, std::vector<double>());

  std::string line;
  bool found = false;
  while (readLine(in, line)) {
    checkReadError(in);
    if (isSegsitesLine(line)) {
      found = true;
      break;
    }
  }
  checkReadError(in);
  if (!found) return false;
  const int S = segsitesCount(line, path + file, 1);

  bool positionsFound = false;
  while (readLine(in, line)) {
    if (beginsWith(line, 'p')) {
      positionsFound = !in.eof();
      break;
    }
  }
  checkReadError(in);
  if (positionsFound) {
    const std::vector<std::string> words = splitBlanks(line);
    if (words.empty() || words[0] != "positions:")
      fail(2, "ERROR: There is a format problem reading positions in file " + path + file + "\n");
    if (static_cast<long long>(words.size()) - 1 != S)
      fail(3, "ERROR: There is a problem reading positions in file " + path + file +
                  " Expected number of positions " + toString(S) + " was different of observed " +
                  toString(words.size() - 1) + "\n");
    std::vector<double> positions(static_cast<std::size_t>(S), 0.0);
    double prev = -1.0;
    for (int i = 0; i < S; ++i) {
      double v = positionValue(words[i + 1], "in file " + path + file);
      if (v <= prev) {
        const std::string message = "ERROR: There is a problem with repeated positions in file " +
                                    path + file + " Positions " + toString(v) +
                                    " is equal to previous one " + toString(prev) + "\n" +
                                    "The position is updated to " + toString(v + 0.0000001) + "\n";
        std::cout << message << std::setprecision(12) << std::endl;
        logMessage(4, message, false);
        v += 0.0000001;
      }
      positions[static_cast<std::size_t>(i)] = v;
      prev = v;
    }
    snpositions[0] = positions;

    int lineNumber = 0;
    auto readPopulation = [&](int count, int pop) {
      std::cout << "Reading sample of size " << count << std::endl;
      for (int k = 0; k < count; ++k) {
        ++lineNumber;
        if (!readLine(in, line) && S == 0) break;
        checkReadError(in);
        if (static_cast<long long>(line.size()) != S)
          fail(5 + pop, "ERROR: In sample " + toString(lineNumber) +
                            " there is a problem with haplotype size in pop " + toString(pop) +
                            " Expected haplo size " + toString(S) + " was different of observed " +
                            toString(line.size()) + "\n");
        data.push_back(haplotypeRow(line));
      }
    };
    readPopulation(first, 0);
    snpositions[1] = snpositions[0];
    readPopulation(second, 1);
  }
  if (static_cast<long long>(data.size()) != total)
    fail(7, "ERROR: In file " + path + file + ". There is a problem with data size which is " +
                toString(data.size()) + " and should be " + toString(total) + "\n");
  std::cout << dashLine << std::endl;
  return true;
}
