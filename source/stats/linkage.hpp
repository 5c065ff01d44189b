// Linkage disequilibrium between neighbouring sites, haplotype blocks and the
// LD window around a candidate site.
#pragma once

#include <cstdint>
#include <vector>

#include "input/haplotypes.hpp"

// A haplotype block, or the window of a candidate: sites [start, end) of the
// pooled sample, found from the LD of population pop.
struct Block {
  std::int32_t pop = 0;
  std::int32_t start = 0;
  std::int32_t end = 0;
};

// D' and r2 of every pair of neighbouring sites (i, i + 1) of population p, L =
// freq.size() sites. Population p must have rows inside P, and they and the
// reference must hold at least L cells (asserted).
void computeSeqDrsq(const PopReference& popreference, const HaplotypeMatrix& P,
                    const std::vector<int>& samplesizes, const int& p,
                    const std::vector<double>& freq, std::vector<double>& Dprime,
                    std::vector<double>& r2);

// Maximal runs of linked neighbouring sites holding at least blocksize sites.
void computeBlocks(const double& alpha, const std::vector<double>& Dprime,
                   const std::vector<double>& r2, const int& blocksize, const double& minDprime,
                   const std::vector<int>& samplesizes, const int& p,
                   const std::vector<double>& freq, std::vector<Block>& blocks);

// The window [iniw, endw) of linked sites around candidate, at least W wide
// where the genome allows; linked = linked pairs crossed; the means of D' and
// r2 over the pairs inside the window. A pair that lies outside the sites (for
// a candidate at or past L) counts as not linked.
void computeWinSizesSeq(const double& alpha, const int& L, const std::vector<double>& Dprime,
                        const std::vector<double>& r2, const int& W, const double& minDprime,
                        const std::vector<int>& samplesizes, const int& pop,
                        const int& candidate, int& iniw, int& endw, int& linked,
                        double& meanDprime, double& meanR2);
