#include "analysis/allele_tables.hpp"

#include "input/common.hpp"
#include "test_support.hpp"

namespace {

struct PopulationCounts {
  std::vector<std::int32_t> ids;
  std::vector<float> counts;
  float largest;
};

class AlleleTablesTest : public TempDirTest {
 protected:
  void addLocus(const std::string& name, const std::vector<PopulationCounts>& pops,
                double position = 0.0) {
    counts.emplace_back();
    maxima.emplace_back();
    ids.emplace_back();
    for (const auto& pop : pops) {
      counts.back().push_back(pop.counts);
      maxima.back().push_back(pop.largest);
      ids.back().push_back(pop.ids);
    }
    names.push_back(name);
    if (snpositions.empty()) snpositions.resize(2);
    for (auto& list : snpositions) list.push_back(position);
  }
  // A BayeScan locus: counts only, largest count as the reader stores it.
  void addBayeScanLocus(const std::string& name, const std::vector<float>& first,
                        const std::vector<float>& second) {
    const auto largest = [](const std::vector<float>& c) {
      return c.empty() ? 0.0f : *std::max_element(c.begin(), c.end());
    };
    addLocus(name, {{{}, first, largest(first)}, {{}, second, largest(second)}});
  }
  void run(CountFormat format, double maf) {
    if (format != CountFormat::PlinkNucleotide && format != CountFormat::PlinkNumeric)
      snpositions.clear();
    buildAlleleCountSites(format, maf, "in.txt", counts, maxima, ids, names, snpositions, freqs,
                          metapositions, numsnps, fstdistrib, meanFst);
  }
  std::vector<double> fsts() const {
    std::vector<double> values;
    for (const auto& entry : fstdistrib) values.push_back(entry.first);
    return values;
  }

  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  AlleleIdTable ids;
  std::vector<std::string> names;
  std::vector<std::vector<double>> snpositions, freqs;
  std::vector<double> metapositions;
  std::vector<int> numsnps;
  std::vector<std::pair<double, double>> fstdistrib;
  double meanFst = -1.0;
};

}  // namespace

TEST(DistinctValuesExcept, AscendingUnsignedWithoutTheSkipValue) {
  std::vector<std::int32_t> out{42};
  distinctValuesExcept({{3, 1, 3}, {0, 2}}, std::int32_t{0}, out);
  EXPECT_EQ(out, (std::vector<std::int32_t>{1, 2, 3}));
  distinctValuesExcept({{-9, 5, 78}, {2, 78}}, std::int32_t{78}, out);
  EXPECT_EQ(out, (std::vector<std::int32_t>{2, 5, -9}));
  distinctValuesExcept({{0, 4}, {-9}}, std::uint64_t{0}, out);
  EXPECT_EQ(out, (std::vector<std::int32_t>{4, -9}));
  // A code equals a 64-bit skip value when widened without sign.
  distinctValuesExcept({{0, 4}, {-9}}, std::uint64_t{4294967287u}, out);
  EXPECT_EQ(out, (std::vector<std::int32_t>{0, 4}));
  distinctValuesExcept({}, std::int32_t{0}, out);
  EXPECT_TRUE(out.empty());
}

TEST(MostCommonAboveMaf, ALocusAtTheBoundaryIsKept) {
  struct Row {
    double copies, mostCommon, maf;
    bool above;
  };
  // Other copies exactly maf of all are kept: the share 8 / 10 in single
  // precision is above 1 - 0.2, and 0.07 * 100 in double is above 7.
  const Row rows[] = {{10, 8, 0.2, false},    {50, 49, 0.02, false}, {100, 99, 0.01, false},
                      {100, 93, 0.07, false}, {100, 96, 0.05, true}, {10, 10, 0.0, false},
                      {10, 10, 0.01, true},   {2.5, 2, 0.2, false}};
  for (const Row& r : rows)
    EXPECT_EQ(mostCommonAboveMaf(r.copies, r.mostCommon, r.maf), r.above)
        << r.mostCommon << " of " << r.copies << " at maf " << r.maf;
}

TEST_F(AlleleTablesTest, FrequenciesStaySinglePrecision) {
  // 99 of 100 copies fail maf 0.05; 95 of 100 pass, with the frequency 1 - 0.95f.
  addBayeScanLocus("1", {99, 1}, {50, 50});
  addBayeScanLocus("2", {95, 5}, {50, 50});
  run(CountFormat::BayeScan, 0.05);
  EXPECT_EQ(names, (std::vector<std::string>{"2"}));
  EXPECT_EQ(numsnps, (std::vector<int>{1}));
  ASSERT_EQ(freqs.size(), 2u);
  EXPECT_EQ(freqs[0], (std::vector<double>{1.0 - static_cast<double>(0.95f)}));
  EXPECT_EQ(freqs[1], (std::vector<double>{0.5}));
  EXPECT_EQ(snpositions[0], (std::vector<double>{1.0}));  // the locus index
  EXPECT_EQ(metapositions, (std::vector<double>{0.0}));
  EXPECT_TRUE(counts.empty());  // the count tables are released
  EXPECT_TRUE(maxima.empty());
}

