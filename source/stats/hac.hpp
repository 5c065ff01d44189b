// HAC values: per haplotype, the number of window sites (the candidate left
// out) at which it differs from a reference haplotype.
#pragma once

#include <vector>

#include "input/haplotypes.hpp"

void computePopHacs(const int& iniSample, const int& endSample, const int& snp,
                    const HaplotypeMatrix& P, const PopReference& popreference, const int& ini,
                    const int& ends, std::vector<double>& hacs);
