// Allele frequencies and majority (reference) haplotypes of a haplotype matrix.
#pragma once

#include <vector>

#include "input/haplotypes.hpp"

// Frequency of allele 1 at every site within population pop.
void computePopFreqs(const HaplotypeMatrix& P, const int& pop, const std::vector<int>& sizes,
                     std::vector<double>& freqs);

// Frequency of allele 1 at every site over all rows.
void computeGlobalFreqs(const HaplotypeMatrix& P, std::vector<double>& freqs);

// Per population, bit j set when more than half of its rows carry allele 1 at j.
std::vector<PopReference> computePopReferences(const HaplotypeMatrix& P,
                                               const std::vector<int>& sizes);

// Number of set cells at every site of rows [first, first + count), over the
// first L sites.
std::vector<int> countSetCells(const HaplotypeMatrix& P, std::size_t first, std::size_t count,
                               std::size_t L);
