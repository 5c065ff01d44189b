// Opening of the input file of the HapMap, fastPHASE and VCF readers, and the
// HapMap and fastPHASE readers' shared rejection of malformed input, the
// count of sites included.
#pragma once

#include <fstream>
#include <string>

// Opens path + name for a reader; when it cannot be found, prints the reader's
// message after the opening messages; false when it is not opened (an empty
// input included, which the opener reports).
bool openReaderInput(const std::string& path, const std::string& name, std::ifstream& in);

// Rejects malformed input: the message goes to standard output and to the
// error log, and the process ends with status 1.
[[noreturn]] void rejectInput(const std::string& message);

// The largest number of sites a reader accepts from one file.
constexpr long long maxSitesPerFile = 2147483646LL;

// Ends the process when a file holds more sites than maxSitesPerFile.
void checkSiteCount(long long sites, const std::string& fileName);
