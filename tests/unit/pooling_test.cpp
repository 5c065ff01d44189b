#include "analysis/pooling.hpp"

#include "analysis/run_state.hpp"
#include "reader_capture.hpp"
#include "test_support.hpp"

#include "haplotype_rows.hpp"

class Pooling : public TempDirTest {
 protected:
  // Two populations of the given rows, positions and frequencies.
  void setUp(const std::vector<std::string>& rows0, const std::vector<double>& pos0,
             const std::vector<std::string>& rows1, const std::vector<double>& pos1) {
    run = RunData();
    run.samplesizes = {static_cast<int>(rows0.size()), static_cast<int>(rows1.size())};
    run.data = matrixFromRows(rows0);
    for (const BitRow& r : matrixFromRows(rows1)) run.data.push_back(r);
    run.snpositions = {pos0, pos1};
    run.snpfreqs.assign(2, {});
    std::size_t offset = 0;
    for (int p = 0; p < 2; ++p) {
      const std::size_t L = run.snpositions[p].size();
      run.snpfreqs[p].assign(L, 0.0);
      for (int r = 0; r < run.samplesizes[p]; ++r)
        for (std::size_t j = 0; j < L; ++j)
          if (run.data[offset + r][j]) run.snpfreqs[p][j] += 1.0 / run.samplesizes[p];
      offset += run.samplesizes[p];
    }
    exec.options.inputfile = "in.ms";
  }
  int pool() {
    int status = -1;
    try {
      captureRead(out, [&] {
        status = poolRunSites(exec, run) == RunStep::Continue ? 100 : 200;
        return true;
      });
    } catch (const FatalExit& e) {
      status = e.status;
    }
    return status;
  }
  Execution exec;
  RunData run;
  std::string out;
};

TEST_F(Pooling, MafBoundaryKeepsEqualityAndOnlyCommonSites) {
  // Population 0 at 10, 20, 30; population 1 at 20, 30, 40; pooled f(20) = 0, f(30) = 0.05.
  std::vector<std::string> rows0(10, "000"), rows1(10, "000");
  rows0[0] = "001";
  setUp(rows0, {10, 20, 30}, rows1, {20, 30, 40});
  exec.maf = 0.05;
  EXPECT_EQ(pool(), 100);
  EXPECT_NE(out.find("\nFile in.ms parsed\n"), std::string::npos);
  EXPECT_EQ(run.commons, (std::vector<double>{30}));
  EXPECT_EQ(run.metapopsnpositions, (std::vector<double>{30}));
  EXPECT_EQ(run.snpositions[0], (std::vector<double>{30}));
  EXPECT_EQ(run.snpositions[1], (std::vector<double>{30}));
  EXPECT_EQ(rowText(run.metapopdata[0]), "1");
  EXPECT_EQ(run.metapopdata.size(), 20u);
  EXPECT_EQ(run.filelocnames, (std::vector<std::string>{"30"}));
  EXPECT_EQ(exec.numsnps[0], 1);
  EXPECT_EQ(exec.nRuns, 1u);
  EXPECT_EQ(run.fstdistrib.size(), 1u);
  EXPECT_DOUBLE_EQ(exec.metapopfreqs[0][0], 0.05);
}

TEST_F(Pooling, SitesAreNamedByTheirPositions) {
  setUp({"11", "01"}, {0.0123, 1234567.5}, {"10", "11"}, {0.0123, 1234567.5});
  EXPECT_EQ(pool(), 100);
  EXPECT_EQ(run.filelocnames, (std::vector<std::string>{"0.0123", "1234567.5"}));
  // HapMap input names its sites; a site without a name gets an empty one.
  setUp({"11", "01"}, {5, 7}, {"10", "11"}, {5, 7});
  exec.format = InputFormat::HM;
  run.rsidmap[5] = "RS5";
  EXPECT_EQ(pool(), 100);
  EXPECT_EQ(run.filelocnames, (std::vector<std::string>{"RS5", ""}));
}

TEST_F(Pooling, NoCommonSiteEndsTheRun) {
  setUp({"1", "0"}, {10}, {"1", "0"}, {20});
  exec.maf = 0.01;
  exec.logtext.clear();
  EXPECT_EQ(pool(), 200);
  EXPECT_EQ(exec.logtext,
            "\n From a total of 1\nThere are not common SNPs at frequency >= 0.01 in the file "
            "in.ms\nA number of 1 SNPs at frequency lower than 0.01 has been discarded:\n");
  EXPECT_EQ(exec.nRuns, 0u);
}

TEST_F(Pooling, RepeatedAndDescendingPositionsAreFatal) {
  // A common position listed twice in both populations.
  setUp({"011", "110"}, {5, 5, 9}, {"101", "011"}, {5, 5, 9});
  EXPECT_EQ(pool(), 4);
  EXPECT_NE(out.find("\nERROR:3 is different from 2. This may be caused by 1 repeated positions "
                     "in your files. Please check position 5\n"),
            std::string::npos);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "\nERROR:3 is different from 2. This may be caused by 1 repeated positions in your "
            "files. Please check position 5\n 4\n");

  // Repeated in one population only: reported the same way, never an assertion.
  setUp({"011", "110"}, {5, 5, 9}, {"10", "01"}, {5, 9});
  EXPECT_EQ(pool(), 4);

  // Positions that go down within a population.
  setUp({"011", "110"}, {30, 10, 20}, {"101", "011"}, {10, 20, 30});
  EXPECT_EQ(pool(), 4);
  EXPECT_NE(out.find("the positions of population 1 go down: position 10 follows position 30"),
            std::string::npos);
}

TEST_F(Pooling, PopulationChecksUnlessOnlyEos) {
  setUp({"1", "0"}, {10}, {"1", "0"}, {10});
  exec.pref = 2;
  EXPECT_EQ(pool(), 2);
  EXPECT_NE(out.find("\nERROR: In file in.ms\nReference population value is out of range 3 > 2\n"),
            std::string::npos);
  exec.pref = 0;
  run.snpositions.push_back({10});
  EXPECT_EQ(pool(), 3);
  EXPECT_NE(out.find("\nThe number of populations 3 does not coincide with the expected 2\n"),
            std::string::npos);
}

TEST_F(Pooling, TooFewSitesEndTheRun) {
  exec.numsnps[0] = 5;
  exec.minwin = 11;
  exec.metapopfreqs[0] = {0.1, 0.2, 0.3, 0.4, 0.5};
  exec.options.inputfile = "f";
  testing::internal::CaptureStdout();
  EXPECT_EQ(checkPooledSize(exec, run), RunStep::EndRun);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nIn file f: too few SNPS 5 < 11\n\n");
  EXPECT_EQ(readFile("Pravis.log"), "\nIn file f: too few SNPS 5 < 11\n 5\n");
}

TEST(PoolingHelpers, CountDistinctPositions) {
  std::vector<double> v = {5, 5, -99, 7};
  double repeated = -1;
  EXPECT_EQ(countDistinctPositions(v, repeated), 2);
  EXPECT_EQ(repeated, 5);
  std::vector<double> none;
  EXPECT_EQ(countDistinctPositions(none, repeated), 0);
}
