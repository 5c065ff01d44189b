#include "stats/linkage.hpp"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <iostream>
#include <string>

#include "input/log.hpp"
#include "input/text.hpp"
#include "stats/column_counter.hpp"
#include "stats/gamma.hpp"

namespace {

// Whether sites k and k + 1 are in linkage disequilibrium: n r2 is tested as a
// chi-square value with one degree of freedom, and D' must reach minDprime.
// A pair outside the sites is not linked; a D' without a number never is.
bool pairLinked(const double& alpha, const int& n, const std::vector<double>& Dprime,
                const std::vector<double>& r2, const double& minDprime, int k) {
  if (k < 0 || k >= static_cast<int>(r2.size())) return false;
  // D' is tested first: most unlinked pairs then need no p-value. (r2 is a
  // finite value of at least 0, so the p-value could not fail either.)
  if (!(Dprime[static_cast<std::size_t>(k)] >= minDprime)) return false;
  const double x = n * r2[static_cast<std::size_t>(k)];
  const double pval = x == 0.0 ? 1.0 : gammq(0.5, x * 0.5);
  return alpha >= pval;
}

}  // namespace

void computeSeqDrsq(const PopReference& popreference, const HaplotypeMatrix& P,
                    const std::vector<int>& samplesizes, const int& p,
                    const std::vector<double>& freq, std::vector<double>& Dprime,
                    std::vector<double>& r2) {
  const std::size_t L = freq.size();
  if (L < 2) valueExit(static_cast<int>(L), "computeSeqDrsq_L.err", 1);
  std::vector<double>(L - 1, 0.0).swap(Dprime);
  std::vector<double>(L - 1, 0.0).swap(r2);

  assert(p >= 0 && p < static_cast<int>(samplesizes.size()));
  long long offset = 0;
  for (int q = 0; q < p; ++q) offset += samplesizes[static_cast<std::size_t>(q)];
  const int n = samplesizes[static_cast<std::size_t>(p)];
  assert(n >= 1 && offset >= 0 && static_cast<std::size_t>(offset) + n <= P.size());
  assert(popreference.size() >= L);

  // Rows that carry the reference allele at both sites of pair i, counted one
  // 64-cell word at a time: a cell matches where ~(row ^ reference) is set,
  // and pair i matches where cells i and i + 1 both do.
  const std::size_t siteWords = (L + 63) / 64;
  const std::size_t pairWords = (L - 1 + 63) / 64;
  const std::vector<std::uint64_t>& ref = popreference.words();
  std::vector<const std::uint64_t*> rows(static_cast<std::size_t>(n));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    assert(P[static_cast<std::size_t>(offset) + r].size() >= L);
    rows[r] = P[static_cast<std::size_t>(offset) + r].words().data();
  }
  const std::uint64_t* refWords = ref.data();
  const ColumnCounter matches =
      countColumns(rows.size(), pairWords, [&](std::size_t r, std::size_t w) {
        const std::uint64_t here = ~(rows[r][w] ^ refWords[w]);
        const std::uint64_t next = w + 1 < siteWords ? ~(rows[r][w + 1] ^ refWords[w + 1]) : 0;
        return here & ((here >> 1) | (next << 63));
      });

  const double nD = static_cast<double>(n);
  for (std::size_t i = 0; i + 1 < L; ++i) {
    const double pAB = matches.count(i) / nD;
    const double p1 = freq[i];
    const double p2 = freq[i + 1];
    const double pA = popreference[i] ? p1 : 1.0 - p1;
    const double pB = popreference[i + 1] ? p2 : 1.0 - p2;
    const double D = pAB - pA * pB;
    // Dmax comes from the allele-1 frequencies whichever alleles D was taken for.
    const double Dmax = D >= 0.0 ? std::min((1.0 - p1) * p2, p1 * (1.0 - p2))
                                 : std::min((1.0 - p1) * (1.0 - p2), p1 * p2);
    const double den = p1 * (1.0 - p1) * p2 * (1.0 - p2);
    if (den > 0.0) {
      r2[i] = D * D / den;
      Dprime[i] = D / Dmax;
    }
  }
}

