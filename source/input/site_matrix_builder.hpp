// A haplotype matrix built one site at a time by the streaming readers.
#pragma once

#include <cstddef>

#include "input/haplotypes.hpp"

// Builds a haplotype matrix one site at a time, when the number of sites is
// not known in advance: rows grow by a word of 64 cells at a time and only
// the cells coded 1 are touched.
class SiteMatrixBuilder {
 public:
  explicit SiteMatrixBuilder(std::size_t rows) : rows_(rows) {}

  // Opens the next site, 0 in every row, and returns its index.
  std::size_t addSite();
  void set(std::size_t row, std::size_t site) { rows_[row].set(site); }
  std::size_t sites() const { return sites_; }

  // The finished matrix, every row sites() cells long.
  HaplotypeMatrix take();

 private:
  HaplotypeMatrix rows_;
  std::size_t sites_ = 0;
};
