// Small haplotype matrices for the statistics tests, written as text rows.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

// One row per string; '1' is a set cell, any other character a clear one.
inline HaplotypeMatrix matrixFromRows(const std::vector<std::string>& rows) {
  HaplotypeMatrix P;
  for (const std::string& text : rows) {
    BitRow row(text.size());
    for (std::size_t j = 0; j < text.size(); ++j)
      if (text[j] == '1') row.set(j);
    P.push_back(row);
  }
  return P;
}
