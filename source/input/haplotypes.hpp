// The haplotype matrix and the other sample types that the readers fill and
// the analysis reads.
//
// A haplotype row is a packed bit vector: one bit per site, set for the coded
// allele. Rows of population 0 come first, then those of population 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class BitRow {
 public:
  BitRow() = default;
  explicit BitRow(std::size_t n) : words_((n + 63) / 64, 0), size_(n) {}

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  bool operator[](std::size_t j) const { return (words_[j >> 6] >> (j & 63)) & 1u; }
  void set(std::size_t j) { words_[j >> 6] |= std::uint64_t{1} << (j & 63); }
  void reset(std::size_t j) { words_[j >> 6] &= ~(std::uint64_t{1} << (j & 63)); }
  void assign(std::size_t j, bool value) {
    if (value)
      set(j);
    else
      reset(j);
  }

  // Sets the 64 cells of word w (cell 64 w + i from bit i); bits past size()
  // are dropped.
  void setWord(std::size_t w, std::uint64_t bits) {
    if (w + 1 == words_.size() && (size_ & 63) != 0) bits &= (std::uint64_t{1} << (size_ & 63)) - 1;
    words_[w] = bits;
  }

  void push_back(bool value);
  // New cells are 0.
  void resize(std::size_t n);
  void clear() {
    words_.clear();
    size_ = 0;
  }

  // Words of 64 cells, cell j in bit (j % 64) of word j / 64; the bits past
  // size() are always 0.
  const std::vector<std::uint64_t>& words() const { return words_; }

  // Number of set cells.
  std::size_t count() const;
  // Number of cells in [ini, end) that differ from other's.
  std::size_t countDifferences(const BitRow& other, std::size_t ini, std::size_t end) const;
  // A row made of the cells at the given ascending indices, in order.
  BitRow select(const std::vector<std::size_t>& kept) const;

  // Calls f(j) for every set cell j, in ascending order.
  template <typename F>
  void forEachSetBit(F f) const {
    for (std::size_t w = 0; w < words_.size(); ++w) {
      std::uint64_t bits = words_[w];
      while (bits) {
        f(w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits)));
        bits &= bits - 1;
      }
    }
  }

  bool operator==(const BitRow& other) const {
    return size_ == other.size_ && words_ == other.words_;
  }
  bool operator!=(const BitRow& other) const { return !(*this == other); }

 private:
  friend class CellSelection;
  std::vector<std::uint64_t> words_;
  std::size_t size_ = 0;
};

// Number of set bits of n words.
std::size_t countSetBits(const std::uint64_t* words, std::size_t n);

// A selection of cells (ascending indices into rows of one length), prepared
// once and applied to many rows: each source word gives its kept cells at
// once, so a row costs a few operations per word instead of one per cell.
class CellSelection {
 public:
  CellSelection(const std::vector<std::size_t>& kept, std::size_t rowSize);
  std::size_t size() const { return size_; }
  // The row made of the cells of `row` (rowSize cells) at the kept indices.
  BitRow apply(const BitRow& row) const;

 private:
  struct Word {
    std::size_t source;   // word index in the source row
    std::uint64_t mask;   // its kept cells
    std::size_t target;   // cell index in the new row of its first kept cell
  };
  std::vector<Word> words_;
  std::size_t size_ = 0;
  std::size_t rowSize_ = 0;
};

// Erases the cells at the listed indices (walked from the last entry to the
// first; indices outside the row are skipped).
void eraseIndices(BitRow& row, const std::vector<int>& indices);

// One row per haplotype, every row of one matrix the same length.
using HaplotypeMatrix = std::vector<BitRow>;

// Per-site majority haplotype of a population, one bit per site.
using PopReference = BitRow;

// Position to SNP name, from HapMap input.
using RsidMap = std::map<double, std::string>;
