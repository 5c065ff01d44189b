// Reader of two fastPHASE output files, one population each.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

bool readFastPhaseFiles(const std::string& path, const std::string& file1,
                        const std::string& file2, std::vector<int>& samplesizes,
                        HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                        std::vector<std::vector<double>>& snpositions, int& pref,
                        bool& useFirstHaplotype);
