// Reader of two fastPHASE output files, one population each.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

// False when a file cannot be opened or has no genotype section, or when an
// exception was caught; failedFile, when given, then receives the index of
// the file whose read failed (0 for file1, 1 for file2).
bool readFastPhaseFiles(const std::string& path, const std::string& file1,
                        const std::string& file2, std::vector<int>& samplesizes,
                        HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                        std::vector<std::vector<double>>& snpositions, int& pref,
                        bool& useFirstHaplotype, int* failedFile = nullptr);
