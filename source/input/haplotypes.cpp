#include "input/haplotypes.hpp"

#include <algorithm>
#include <cassert>

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

namespace {

// Set bits of a[w] ^ b[w] (of a[w] alone when b is null) over n words, the
// first word masked by firstMask and the last by lastMask. Compiled twice:
// with the processor's population-count instruction where it has one (the
// build targets processors that may lack it, and the portable count is a
// library call per word), and without.
__attribute__((always_inline)) inline std::size_t countWordBitsBody(
    const std::uint64_t* a, const std::uint64_t* b, std::size_t n, std::uint64_t firstMask,
    std::uint64_t lastMask) {
  std::size_t total = 0;
  for (std::size_t w = 0; w < n; ++w) {
    std::uint64_t x = b ? a[w] ^ b[w] : a[w];
    if (w == 0) x &= firstMask;
    if (w + 1 == n) x &= lastMask;
    total += static_cast<std::size_t>(__builtin_popcountll(x));
  }
  return total;
}

std::size_t countWordBitsPortable(const std::uint64_t* a, const std::uint64_t* b, std::size_t n,
                                  std::uint64_t firstMask, std::uint64_t lastMask) {
  return countWordBitsBody(a, b, n, firstMask, lastMask);
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("popcnt"))) std::size_t countWordBitsPopcnt(
    const std::uint64_t* a, const std::uint64_t* b, std::size_t n, std::uint64_t firstMask,
    std::uint64_t lastMask) {
  return countWordBitsBody(a, b, n, firstMask, lastMask);
}
const bool havePopcnt = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("popcnt") != 0;
}();
#endif

std::size_t countWordBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t n,
                          std::uint64_t firstMask, std::uint64_t lastMask) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (havePopcnt) return countWordBitsPopcnt(a, b, n, firstMask, lastMask);
#endif
  return countWordBitsPortable(a, b, n, firstMask, lastMask);
}

}  // namespace

std::size_t countSetBits(const std::uint64_t* words, std::size_t n) {
  return countWordBits(words, nullptr, n, ~std::uint64_t{0}, ~std::uint64_t{0});
}

std::size_t BitRow::count() const { return countSetBits(words_.data(), words_.size()); }

std::size_t BitRow::countDifferences(const BitRow& other, std::size_t ini, std::size_t end) const {
  if (end <= ini) return 0;
  const std::size_t firstWord = ini >> 6;
  const std::size_t lastWord = (end - 1) >> 6;
  const std::uint64_t firstMask = ~std::uint64_t{0} << (ini & 63);
  const std::uint64_t lastMask =
      (end & 63) != 0 ? (std::uint64_t{1} << (end & 63)) - 1 : ~std::uint64_t{0};
  return countWordBits(words_.data() + firstWord, other.words_.data() + firstWord,
                       lastWord - firstWord + 1, firstMask, lastMask);
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

namespace {

// The bits of x where mask is set, packed towards bit 0 in their order.
std::uint64_t extractBitsPortable(std::uint64_t x, std::uint64_t mask) {
  std::uint64_t out = 0;
  unsigned k = 0;
  for (; mask != 0; mask &= mask - 1, ++k) out |= ((x >> __builtin_ctzll(mask)) & 1u) << k;
  return out;
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("bmi2"))) std::uint64_t extractBitsBmi2(std::uint64_t x, std::uint64_t mask) {
  return __builtin_ia32_pext_di(x, mask);
}
// The processor's bit-extract instruction where it has one.
const bool haveBmi2 = [] {
  __builtin_cpu_init();  // static initialisers may run before the runtime's own
  return __builtin_cpu_supports("bmi2") != 0;
}();
#endif

}  // namespace

CellSelection::CellSelection(const std::vector<std::size_t>& kept, std::size_t rowSize)
    : size_(kept.size()), rowSize_(rowSize) {
  std::size_t k = 0;
  while (k < kept.size()) {
    assert(kept[k] < rowSize && (k == 0 || kept[k - 1] < kept[k]));
    const std::size_t w = kept[k] >> 6;
    Word word{w, 0, k};
    for (; k < kept.size() && (kept[k] >> 6) == w; ++k) word.mask |= std::uint64_t{1} << (kept[k] & 63);
    words_.push_back(word);
  }
}

BitRow CellSelection::apply(const BitRow& row) const {
  assert(row.size() == rowSize_);
  BitRow out;
  out.size_ = size_;
  if (size_ == 0) return out;
  // Each source word's kept cells land in at most two target words (one
  // spare word at the end takes the empty high part of the last one).
  std::vector<std::uint64_t>& bits = out.words_;
  bits.assign((size_ + 63) / 64 + 1, 0);
  const std::vector<std::uint64_t>& source = row.words();
  auto place = [&bits](const Word& w, std::uint64_t packed) {
    const unsigned shift = static_cast<unsigned>(w.target & 63);
    bits[w.target >> 6] |= packed << shift;
    if (shift != 0) bits[(w.target >> 6) + 1] |= packed >> (64 - shift);
  };
#if defined(__x86_64__) && defined(__GNUC__)
  if (haveBmi2) {
    for (const Word& w : words_) place(w, extractBitsBmi2(source[w.source], w.mask));
  } else
#endif
  {
    for (const Word& w : words_) place(w, extractBitsPortable(source[w.source], w.mask));
  }
  bits.pop_back();
  return out;
}
