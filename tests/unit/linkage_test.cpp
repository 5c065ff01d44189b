#include "stats/linkage.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "stats/frequencies.hpp"
#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {

// D' and r2 from the two-site table of allele 1, one step per cell. D for
// the reference alleles is D of allele 1 at both sites, with its sign turned
// when the two reference alleles differ.
void naiveDrsq(const PopReference& ref, const HaplotypeMatrix& P, std::size_t offset,
               std::size_t n, const std::vector<double>& freq, std::vector<double>& Dprime,
               std::vector<double>& r2) {
  const std::size_t L = freq.size();
  Dprime.assign(L - 1, 0.0);
  r2.assign(L - 1, 0.0);
  for (std::size_t i = 0; i + 1 < L; ++i) {
    const double p1 = freq[i];
    const double p2 = freq[i + 1];
    if (p1 <= 0.0 || p1 >= 1.0 || p2 <= 0.0 || p2 >= 1.0) continue;
    int both = 0;
    for (std::size_t r = offset; r < offset + n; ++r) both += P[r][i] && P[r][i + 1];
    const double D11 = both / static_cast<double>(n) - p1 * p2;
    const double D = ref[i] == ref[i + 1] ? D11 : -D11;
    const double Dmax = D < 0.0 ? std::min(p1 * p2, (1.0 - p1) * (1.0 - p2))
                                : std::min(p1 * (1.0 - p2), p2 * (1.0 - p1));
    r2[i] = D11 * D11 / (p1 * (1.0 - p1) * p2 * (1.0 - p2));
    Dprime[i] = D / Dmax;
  }
}

// LD vectors for a pattern of pairs: 'L' linked (r2 = D' = 1), anything else
// unlinked (r2 = 0).
struct Pairs {
  std::vector<double> Dprime;
  std::vector<double> r2;
};
Pairs pairsFrom(const std::string& pattern) {
  Pairs out;
  for (char c : pattern) {
    out.Dprime.push_back(c == 'L' ? 1.0 : 0.2);
    out.r2.push_back(c == 'L' ? 1.0 : 0.0);
  }
  return out;
}

const std::vector<int> sizes = {20, 20};
const double alpha = 0.05;
const double minDprime = 0.4;

std::vector<Block> blocksOf(const Pairs& pairs, int blocksize, int p = 0, double level = alpha) {
  const std::vector<double> freq(pairs.r2.size() + 1, 0.5);
  std::vector<Block> blocks(2);  // earlier content is dropped
  computeBlocks(level, pairs.Dprime, pairs.r2, blocksize, minDprime, sizes, p, freq, blocks);
  return blocks;
}
std::vector<Block> blocksOf(const std::string& pattern, int blocksize, int p = 0) {
  return blocksOf(pairsFrom(pattern), blocksize, p);
}

std::string text(const std::vector<Block>& blocks) {
  std::string out;
  for (const Block& b : blocks)
    out += "{" + std::to_string(b.pop) + "," + std::to_string(b.start) + "," +
           std::to_string(b.end) + "}";
  return out;
}

struct Window {
  int iniw = -7, endw = -7, linked = -7;
  double meanDprime = -7.0, meanR2 = -7.0;
};
Window windowOf(const Pairs& pairs, int W, int candidate) {
  Window w;
  const int L = static_cast<int>(pairs.r2.size()) + 1;
  computeWinSizesSeq(alpha, L, pairs.Dprime, pairs.r2, W, minDprime, sizes, 1, candidate, w.iniw,
                     w.endw, w.linked, w.meanDprime, w.meanR2);
  return w;
}

// "iniw endw linked" of a window.
std::string range(const Window& w) {
  return std::to_string(w.iniw) + " " + std::to_string(w.endw) + " " + std::to_string(w.linked);
}

class Linkage : public TempDirTest {};

}  // namespace

TEST_F(Linkage, WordwiseCountsMatchCellByCell) {
  std::mt19937_64 rng(31);
  for (std::size_t L : {2u, 3u, 63u, 64u, 65u, 128u, 129u, 300u}) {
    const std::vector<int> samples = {13, 70};
    HaplotypeMatrix P(83, BitRow(L));
    for (BitRow& row : P)
      for (std::size_t j = 0; j < L; ++j)
        if (rng() % 5 < (j % 3 == 0 ? 1u : 3u)) row.set(j);
    const std::vector<PopReference> refs = computePopReferences(P, samples);
    for (int p = 0; p < 2; ++p) {
      std::vector<double> freq;
      computePopFreqs(P, p, samples, freq);
      // The majority haplotype, and one that disagrees with it at random sites.
      PopReference other = refs[static_cast<std::size_t>(p)];
      for (std::size_t j = 0; j < L; ++j)
        if (rng() % 2) other.assign(j, !other[j]);
      for (const PopReference& ref : {refs[static_cast<std::size_t>(p)], other}) {
        std::vector<double> Dprime = {9.0};
        std::vector<double> r2;
        computeSeqDrsq(ref, P, samples, p, freq, Dprime, r2);
        std::vector<double> expectedD;
        std::vector<double> expectedR2;
        naiveDrsq(ref, P, p == 0 ? 0 : 13, static_cast<std::size_t>(samples[p]), freq, expectedD,
                  expectedR2);
        ASSERT_EQ(Dprime.size(), L - 1);
        ASSERT_EQ(r2.size(), L - 1);
        for (std::size_t i = 0; i + 1 < L; ++i) {
          EXPECT_NEAR(Dprime[i], expectedD[i], 1e-12) << L << " " << p << " " << i;
          EXPECT_NEAR(r2[i], expectedR2[i], 1e-12) << L << " " << p << " " << i;
        }
      }
    }
  }
}

