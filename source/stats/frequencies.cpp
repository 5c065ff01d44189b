#include "stats/frequencies.hpp"

#include <algorithm>

#include "stats/column_counter.hpp"

std::vector<int> countSetCells(const HaplotypeMatrix& P, std::size_t first, std::size_t count,
                               std::size_t L) {
  const std::size_t words = (L + 63) / 64;
  const std::size_t last = std::min(first + count, P.size());
  const std::size_t rows = last > first ? last - first : 0;
  // Row words, 0 past the end of a shorter row.
  std::vector<const std::uint64_t*> data(rows);
  std::vector<std::size_t> length(rows);
  for (std::size_t r = 0; r < rows; ++r) {
    data[r] = P[first + r].words().data();
    length[r] = P[first + r].words().size();
  }
  const ColumnCounter counter = countColumns(
      rows, words, [&](std::size_t r, std::size_t w) { return w < length[r] ? data[r][w] : 0; });
  // Cells past L (in the last word, or of longer rows) are not reported.
  return counter.counts(L);
}

void computePopFreqs(const HaplotypeMatrix& P, const int& pop, const std::vector<int>& sizes,
                     std::vector<double>& freqs) {
  std::size_t offset = 0;
  for (int p = 0; p < pop; ++p) offset += static_cast<std::size_t>(sizes[p]);
  const int n = sizes[pop];
  const std::size_t L = offset < P.size() ? P[offset].size() : 0;
  freqs.assign(L, 0.0);
  if (n >= 1 && L >= 1) {
    const std::vector<int> counts = countSetCells(P, offset, static_cast<std::size_t>(n), L);
    for (std::size_t j = 0; j < L; ++j) freqs[j] = counts[j];
  }
  for (double& f : freqs) f /= static_cast<double>(n);
}

void computeGlobalFreqs(const HaplotypeMatrix& P, std::vector<double>& freqs) {
  const std::size_t L = P.empty() ? 0 : P[0].size();
  const std::size_t R = P.size();
  freqs.assign(L, 0.0);
  if (R >= 1 && L >= 1) {
    const std::vector<int> counts = countSetCells(P, 0, R, L);
    for (std::size_t j = 0; j < L; ++j) freqs[j] = counts[j];
  }
  for (double& f : freqs) f /= static_cast<double>(R);
}

std::vector<PopReference> computePopReferences(const HaplotypeMatrix& P,
                                               const std::vector<int>& sizes) {
  const std::size_t L = P.empty() ? 0 : P[0].size();
  std::vector<PopReference> refs(sizes.size(), PopReference(L));
  if (L == 0) return refs;
  std::size_t offset = 0;
  for (std::size_t p = 0; p < sizes.size(); ++p) {
    const int n = sizes[p];
    if (n >= 1) {
      const int half = n / 2;
      const std::vector<int> counts = countSetCells(P, offset, static_cast<std::size_t>(n), L);
      for (std::size_t j = 0; j < L; ++j)
        if (counts[j] > half) refs[p].set(j);
    }
    offset += static_cast<std::size_t>(n > 0 ? n : 0);
  }
  return refs;
}
