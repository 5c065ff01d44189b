#include "input/haplotypes.hpp"

#include <algorithm>

#include "input/text.hpp"

void BitRow::push_back(bool value) {
  if ((size_ & 63) == 0) words_.push_back(0);
  ++size_;
  if (value) set(size_ - 1);
}

void BitRow::resize(std::size_t n) {
  words_.resize((n + 63) / 64, 0);
  if (n < size_ && (n & 63) != 0) words_.back() &= (std::uint64_t{1} << (n & 63)) - 1;
  size_ = n;
}

std::size_t BitRow::count() const {
  std::size_t total = 0;
  for (std::uint64_t w : words_) total += static_cast<std::size_t>(__builtin_popcountll(w));
  return total;
}

std::size_t BitRow::countDifferences(const BitRow& other, std::size_t ini, std::size_t end) const {
  if (end <= ini) return 0;
  std::size_t total = 0;
  const std::size_t firstWord = ini >> 6;
  const std::size_t lastWord = (end - 1) >> 6;
  for (std::size_t w = firstWord; w <= lastWord; ++w) {
    std::uint64_t diff = words_[w] ^ other.words_[w];
    if (w == firstWord) diff &= ~std::uint64_t{0} << (ini & 63);
    if (w == lastWord && (end & 63) != 0) diff &= (std::uint64_t{1} << (end & 63)) - 1;
    total += static_cast<std::size_t>(__builtin_popcountll(diff));
  }
  return total;
}

BitRow BitRow::select(const std::vector<std::size_t>& kept) const {
  BitRow out(kept.size());
  for (std::size_t k = 0; k < kept.size(); ++k)
    if ((*this)[kept[k]]) out.set(k);
  return out;
}

void eraseIndices(BitRow& row, const std::vector<int>& indices) {
  if (indices.empty()) return;
  const bool ascending = std::is_sorted(indices.begin(), indices.end()) &&
                         std::adjacent_find(indices.begin(), indices.end()) == indices.end();
  std::vector<std::size_t> kept;
  kept.reserve(row.size());
  if (ascending) {
    // Erasing from the last index to the first leaves the earlier ones in place,
    // so the row is the cells whose index is not listed.
    auto next = indices.begin();
    for (std::size_t j = 0; j < row.size(); ++j) {
      while (next != indices.end() && *next < static_cast<long long>(j)) ++next;
      if (next != indices.end() && *next == static_cast<long long>(j)) continue;
      kept.push_back(j);
    }
  } else {
    // Any other list: erase one index at a time, as the list says.
    for (std::size_t j = 0; j < row.size(); ++j) kept.push_back(j);
    eraseIndices(kept, indices);
  }
  if (kept.size() != row.size()) row = row.select(kept);
}