TEST_F(Linkage, DprimeAndR2OfSmallSamples) {
  // Sites 0-1 in complete positive association, 2-3 negative, 4 fixed.
  const HaplotypeMatrix P = matrixFromRows({"11100", "11100", "00010", "00010"});
  const std::vector<int> samples = {4};
  std::vector<double> freq;
  computePopFreqs(P, 0, samples, freq);
  const PopReference ref = computePopReferences(P, samples)[0];
  std::vector<double> Dprime;
  std::vector<double> r2;
  computeSeqDrsq(ref, P, samples, 0, freq, Dprime, r2);
  EXPECT_EQ(Dprime, (std::vector<double>{1.0, 1.0, -1.0, 0.0}));
  EXPECT_EQ(r2, (std::vector<double>{1.0, 1.0, 1.0, 0.0}));

  // Reference alleles 1 and 0 at frequencies 0.9 and 0.1: D = 0.09 against a
  // Dmax of 0.01 taken from the allele-1 frequencies, so D' = 9.
  std::vector<std::string> rows(9, "10");
  rows.push_back("01");
  const HaplotypeMatrix Q = matrixFromRows(rows);
  computePopFreqs(Q, 0, {10}, freq);
  computeSeqDrsq(computePopReferences(Q, {10})[0], Q, {10}, 0, freq, Dprime, r2);
  EXPECT_NEAR(Dprime[0], 9.0, 1e-12);
}

TEST_F(Linkage, TooFewSites) {
  const HaplotypeMatrix P = matrixFromRows({"1", "0"});
  std::vector<double> Dprime;
  std::vector<double> r2;
  EXPECT_FATAL_STATUS(computeSeqDrsq(P[0], P, {2}, 0, {0.5}, Dprime, r2), 1);
  EXPECT_EQ(readFile("computeSeqDrsq_L.err"), "1\n");
  EXPECT_FATAL_STATUS(computeSeqDrsq(P[0], P, {2}, 0, {}, Dprime, r2), 1);
  EXPECT_EQ(readFile("computeSeqDrsq_L.err"), "0\n");

  std::vector<Block> blocks;
  EXPECT_FATAL_STATUS(computeBlocks(alpha, {}, {}, 2, minDprime, sizes, 0, {0.5}, blocks), 1);
  EXPECT_EQ(readFile("computeBlocksError.log"), "0\n");

  Window w;
  EXPECT_FATAL_STATUS(computeWinSizesSeq(alpha, 1, {}, {}, 4, minDprime, sizes, 0, 0, w.iniw,
                                         w.endw, w.linked, w.meanDprime, w.meanR2),
                      1);
  EXPECT_EQ(readFile("ShortGenomeComputeWinSizesSeq.log"), "1\n");
}

TEST_F(Linkage, Blocks) {
  EXPECT_EQ(text(blocksOf("L", 2, 1)), "{1,0,2}");
  EXPECT_EQ(text(blocksOf("UU", 2)), "");
  // Runs of sites 0-2, 3-6, 7 and 8-9; the last one closed by the last pair.
  EXPECT_EQ(text(blocksOf("LLULLLUUL", 3)), "{0,0,3}{0,3,7}");
  EXPECT_EQ(text(blocksOf("LLULLLUUL", 2)), "{0,0,3}{0,3,7}{0,8,10}");
  EXPECT_EQ(text(blocksOf("LLULLLUUL", 1)), "{0,0,3}{0,3,7}{0,7,8}{0,8,10}");
  // With size 1 an unlinked pair closes a one-site block; the last site never
  // forms one of its own.
  EXPECT_EQ(text(blocksOf("UU", 1)), "{0,0,1}{0,1,2}");
  EXPECT_EQ(text(blocksOf("LLLL", 5)), "{0,0,5}");
  EXPECT_EQ(text(blocksOf("LLLL", 4)), "{0,0,5}");

  // Unlinked: a D' without a number (pair 0), p = 0.083 above alpha (pair 1:
  // n r2 = 20 * 0.15 = 3), a D' below minDprime (pair 2).
  Pairs pairs = pairsFrom("LLL");
  pairs.Dprime[0] = std::numeric_limits<double>::quiet_NaN();
  pairs.r2[1] = 0.15;
  pairs.Dprime[2] = 0.39;
  EXPECT_EQ(text(blocksOf(pairs, 2)), "");
  EXPECT_EQ(text(blocksOf(pairs, 2, 0, 0.1)), "{0,1,3}");

  pairs.r2[1] = -0.5;
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(blocksOf(pairs, 2), 11);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "x: -5 a: 0.5\n");
}

