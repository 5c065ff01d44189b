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

// A row written back as text, '1' for a set cell and '0' for a clear one.
inline std::string rowText(const BitRow& row) {
  std::string text;
  for (std::size_t j = 0; j < row.size(); ++j) text += row[j] ? '1' : '0';
  return text;
}
