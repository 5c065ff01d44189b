#include "analysis/outlier_report.hpp"
#include "analysis/results_table.hpp"
#include "analysis/snp_table.hpp"
#include "test_support.hpp"

namespace {

CandidateResult result(double position, double pval, int wide) {
  CandidateResult r;
  r.position = position;
  r.Pval = pval;
  r.Wide = wide;
  r.NCLASSES = 10;
  r.JHac = 1.5;
  r.tested = true;
  r.Ini = {static_cast<int>(position) - 1, static_cast<int>(position) - 1};
  r.End = {static_cast<int>(position) + 1, static_cast<int>(position) + 1};
  return r;
}

FileRecord analysedFile(const std::string& name, std::vector<CandidateResult> results) {
  FileRecord f;
  f.name = name;
  f.nsnps = 120;
  f.meanFST = 0.0312345678901234;
  f.eosRan = true;
  f.analysed = true;
  f.samplesizes = {50, 40};
  f.results = std::move(results);
  return f;
}

Outlier outlier(const std::string& id, double pos, double fst, double pval) {
  Outlier o;
  o.ID = id;
  o.Pos = pos;
  o.FST = fst;
  o.pval = pval;
  return o;
}

}  // namespace

class Reports : public TempDirTest {};

TEST_F(Reports, ResultsRowsSignificanceAndNoSummaryForOneFile) {
  std::vector<FileRecord> files = {analysedFile(
      "a.ms", {result(100, 0.01, 11), result(200, 0.2, 12), result(300, 0.05, 13)})};
  files[0].results[0].FST = 0.3141592653589793;
  double segsites = 120;
  writeResults(files, 1, "out.tsv", 0.05, segsites, false, 3);
  const std::string header =
      "File\t#SNPs\tCandidate\tSNP\tWide\tIni\tEnd\tNCLASSES\tMeanFST\tFST\tFSTindex\tfstPval\tn1"
      "\tn2\tJHac\tPval\tSig\n";
  const std::string row1 =
      "a.ms\t120\t1\t100\t11\t99\t101\t10\t0.0312345678901\t0.314159265359\t0\t1\t50\t40\t1.5\t0."
      "01\t*\n";
  const std::string row2 = "a.ms\t120\t2\t200\t12\t199\t201\t10\t0.0312345678901\t0\t0\t1\t50\t40\t1.5\t0.2\tns\n";
  const std::string row3 = "a.ms\t120\t3\t300\t13\t299\t301\t10\t0.0312345678901\t0\t0\t1\t50\t40\t1.5\t0.05\t*\n";
  EXPECT_EQ(readFile("out.tsv"), header + row1 + row2 + row3 + "\n");
  EXPECT_EQ(readFile("out_SIG.tsv"), header + row1 + row3);
  EXPECT_DOUBLE_EQ(segsites, 120);

  // A later execution appends its own header and rows.
  writeResults(files, 1, "out.tsv", 0.05, segsites, false, 3);
  EXPECT_EQ(readFile("out_SIG.tsv"), header + row1 + row3 + header + row1 + row3);
}

TEST_F(Reports, SummaryOfSeveralFiles) {
  std::vector<FileRecord> files = {
      analysedFile("a", {result(100, 0.01, 10), result(200, 0.5, 12)}),
      analysedFile("b", {result(150, 0.02, 20)}),
  };
  files[1].highFST = true;
  // A candidate that was not tested is not significant, even at level 1.
  files[0].results[1].tested = false;
  // A file that only took the EOS test adds no row and does not count.
  FileRecord eosOnly;
  eosOnly.name = "c";
  files.push_back(eosOnly);
  double segsites = 300;
  writeResults(files, 4, "r.tsv", 1.0, segsites, false, 2);
  const std::string text = readFile("r.tsv");
  EXPECT_NE(text.find("\nWARNING: THE AVERAGE FST WAS GREATER THAN 0.5 IN FILE b\n\nb\t"),
            std::string::npos);
  // Rank 1: two significant rows (positions 100 and 150, widths 10 and 20);
  // rank 2: none, its one row untested. %PowerJ over 2 files, %FPJJ over 4 runs.
  const std::string summary =
      "\nSegSites\tCandidate\tMean_size\tMean_pos\t%PowerJ\t%FPJJ\n150\t1\t15\t125\t100\t50\n\t2\t0\t-"
      "1\t0\t0\n";
  ASSERT_GE(text.size(), summary.size());
  EXPECT_EQ(text.substr(text.size() - summary.size()), summary);
  EXPECT_DOUBLE_EQ(segsites, 150);
}

