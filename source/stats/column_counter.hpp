// Per-cell counters over many rows of 64-cell words, kept bit-sliced: plane b
// of word w holds bit b of the count of each of its 64 cells, so adding one
// word of a row costs a few word operations instead of one step per cell.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

class ColumnCounter {
 public:
  // Counts of up to maxCount in each of words * 64 cells.
  ColumnCounter(std::size_t words, std::size_t maxCount) : planes_(1) {
    while ((maxCount >> planes_) != 0) ++planes_;
    bits_.assign(words * planes_, 0);
  }

  // Adds 2^from to every cell of word `word` whose bit is set in `cells`.
  void add(std::size_t word, std::uint64_t cells, std::size_t from = 0) {
    std::uint64_t* plane = &bits_[word * planes_];
    for (std::size_t b = from; cells != 0 && b < planes_; ++b) {
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

// Carry-save adder: three words of one-bit cells in, their per-cell sums as
// a low (same weight) and a high (double weight) word out.
inline void carrySave(std::uint64_t& high, std::uint64_t& low, std::uint64_t a, std::uint64_t b,
                      std::uint64_t c) {
  const std::uint64_t u = a ^ b;
  high = (a & b) | (u & c);
  low = u ^ c;
}

// Per cell, the number of rows r < rows whose word wordOf(r, w) has the
// cell's bit set, for `words` words of 64 cells.
//
// Sixteen rows at a time go through a tree of carry-save adders (each cell
// keeps its partial count in the bit-sliced ones, twos, fours and eights);
// only the sixteens reach the counter. Words are taken eight at a time so
// that every row contributes one cache line per group.
template <typename WordOf>
ColumnCounter countColumns(std::size_t rows, std::size_t words, WordOf wordOf) {
  ColumnCounter counter(words, rows);
  constexpr std::size_t group = 8;
  for (std::size_t w0 = 0; w0 < words; w0 += group) {
    const std::size_t wn = std::min(group, words - w0);
    std::uint64_t ones[group] = {}, twos[group] = {}, fours[group] = {}, eights[group] = {};
    std::size_t r = 0;
    for (; r + 16 <= rows; r += 16) {
      for (std::size_t i = 0; i < wn; ++i) {
        const std::size_t w = w0 + i;
        // Eight rows from r8 on: their fours carry into fours[i], giving eights.
        auto eightRows = [&](std::size_t r8) {
          std::uint64_t twosA, twosB, foursA, foursB, eightsOut;
          carrySave(twosA, ones[i], ones[i], wordOf(r8, w), wordOf(r8 + 1, w));
          carrySave(twosB, ones[i], ones[i], wordOf(r8 + 2, w), wordOf(r8 + 3, w));
          carrySave(foursA, twos[i], twos[i], twosA, twosB);
          carrySave(twosA, ones[i], ones[i], wordOf(r8 + 4, w), wordOf(r8 + 5, w));
          carrySave(twosB, ones[i], ones[i], wordOf(r8 + 6, w), wordOf(r8 + 7, w));
          carrySave(foursB, twos[i], twos[i], twosA, twosB);
          carrySave(eightsOut, fours[i], fours[i], foursA, foursB);
          return eightsOut;
        };
        const std::uint64_t eightsA = eightRows(r);
        const std::uint64_t eightsB = eightRows(r + 8);
        std::uint64_t sixteens;
        carrySave(sixteens, eights[i], eights[i], eightsA, eightsB);
        counter.add(w, sixteens, 4);
      }
    }
    for (std::size_t i = 0; i < wn; ++i) {
      const std::size_t w = w0 + i;
      for (std::size_t k = r; k < rows; ++k) counter.add(w, wordOf(k, w));
      counter.add(w, ones[i], 0);
      counter.add(w, twos[i], 1);
      counter.add(w, fours[i], 2);
      counter.add(w, eights[i], 3);
    }
  }
  return counter;
}