TEST_F(AlleleTablesTest, UnusableLociAreDroppedExceptForBayeScan) {
  addLocus("a", {{{1, 2}, {5, 5}, 5}, {{1, 2}, {5, 5}, unusableLocus}}, 100);
  addLocus("b", {{{1, 2}, {5, 5}, 5}, {{1, 2}, {5, 5}, 5}}, 200);
  run(CountFormat::PlinkNumeric, 0.05);
  EXPECT_EQ(names, (std::vector<std::string>{"b"}));
  EXPECT_EQ(metapositions, (std::vector<double>{200}));  // map position
  EXPECT_EQ(freqs[0], (std::vector<double>{0.5}));
  EXPECT_EQ(freqs[1], (std::vector<double>{0.5}));

  names.clear();
  snpositions.clear();
  freqs.clear();
  addLocus("a", {{{}, {5, 5}, 5}, {{}, {5, 5}, unusableLocus}});
  run(CountFormat::BayeScan, 0.05);
  EXPECT_EQ(names, (std::vector<std::string>{"a"}));
}

TEST_F(AlleleTablesTest, HeterozygosityAndFst) {
  // {6, 4} in both: Hs = Ht = 0.48, FST 0. {6, 4} against {4, 6}: Hs 0.48,
  // Ht 0.5, FST 0.04. Negative FST ({1, 1} against {100, 0}) becomes 0.
  addLocus("same", {{{1, 2}, {6, 4}, 6}, {{1, 2}, {6, 4}, 6}});
  addLocus("mirror", {{{1, 2}, {6, 4}, 6}, {{1, 2}, {4, 6}, 6}});
  addLocus("negative", {{{1, 2}, {1, 1}, 1}, {{1}, {100}, 100}});
  run(CountFormat::Genepop, 0.0);
  ASSERT_EQ(fstdistrib.size(), 3u);
  EXPECT_NEAR(fstdistrib[0].first, 0.0, 1e-7);
  EXPECT_NEAR(fstdistrib[1].first, 0.04, 1e-6);
  EXPECT_EQ(fstdistrib[2].first, 0.0);
  for (const auto& entry : fstdistrib) EXPECT_EQ(entry.second, 0.0);
  EXPECT_DOUBLE_EQ(meanFst, (fstdistrib[0].first + fstdistrib[1].first) / 3.0);
  // Genepop: positions k / m, locus indices per population, no frequencies.
  EXPECT_EQ(snpositions[0], (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(metapositions[1], static_cast<double>(1.0f / 3.0f));
  EXPECT_TRUE(freqs.empty() || freqs[0].empty());
}

TEST_F(AlleleTablesTest, FortyTwoOfFiftyAgainstNineOfFiftyInEveryCountFormat) {
  // Hs = 1 - 0.84^2 - 0.16^2 = 0.2688 and 1 - 0.18^2 - 0.82^2 = 0.2952,
  // Ht = 1 - 0.51^2 - 0.49^2 = 0.4998: FST 1 - 0.282 / 0.4998 = 0.4358, where
  // the haplotype estimator gives 0.4276 for the same locus.
  const double expected = 1.0 - 0.282 / 0.4998;
  for (CountFormat format :
       {CountFormat::Genepop, CountFormat::BayeScan, CountFormat::PlinkNumeric}) {
    counts.clear();
    maxima.clear();
    ids.clear();
    names.clear();
    snpositions.clear();
    freqs.clear();
    addLocus("l", {{{1, 2}, {42, 8}, 42}, {{1, 2}, {9, 41}, 41}});
    run(format, 0.01);
    ASSERT_EQ(fstdistrib.size(), 1u);
    EXPECT_NEAR(fstdistrib[0].first, expected, 1e-6);
    EXPECT_NEAR(fstdistrib[0].first, 0.4358, 5e-5);
  }
}

TEST_F(AlleleTablesTest, FixedDifferenceGivesFstOneAtMafZero) {
  addLocus("rs1", {{{'A'}, {10}, 10}, {{'C'}, {10}, 10}}, 123);
  run(CountFormat::PlinkNucleotide, 0.0);
  EXPECT_EQ(fsts(), (std::vector<double>{1.0}));
  EXPECT_EQ(meanFst, 1.0);
  EXPECT_EQ(freqs[0], (std::vector<double>{0.0}));

  names.clear();
  addLocus("rs1", {{{'A'}, {10}, 10}, {{'C'}, {10}, 10}}, 123);
  run(CountFormat::PlinkNucleotide, 0.01);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(numsnps, (std::vector<int>{0}));
  EXPECT_TRUE(fstdistrib.empty());
  EXPECT_EQ(meanFst, 0.0);
}

TEST_F(AlleleTablesTest, UndefinedFstIsZero) {
  // Both populations fixed for one allele (Ht 0): FST 0, never NaN. A
  // population without allele copies leaves its locus out.
  addLocus("fixed", {{{3}, {8}, 8}, {{3}, {6}, 6}});
  addLocus("empty", {{{}, {}, 0}, {{3, 4}, {3, 3}, 3}});
  run(CountFormat::Genepop, 0.0);
  EXPECT_EQ(names, (std::vector<std::string>{"fixed"}));
  EXPECT_EQ(fsts(), (std::vector<double>{0.0}));
  EXPECT_EQ(meanFst, 0.0);
}

TEST_F(AlleleTablesTest, FractionalCopiesKeepTheirFraction) {
  // 2.5 of 3 copies: 0.83 passes maf 0.1; truncated totals (2) would give a
  // share above 1 and drop the locus.
  addBayeScanLocus("1", {2.5f, 0.5f}, {1.5f, 1.5f});
  run(CountFormat::BayeScan, 0.1);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_NEAR(freqs[0][0], 1.0 / 6.0, 1e-6);
  EXPECT_GE(fstdistrib[0].first, 0.0);
  EXPECT_LE(fstdistrib[0].first, 1.0);
}

TEST_F(AlleleTablesTest, GenepopVerboseLinesAndPositions) {
  const std::vector<PopulationCounts> good = {{{1, 2}, {5, 5}, 5}, {{1, 2}, {4, 6}, 6}};
  addLocus("L1", good);
  addLocus("L2", {{{1, 2}, {5, 5}, unusableLocus}, {{1, 2}, {4, 6}, 6}});
  addLocus("L3", good);
  addLocus("L4", good);
  addLocus("L5", good);
  verbose = true;
  testing::internal::CaptureStdout();
  run(CountFormat::Genepop, 0.05);
  const std::string out = testing::internal::GetCapturedStdout();
  verbose = false;
  EXPECT_EQ(out.substr(0, 42), "\nLOCUS 1\nread.\n\nLOCUS 2\ndeleted.\n\nLOCUS 3\n");
  EXPECT_EQ(names, (std::vector<std::string>{"L1", "L3", "L4", "L5"}));
  EXPECT_EQ(metapositions, (std::vector<double>{0, 0.25, 0.5, 0.75}));
  EXPECT_EQ(snpositions[1], (std::vector<double>{0, 2, 3, 4}));
}

TEST_F(AlleleTablesTest, WrongShapesAreFatal) {
  addLocus("only", {{{1}, {4}, 4}});
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(run(CountFormat::Genepop, 0.0), 3);
  const std::string message =
      "\nERROR: In file in.txt\nThe number of populations 1 does not coincide with the expected 2\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), message + "\n");
  EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 3\n");

  counts.clear();
  maxima.clear();
  ids.clear();
  names.clear();
  addLocus("a", {{{1}, {4}, 4}, {{1}, {4}, 4}});
  addLocus("b", {{{1}, {4}, 4}, {{1}, {4}, 4}});
  names.pop_back();  // a Genepop file that names fewer loci than it types
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(run(CountFormat::Genepop, 0.0), 1);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "The number of locus names 1 is smaller than the number of loci 2"),
            std::string::npos);
}

