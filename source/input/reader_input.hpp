// Opening of the input file of the HapMap and fastPHASE readers, and their
// shared rejection of malformed input, the count of sites included.
#pragma once

#include <fstream>
#include <string>

// Opens path + name for a reader; on failure prints the reader's message after
// the opening messages and returns false.
bool openReaderInput(const std::string& path, const std::string& name, std::ifstream& in);

// Rejects malformed input: the message goes to standard output and to the
// error log, and the process ends with status 1.
[[noreturn]] void rejectInput(const std::string& message);

// The largest number of sites a reader accepts from one file.
constexpr long long maxSitesPerFile = 2147483646LL;

// Ends the process when a file holds more sites than maxSitesPerFile.
void checkSiteCount(long long sites, const std::string& fileName);
