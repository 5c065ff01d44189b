// Per-cell counters over many rows of 64-cell words, kept bit-sliced: plane b
// of word w holds bit b of the count of each of its 64 cells, so adding one
// word of a row costs a few word operations instead of one step per cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ColumnCounter {
 public:
  // Counts of up to maxCount in each of words * 64 cells.
  ColumnCounter(std::size_t words, std::size_t maxCount) : planes_(1) {
    while ((maxCount >> planes_) != 0) ++planes_;
    bits_.assign(words * planes_, 0);
  }

  // Adds 1 to every cell of word `word` whose bit is set in `cells`.
  void add(std::size_t word, std::uint64_t cells) {
    std::uint64_t* plane = &bits_[word * planes_];
    for (std::size_t b = 0; cells != 0 && b < planes_; ++b) {
      const std::uint64_t carry = plane[b] & cells;
      plane[b] ^= cells;
      cells = carry;
    }
  }

  int count(std::size_t cell) const {
    const std::uint64_t* plane = &bits_[(cell >> 6) * planes_];
    const unsigned bit = static_cast<unsigned>(cell & 63);
    int total = 0;
    for (std::size_t b = 0; b < planes_; ++b)
      total |= static_cast<int>((plane[b] >> bit) & 1u) << b;
    return total;
  }

  // The counts of the first n cells.
  std::vector<int> counts(std::size_t n) const {
    std::vector<int> out(n, 0);
    for (std::size_t w = 0; w * 64 < n; ++w) {
      const std::uint64_t* plane = &bits_[w * planes_];
      for (std::size_t b = 0; b < planes_; ++b)
        for (std::uint64_t bits = plane[b]; bits != 0; bits &= bits - 1) {
          const std::size_t cell = w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
          if (cell < n) out[cell] += 1 << b;
        }
    }
    return out;
  }

 private:
  std::size_t planes_;
  std::vector<std::uint64_t> bits_;
};