TEST_F(Reports, HapMapHeaderAndEmptyResults) {
  std::vector<FileRecord> files = {analysedFile("h", {result(1500, 0.5, 11)})};
  files[0].rsidmap[1500] = "RS1";
  double segsites = 1;
  writeResults(files, 1, "h.tsv", 0.05, segsites, true, 1);
  const std::string text = readFile("h.tsv");
  EXPECT_EQ(text.find("File\t#SNPs\tCandidate\trsid\tPos\tWide\t"), 0u);
  EXPECT_NE(text.find("h\t120\t1\tRS1\t1500\t11\t"), std::string::npos);

  // Nothing analysed: both files exist and stay empty.
  std::vector<FileRecord> none;
  writeResults(none, 0, "e.tsv", 0.05, segsites, false, 0);
  EXPECT_TRUE(fileExists("e.tsv"));
  EXPECT_TRUE(fileExists("e_SIG.tsv"));
  EXPECT_EQ(readFile("e.tsv"), "");
}

TEST_F(Reports, ResultsNameCarriesTheSettings) {
  Execution exec;
  exec.resultsPrefix = "Pravis_Results/Prav_out_";
  exec.maf = 0.01;
  exec.options.reference = 1;
  EXPECT_EQ(resultsName(exec), "Pravis_Results/Prav_out_AutoRefPop2_MAF_0.01_Blocks");
  exec.referenceCopy = 1;
  exec.noReferenceStep = false;
  exec.options.runs = 10;
  exec.options.old = true;
  exec.options.useblocks = false;
  exec.options.window = 50;
  exec.options.tag = "rnd0";
  exec.options.nogaps = true;
  exec.maf = 0.00001;
  EXPECT_EQ(resultsName(exec),
            "Pravis_Results/Prav_out_RefPop2_MAF_1e-05_NF10_OldSweep_NoGaps_RND_W50");
  exec.options.onlyEOS = true;
  exec.maf = 0.01;
  EXPECT_EQ(resultsName(exec), "Pravis_Results/Prav_out_EOS__MAF0.01");
}

TEST_F(Reports, OutlierReportLayout) {
  FileRecord a;
  a.name = "a";
  a.nsnps = 5;
  a.nonEosOutliers = {outlier("10", 10, 0.2, 0.01), outlier("20", 0.2718281828459045, 0.25, 0.02)};
  a.fstOutliers = {outlier("30", 30, 0.3141592653589793, 0.001)};
  FileRecord b;
  b.name = "b";
  b.nsnps = 7;
  FileRecord c = b;
  c.name = "c";
  writeOutlierReport("rep.txt", {a, b, c}, 0.01);
  const std::string stars(52, '*');
  const std::string expected =
      "MAF = 0.01\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 33.3333%\n"
      "\n" + stars + "\nFILE a\n" + stars + "\n\n#SNPs\t5\n"
      "\n*************** Non-EOS FST OUTLIERS\n2\n"
      "\n\t\t\tID\tPos\tFST\tpval(LK test)"
      "\n\t\t\t20\t0.271828182846\t0.25\t0.02"
      "\n\t\t\t10\t10\t0.2\t0.01\n"
      "\n*************** EOS FST OUTLIERS\n1\n"
      "\n\t\t\tID\tPos\tFST\tpval(LK test)"
      "\n\t\t\t30\t30\t0.314159265359\t0.001\n"
      "\n" + stars + "\nFILE b\n" + stars + "\n\n#SNPs\t7\n"
      "\n*************** Non-EOS FST OUTLIERS\n0\n\n"
      "\n*************** EOS FST OUTLIERS\n0\n"
      "\n" + stars + "\nFILE c\n" + stars + "\n\n#SNPs\t7\n"
      "\n*************** Non-EOS FST OUTLIERS\n0\n\n"
      "\n*************** EOS FST OUTLIERS\n0\n";
  EXPECT_EQ(readFile("rep.txt"), expected);
}

TEST_F(Reports, SnpTableText) {
  std::string out;
  writeRsidTable({"1", "2"}, {"a", "b"}, {{1234567, 2}, {1234567, 2}},
                 {{1.0 / 3, 0}, {0.5, 1}}, out);
  EXPECT_EQ(out,
            "\nPopulation\trsID\tPosition\tFrequency\n1\n\ta\t1234567\t0.333333\n\tb\t2\t0\n2\n\ta\t"
            "1234567\t0.5\n\tb\t2\t1\n");
  writeRsidTable({"x", "y"}, {}, {{}, {}}, {{}, {}}, out);
  EXPECT_EQ(out, "\nPopulation\trsID\tPosition\tFrequency\nx\ny\n");
}
