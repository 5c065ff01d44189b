// FST of a haplotype sample of several populations, per site and over all sites.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "input/haplotypes.hpp"

// perSnpFst[s].first = FST of site ini + s; fst = FST over the sites of the range.
void computeFst(const HaplotypeMatrix& P, const std::vector<int>& sizes, std::size_t ini,
                std::size_t end, std::vector<std::pair<double, double>>& perSnpFst, double& fst);