void computeBlocks(const double& alpha, const std::vector<double>& Dprime,
                   const std::vector<double>& r2, const int& blocksize, const double& minDprime,
                   const std::vector<int>& samplesizes, const int& p,
                   const std::vector<double>& freq, std::vector<Block>& blocks) {
  const int L = static_cast<int>(freq.size());
  // No pair of neighbouring sites: the value written is the number of pairs.
  if (L <= 1) valueExit(0, "computeBlocksError.log", 1);
  // clang-format off
  assert(L - 1 == static_cast<int>(Dprime.size()));
  assert(L - 1 == static_cast<int>(r2.size()));
  // clang-format on
  assert(p >= 0 && p < static_cast<int>(samplesizes.size()));

  int b = blocksize;
  if (b > L - 1) {
    writeValueToFile(L - 1, "Genome size " + toString(L - 1) + " too short for block of size " +
                                toString(b) + " so block is halved.log");
    b = blocksize / 2;
    if (L - 1 < b)
      valueExit(L - 1,
                "Genome size " + toString(L - 1) + " too short for reduced block of size " +
                    toString(b) + ". Exiting the program.log",
                b);
  }

  std::vector<Block>().swap(blocks);
  const int n = samplesizes[static_cast<std::size_t>(p)];
  int start = 0;
  int count = 1;
  for (int i = 0; i <= L - 2; ++i) {
    if (pairLinked(alpha, n, Dprime, r2, minDprime, i)) {
      ++count;
      if (i == L - 2 && L - start >= b) blocks.push_back(Block{p, start, L});
    } else {
      if (count >= b) blocks.push_back(Block{p, start, i + 1});
      start = i + 1;
      count = 1;
    }
  }
}

void computeWinSizesSeq(const double& alpha, const int& L, const std::vector<double>& Dprime,
                        const std::vector<double>& r2, const int& W, const double& minDprime,
                        const std::vector<int>& samplesizes, const int& pop,
                        const int& candidate, int& iniw, int& endw, int& linked,
                        double& meanDprime, double& meanR2) {
  if (L <= 1) valueExit(L, "ShortGenomeComputeWinSizesSeq.log", 1);
  // clang-format off
  assert(L - 1 == static_cast<int>(Dprime.size()));
  assert(L - 1 == static_cast<int>(r2.size()));
  // clang-format on
  assert(pop >= 0 && pop < static_cast<int>(samplesizes.size()));
  const int n = samplesizes[static_cast<std::size_t>(pop)];
  const int half = W / 2;
  linked = 0;

  // Left end: walk over linked pairs towards site 0.
  if (candidate <= 0) {
    iniw = 0;
  } else {
    int k = candidate - 1;
    while (true) {
      if (!pairLinked(alpha, n, Dprime, r2, minDprime, k)) {
        iniw = std::max(0, std::min(k, candidate - half));
        break;
      }
      ++linked;
      --k;
      if (k <= 0) {
        iniw = 0;
        break;
      }
    }
  }

  // Right end: walk over linked pairs towards the last site.
  if (candidate >= L - 1) {
    endw = L;
  } else {
    int k = candidate;
    while (true) {
      if (!pairLinked(alpha, n, Dprime, r2, minDprime, k)) {
        endw = std::min(L, std::max(candidate + half, k + 1));
        break;
      }
      ++linked;
      ++k;
      if (k + 1 >= L) {
        endw = L;
        break;
      }
    }
  }

  if (iniw < 0 || endw > L || iniw >= endw)
    std::cerr << "Bad block in computeWinSizesSeq: "
              << "candidate=" << candidate << " iniw=" << iniw << " endw=" << endw << " L=" << L
              << std::endl;

  meanDprime = 0.0;
  meanR2 = 0.0;
  const int m = endw - 1 - iniw;
  if (m >= 1) {
    for (int k = iniw; k <= endw - 2; ++k) {
      meanDprime += Dprime[static_cast<std::size_t>(k)];
      meanR2 += r2[static_cast<std::size_t>(k)];
    }
    meanDprime /= m;
    meanR2 /= m;
  }
}
