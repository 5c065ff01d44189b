// The two coded populations that a haplotype reader (HapMap, fastPHASE)
// hands to its caller.
#pragma once

#include <vector>

#include "input/haplotypes.hpp"

// Both populations keep the same sites, so they share one list of positions.
struct CodedSample {
  int sizes[2] = {0, 0};
  HaplotypeMatrix rows;
  std::vector<double> freqs[2];
  std::vector<double> positions;
  int reference = 0;

  // Moves the sample into the caller's tables.
  void moveTo(std::vector<int>& samplesizes, HaplotypeMatrix& data,
              std::vector<std::vector<double>>& snpfreqs,
              std::vector<std::vector<double>>& snpositions, int& pref);
};
