// Reader of phased HapMap tables: one file split in halves, or one file per population.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

bool readHapMapPhased(const std::string& path, const std::string& file1,
                      const std::string& file2, bool singlePopFile, std::vector<int>& samplesizes,
                      HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                      std::vector<std::vector<double>>& snpositions, RsidMap& posToName,
                      int& pref);
