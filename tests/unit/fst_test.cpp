#include "stats/fst.hpp"

#include <random>
#include <string>

#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {

struct Range {
  std::size_t first;
  std::size_t count;
};

// FST by comparing every pair of rows, the way the diversities are defined.
void naiveFst(const HaplotypeMatrix& P, const std::vector<int>& sizes,
              const std::vector<Range>& ranges, std::size_t L, std::vector<double>& perSite,
              double& fst) {
  const std::size_t npop = sizes.size();
  double sumHw = 0.0;
  double sumHt = 0.0;
  perSite.assign(L, -1.0);
  for (std::size_t j = 0; j < L; ++j) {
    double sumPi = 0.0;
    for (const Range& g : ranges) {
      long long differing = 0;
      for (std::size_t r = g.first; r < g.first + g.count; ++r)
        for (std::size_t s = r + 1; s < g.first + g.count; ++s) differing += P[r][j] != P[s][j];
      const long long n = static_cast<long long>(g.count);
      sumPi += static_cast<double>(differing) / static_cast<double>(n * (n - 1) / 2);
    }
    const double Hw = sumPi / static_cast<double>(npop);
    double sumD = 0.0;
    for (std::size_t a = 0; a < npop; ++a)
      for (std::size_t b = a + 1; b < npop; ++b) {
        long long differing = 0;
        for (std::size_t r = ranges[a].first; r < ranges[a].first + ranges[a].count; ++r)
          for (std::size_t s = ranges[b].first; s < ranges[b].first + ranges[b].count; ++s)
            differing += P[r][j] != P[s][j];
        sumD += static_cast<double>(differing) / static_cast<double>(sizes[a] * sizes[b]);
      }
    const double Ht = Hw / static_cast<double>(npop) + 2.0 * sumD / static_cast<double>(npop * npop);
    perSite[j] = Ht > 0.0 && 1.0 - Hw / Ht >= 0.0 ? 1.0 - Hw / Ht : 0.0;
    sumHw += Hw;
    sumHt += Ht;
  }
  fst = sumHt > 0.0 && 1.0 - sumHw / sumHt > 0.0 ? 1.0 - sumHw / sumHt : 0.0;
}

HaplotypeMatrix randomMatrix(std::mt19937_64& rng, std::size_t rows, std::size_t L) {
  HaplotypeMatrix P(rows, BitRow(L));
  for (BitRow& row : P) {
    const double p = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    for (std::size_t j = 0; j < L; ++j)
      if (std::bernoulli_distribution(j % 7 == 0 ? 0.0 : p)(rng)) row.set(j);
  }
  return P;
}

class Fst : public TempDirTest {};

}  // namespace

TEST_F(Fst, AlleleCountsGiveThePairCountsExactly) {
  std::mt19937_64 rng(20240611);
  const std::vector<std::vector<int>> samples = {{2, 2}, {7, 3}, {40, 25}, {5, 9, 4}, {130, 70}};
  for (const std::vector<int>& sizes : samples) {
    std::size_t rows = 0;
    std::vector<Range> ranges;
    for (int n : sizes) {
      ranges.push_back({rows, static_cast<std::size_t>(n)});
      rows += static_cast<std::size_t>(n);
    }
    const std::size_t L = 150;
    const HaplotypeMatrix P = randomMatrix(rng, rows, L);
    std::vector<double> expected;
    double expectedFst = 0.0;
    naiveFst(P, sizes, ranges, L, expected, expectedFst);

    std::vector<std::pair<double, double>> perSnp(L, {-1.0, 0.25});
    double fst = -1.0;
    computeFst(P, sizes, 0, L, perSnp, fst);
    for (std::size_t j = 0; j < L; ++j) {
      EXPECT_EQ(perSnp[j].first, expected[j]) << j;
      EXPECT_EQ(perSnp[j].second, 0.25);
    }
    EXPECT_EQ(fst, expectedFst);

    // A sub-range writes from entry 0 on and leaves the other entries alone.
    std::vector<std::pair<double, double>> part(L, {-1.0, 0.0});
    computeFst(P, sizes, 100, 10000, part, fst);
    for (std::size_t s = 0; s < 50; ++s) EXPECT_EQ(part[s].first, expected[100 + s]);
    EXPECT_EQ(part[50].first, -1.0);
  }
}

TEST_F(Fst, WorkedSites) {
  // Site 0: every row the same; site 1: populations fixed for different
  // alleles; site 2: more diversity within than between.
  const HaplotypeMatrix P = matrixFromRows({"001", "000", "011", "010"});
  std::vector<std::pair<double, double>> perSnp(3);
  double fst = -1.0;
  computeFst(P, {2, 2}, 0, 3, perSnp, fst);
  EXPECT_EQ(perSnp[0].first, 0.0);
  EXPECT_EQ(perSnp[1].first, 1.0);
  EXPECT_EQ(perSnp[2].first, 0.0);  // 1 - 1 / 0.75 < 0 is stored as 0
  // Ratio of the unclamped sums: Hw = 0 + 0 + 1, Ht = 0 + 0.5 + 0.75.
  EXPECT_DOUBLE_EQ(fst, 1.0 - 1.0 / 1.25);
}

