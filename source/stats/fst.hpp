// FST of a haplotype sample of several populations, per site and over all sites.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "input/haplotypes.hpp"

// perSnpFst[s].first = FST of site ini + s; fst = FST over the sites of the range.
// Errors end the process after an error file ("FSTdT_Error1.log" to
// "FSTdT_Error4.log", "Theta_Pi_Error.log", "ThetaPia_Error.log"); sample sizes
// that name rows the matrix does not hold write its row count to
// "FSTdT_Error5.log" (status 1), and any row of another length than row 0
// counts as a first row of another length ("FSTdT_Error2.log").
void computeFst(const HaplotypeMatrix& P, const std::vector<int>& sizes, std::size_t ini,
                std::size_t end, std::vector<std::pair<double, double>>& perSnpFst, double& fst);