TEST_F(AlleleTablesTest, PopulationsTooSmallToMeasureDiversityAreFatal) {
  const auto expectTooSmall = [&](CountFormat format, const std::vector<int>& sizes,
                                  const std::string& message) {
    testing::internal::CaptureStdout();
    EXPECT_FATAL_STATUS(
        requireLocusAndTwoIndividualsOrCopies(format, "in.txt", sizes, counts), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), message + "\n");
    EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 1\n");
  };
  // Individuals: the first population that falls short is named.
  expectTooSmall(CountFormat::Genepop, {0, 1},
                 "\nERROR: \nPopulation 1 of in.txt has 0 individuals: at least 2 individuals "
                 "per population are needed\n");
  expectTooSmall(CountFormat::PlinkNucleotide, {5, 1},
                 "\nERROR: \nPopulation 2 of in.txt has 1 individual: at least 2 individuals "
                 "per population are needed\n");
  requireLocusAndTwoIndividualsOrCopies(CountFormat::PlinkNumeric, "in.txt", {2, 2}, counts);

  // BayeScan: gene copies per locus, not summed over loci. Two copies at one
  // locus are enough, fractional copies count as they stand, and the sizes
  // (-sample) play no part.
  addBayeScanLocus("1", {1, 1}, {1.5f, 0.5f});
  addBayeScanLocus("2", {0, 1}, {0, 1});
  requireLocusAndTwoIndividualsOrCopies(CountFormat::BayeScan, "in.txt", {50, 50}, counts);
  counts[0][1] = {1.5f, 0.25f};
  expectTooSmall(CountFormat::BayeScan, {50, 50},
                 "\nERROR: \nPopulation 2 of in.txt has fewer than 2 gene copies at every locus: "
                 "at least 2 gene copies per population are needed\n");
  counts.clear();  // no locus at all: no population has gene copies
  expectTooSmall(CountFormat::BayeScan, {50, 50},
                 "\nERROR: \nin.txt has no locus: at least 2 gene copies per population at one "
                 "locus are needed\n");
}
