// Reader of phased HapMap tables: one file split in halves, or one file per population.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

// False when a file cannot be opened, has no header line or no data line, or
// when an exception was caught; failedFile, when given, then receives the
// index of the file whose read failed (0 for file1, 1 for file2). file2 is
// read only with singlePopFile.
bool readHapMapPhased(const std::string& path, const std::string& file1,
                      const std::string& file2, bool singlePopFile, std::vector<int>& samplesizes,
                      HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                      std::vector<std::vector<double>>& snpositions, RsidMap& posToName,
                      int& pref, int* failedFile = nullptr);