TEST_F(Fst, FortyTwoOfFiftyAgainstNineOfFifty) {
  // pi1 = 2*42*8/(50*49), pi2 = 2*9*41/(50*49), d = (42*41 + 8*9)/2500,
  // Hw = (pi1 + pi2)/2, Ht = (Hw + d)/2: FST 0.4276 (0.4358 from allele counts).
  std::vector<std::string> rows;
  for (int i = 0; i < 50; ++i) rows.push_back(i < 42 ? "1" : "0");
  for (int i = 0; i < 50; ++i) rows.push_back(i < 9 ? "1" : "0");
  std::vector<std::pair<double, double>> perSnp(1);
  double fst = -1.0;
  computeFst(matrixFromRows(rows), {50, 50}, 0, 1, perSnp, fst);
  const double Hw = (2.0 * 42 * 8 / 2450 + 2.0 * 9 * 41 / 2450) / 2;
  const double Ht = (Hw + (42.0 * 41 + 8.0 * 9) / 2500) / 2;
  EXPECT_DOUBLE_EQ(perSnp[0].first, 1.0 - Hw / Ht);
  EXPECT_NEAR(perSnp[0].first, 0.4276, 5e-5);
}

TEST_F(Fst, MatrixShorterThanAPopulationUsesItsFirstRows) {
  // Population 1 names 5 rows but the matrix has 4: rows 0..3 stand in for it,
  // while the between-population divisor keeps the sizes 2 * 5.
  const HaplotypeMatrix P = matrixFromRows({"1", "1", "0", "0"});
  std::vector<std::pair<double, double>> perSnp(1);
  double fst = -1.0;
  computeFst(P, {2, 5}, 0, 1, perSnp, fst);
  const double Hw = (0.0 + 4.0 / 6.0) / 2.0;
  const double Ht = Hw / 2.0 + 2.0 * (4.0 / 10.0) / 4.0;
  EXPECT_EQ(perSnp[0].first, 1.0 - Hw / Ht);
}

TEST_F(Fst, ErrorFiles) {
  const HaplotypeMatrix P = matrixFromRows({"01", "11", "00", "10"});
  std::vector<std::pair<double, double>> perSnp(2, {0.5, 0.5});
  double fst = 0.75;

  EXPECT_FATAL_STATUS(computeFst(P, {}, 0, 2, perSnp, fst), 1);
  EXPECT_EQ(readFile("FSTdT_Error1.log"), "4\n");

  computeFst(P, {4}, 0, 2, perSnp, fst);
  EXPECT_EQ(readFile("FSTdT.log"), "4\n");
  EXPECT_EQ(perSnp[0].first, 0.5);
  EXPECT_EQ(fst, 0.75);

  HaplotypeMatrix ragged = P;
  ragged[2].resize(1);
  EXPECT_FATAL_STATUS(computeFst(ragged, {2, 2}, 0, 2, perSnp, fst), 2);
  EXPECT_EQ(readFile("FSTdT_Error2.log"), "L1 = 2; L2 = 1\n 2\n");
  ragged[2].resize(2);
  ragged[3].resize(3);  // not a population's first row
  EXPECT_FATAL_STATUS(computeFst(ragged, {2, 2}, 0, 2, perSnp, fst), 2);
  EXPECT_EQ(readFile("FSTdT_Error2.log"), "L1 = 2; L2 = 3\n 2\n");

  EXPECT_FATAL_STATUS(computeFst(P, {2, 2}, 2, 5, perSnp, fst), 3);
  EXPECT_EQ(readFile("FSTdT_Error3.log"), "2\n");

  std::vector<std::pair<double, double>> shortList(1);
  EXPECT_FATAL_STATUS(computeFst(P, {2, 2}, 0, 2, shortList, fst), 4);
  EXPECT_EQ(readFile("FSTdT_Error4.log"), "1\n");

  EXPECT_FATAL_STATUS(computeFst(P, {1, 3}, 0, 2, perSnp, fst), 1);
  EXPECT_EQ(readFile("Theta_Pi_Error.log"), "1\n");

  // Sample sizes that name rows past the end of the matrix.
  EXPECT_FATAL_STATUS(computeFst(P, {2, 3}, 0, 2, perSnp, fst), 1);
  EXPECT_EQ(readFile("FSTdT_Error5.log"), "4\n");
  EXPECT_FATAL_STATUS(computeFst(HaplotypeMatrix{}, {2, 2}, 0, 2, perSnp, fst), 1);
  EXPECT_EQ(readFile("FSTdT_Error5.log"), "0\n");
}