TEST_F(Linkage, BlockSizeLongerThanTheSites) {
  // Seven sites: size 10 is halved to 5 and the search goes on.
  EXPECT_EQ(text(blocksOf("LLLLLU", 10)), "{0,0,6}");
  EXPECT_EQ(readFile("Genome size 6 too short for block of size 10 so block is halved.log"), "6\n");

  EXPECT_FATAL_STATUS(blocksOf("LLLLLU", 20), 10);
  EXPECT_EQ(readFile("Genome size 6 too short for block of size 20 so block is halved.log"), "6\n");
  EXPECT_EQ(readFile("Genome size 6 too short for reduced block of size 10. Exiting the program.log"),
            "6\n");
  // A halved size past the status range ends with 255.
  EXPECT_FATAL_STATUS(blocksOf("LLLLLU", 1000), 255);
}

TEST_F(Linkage, WindowWalks) {
  // Candidate 5, W = 10: pair 4 unlinked, pairs 5 and 6 linked, pair 7 unlinked.
  std::string pattern(99, 'U');
  pattern[5] = pattern[6] = 'L';
  EXPECT_EQ(range(windowOf(pairsFrom(pattern), 10, 5)), "0 10 2");

  // Candidate 50, W = 4: pairs 47-49 and 50-51 linked, 46 and 52 not.
  pattern.assign(99, 'U');
  for (int k : {47, 48, 49, 50, 51}) pattern[static_cast<std::size_t>(k)] = 'L';
  Window w = windowOf(pairsFrom(pattern), 4, 50);
  EXPECT_EQ(range(w), "46 53 5");
  EXPECT_DOUBLE_EQ(w.meanDprime, (0.2 + 5.0) / 6.0);
  EXPECT_DOUBLE_EQ(w.meanR2, 5.0 / 6.0);

  // No linked pair: W sites for an even W, W - 1 for an odd W; with W = 1 the
  // left site of the unlinked pair still opens the window.
  pattern.assign(99, 'U');
  EXPECT_EQ(range(windowOf(pairsFrom(pattern), 10, 50)), "45 55 0");
  EXPECT_EQ(range(windowOf(pairsFrom(pattern), 11, 50)), "45 55 0");
  w = windowOf(pairsFrom(pattern), 1, 50);
  EXPECT_EQ(range(w), "49 51 0");
  EXPECT_DOUBLE_EQ(w.meanDprime, 0.2);
  EXPECT_EQ(w.meanR2, 0.0);

  // The left walk ends at site 0 without testing pair 0.
  EXPECT_EQ(range(windowOf(pairsFrom("ULLUUU"), 2, 3)), "0 4 2");

  // The ends of the genome, and a genome linked throughout.
  w = windowOf(pairsFrom("ULLU"), 2, 0);
  EXPECT_EQ(range(w), "0 1 0");
  EXPECT_EQ(w.meanDprime, 0.0);  // one site: no pair inside
  EXPECT_EQ(w.meanR2, 0.0);
  EXPECT_EQ(range(windowOf(pairsFrom("ULLU"), 2, 4)), "3 5 0");
  w = windowOf(pairsFrom("LLLL"), 2, 2);
  EXPECT_EQ(range(w), "0 5 3");  // pair 0 is not tested
  EXPECT_DOUBLE_EQ(w.meanDprime, 1.0);
}

TEST_F(Linkage, WindowOfACandidatePastTheSitesIsReported) {
  testing::internal::CaptureStderr();
  const Window w = windowOf(pairsFrom("LLLL"), 2, 7);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Bad block in computeWinSizesSeq: candidate=7 iniw=6 endw=5 L=5\n");
  EXPECT_EQ(range(w), "6 5 0");
  EXPECT_EQ(w.meanDprime, 0.0);
  EXPECT_EQ(w.meanR2, 0.0);
}

TEST_F(Linkage, WindowVectorsMustFitTheSites) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Pairs pairs = pairsFrom("LLL");
  Window w;
  EXPECT_DEATH(computeWinSizesSeq(alpha, 5, pairs.Dprime, pairs.r2, 2, minDprime, sizes, 0, 1,
                                  w.iniw, w.endw, w.linked, w.meanDprime, w.meanR2),
               "L - 1 == static_cast<int>\\(Dprime.size\\(\\)\\)");
  EXPECT_DEATH(computeWinSizesSeq(alpha, 4, pairs.Dprime, {1.0}, 2, minDprime, sizes, 0, 1,
                                  w.iniw, w.endw, w.linked, w.meanDprime, w.meanR2),
               "L - 1 == static_cast<int>\\(r2.size\\(\\)\\)");
}
