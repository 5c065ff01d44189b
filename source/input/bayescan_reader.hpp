// Reader of BayeScan allele-count files.
#pragma once

#include <string>
#include <vector>

#include "input/allele_counts.hpp"

bool readBayeScan(const std::string& path, const std::string& file, int& npops,
                  AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts,
                  bool diploid, std::vector<std::string>& locnames);
