#include "input/allele_counts.hpp"

#include <random>

#include "test_support.hpp"

TEST(AlleleCounts, CountAllelesSkipsMissingAndSortsUnsigned) {
  std::vector<std::int32_t> codes;
  std::vector<float> counts;
  int n = -1;
  EXPECT_EQ(countAlleles({2, -9, 1, 0, 2, -9, 0}, 0, codes, counts, n), 3);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{1, 2, -9}));
  EXPECT_EQ(counts, (std::vector<float>{1, 2, 2}));
  EXPECT_EQ(n, 7);

  EXPECT_EQ(countAlleles({'N', 'T', 'A', 'N', 'A'}, 'N', codes, counts, n), 2);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{'A', 'T'}));
  EXPECT_EQ(counts, (std::vector<float>{2, 1}));

  EXPECT_EQ(countAlleles({}, 0, codes, counts, n), 0);
  EXPECT_TRUE(codes.empty());
  EXPECT_TRUE(counts.empty());
  EXPECT_EQ(n, 0);
}

// The readers tally while streaming; the result must be what countAlleles
// gives for the whole column, also past the alleles a locus holds inline.
TEST(AlleleCounts, TallyAgreesWithCountAlleles) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, 6);
  const std::int32_t alphabet[] = {0, 1, 2, 17, -9, 300, 5};
  const std::size_t loci = 40;
  PopulationTally tally(loci);
  std::vector<std::vector<std::int32_t>> columns(loci);
  for (std::size_t j = 0; j < loci; ++j)
    for (std::size_t k = 0; k < j; ++k) {
      columns[j].push_back(alphabet[pick(random)]);
      if (columns[j].back() != 0) tally.add(j, columns[j].back());
    }
  for (std::size_t j = 0; j < loci; ++j) {
    std::vector<std::int32_t> codes, tallyCodes;
    std::vector<float> counts, tallyCounts;
    int n = 0;
    countAlleles(columns[j], 0, codes, counts, n);
    const std::uint64_t typed = tally.emit(j, tallyCodes, tallyCounts);
    EXPECT_EQ(tallyCodes, codes);
    EXPECT_EQ(tallyCounts, counts);
    float sum = 0;
    for (float c : counts) sum += c;
    EXPECT_EQ(static_cast<float>(typed), sum);
  }
}

TEST(AlleleCounts, UnusableWhenNearlyEveryCopyIsMissing) {
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  AlleleIdTable ids;
  resetAlleleTables(3, 2, counts, maxima, ids);
  PopulationTally tally(3);
  // 5 individuals, 10 copies: locus 0 has 6 typed (4 missing), locus 1 has 7
  // typed (3 missing), locus 2 none.
  for (int k = 0; k < 3; ++k) tally.add(0, 1);
  for (int k = 0; k < 3; ++k) tally.add(0, 2);
  for (int k = 0; k < 3; ++k) tally.add(1, 2);
  for (int k = 0; k < 4; ++k) tally.add(1, 5);
  tally.store(1, 5, counts, maxima, ids);
  EXPECT_EQ(maxima[0][1], unusableLocus);
  EXPECT_EQ(maxima[1][1], 4.0f);
  EXPECT_EQ(maxima[2][1], unusableLocus);
  EXPECT_EQ(ids[1][1], (std::vector<std::int32_t>{2, 5}));
  EXPECT_EQ(counts[1][1], (std::vector<float>{3, 4}));
  EXPECT_TRUE(ids[2][1].empty());
  EXPECT_EQ(maxima[1][0], 0.0f);  // population 0 untouched
  EXPECT_TRUE(ids[1][0].empty());
}
