// Reader of Genepop files (diploid genotypes written as digit pairs).
#pragma once

#include <string>
#include <vector>

#include "input/allele_counts.hpp"

bool readGenepop(const std::string& path, const std::string& file, std::vector<int>& samplesizes,
                 AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                 AlleleIdTable& alleleids, bool unused, std::vector<std::string>& locnames);
