// Growth of the site matrix by words of 64 sites, and its tight hand-over.
#include "input/site_matrix_builder.hpp"

#include <utility>

std::size_t SiteMatrixBuilder::addSite() {
  if ((sites_ & 63) == 0)
    for (BitRow& row : rows_) row.resize(sites_ + 64);
  return sites_++;
}

HaplotypeMatrix SiteMatrixBuilder::take() {
  for (BitRow& row : rows_) {
    row.resize(sites_);
    // A copy holds no spare capacity from the growth by words.
    BitRow tight(row);
    row = std::move(tight);
  }
  sites_ = 0;
  return std::move(rows_);
}
