// Whole analyses, from the command line to the written tables.
#include <cmath>

#include "cli_harness.hpp"
#include "sample_files.hpp"
#include "text_table.hpp"

namespace {

// Q(a, x) for a whole number a: exp(-x) times the sum of x^k / k! for k < a.
double upperGammaWhole(int a, double x) {
  double term = 1.0, sum = 0.0;
  for (int k = 0; k < a; ++k) {
    if (k > 0) term *= x / k;
    sum += term;
  }
  return std::exp(-x) * sum;
}

// Q(a, x) for a half-whole a (0.5, 1.5, ...): up from Q(1/2, x) = erfc(sqrt x)
// by Q(s + 1, x) = Q(s, x) + x^s exp(-x) / Gamma(s + 1).
double upperGammaHalf(double a, double x) {
  double q = std::erfc(std::sqrt(x));
  for (double s = 0.5; s < a; s += 1.0) q += std::exp(s * std::log(x) - x - std::lgamma(s + 1));
  return q;
}

// Twelve sites at 0.04, 0.12, ..., 0.92; population 1 (10 haplotypes) carries
// allele 1 once at each of sites 0..9 (haplotype i at site i), population 2
// (10 haplotypes) carries it everywhere.
std::string handWorkedMs() {
  std::string text = "ms 20 1 -t 5\n1 2 3\n";
  for (int pop = 0; pop < 2; ++pop) {
    text += "\n//\nsegsites: 12\npositions:";
    for (int s = 0; s < 12; ++s) text += " " + std::to_string(0.04 + 0.08 * s).substr(0, 4);
    text += "\n";
    for (int i = 0; i < 10; ++i) {
      std::string h(12, pop == 0 ? '0' : '1');
      if (pop == 0) h[static_cast<std::size_t>(i)] = '1';
      text += h + "\n";
    }
  }
  return text;
}

// One block of 40 fully linked sites: every haplotype is all 0 or all 1.
// Population 1 (50 haplotypes) holds 45 all-0 and 5 all-1, population 2 the
// reverse.
std::string linkedBlockMs() {
  std::string positions;
  for (int s = 0; s < 40; ++s) positions += " " + std::to_string((s + 0.5) / 40).substr(0, 6);
  std::string text = "ms 100 1 -t 5\n1 2 3\n";
  for (int pop = 0; pop < 2; ++pop) {
    text += "\n//\nsegsites: 40\npositions:" + positions + "\n";
    for (int i = 0; i < 50; ++i) text += std::string(40, (i < 45) == (pop == 0) ? '0' : '1') + "\n";
  }
  return text;
}

}  // namespace

class Analysis : public CliTest {};

// HAC classes keep every haplotype: the values that lie past the last
// class's range join the last class, in n_p and in the class counts alike.
//
// The 40-site block of linkedBlockMs() with -maxwin 25: K = 25, m = 26, w = 1.
// Against population 1's majority haplotype (all 0), with the candidate left
// out, an all-0 haplotype has HAC 0 and an all-1 haplotype 39, above m - 1.
//   class 0: 45 and 5; class 24: 5 and 45. With f = (count + 0.5) / (50 + 12.5):
//   S = 2 (40 / 62.5) ln(45.5 / 5.5), JHac = 50*50/100 * S, Pval = Q(12, JHac / 2).
// Leaving the all-1 haplotypes out of class 24 halved JHac: Pval 0.088, ns.
TEST_F(Analysis, HacValuesPastTheCappedRangeJoinTheLastClass) {
  write("linked.ms", linkedBlockMs());
  const RunResult r = run({"-input", "linked.ms", "-sample", "50", "-minwin", "5", "-maxwin",
                           "25", "-SL", "0.01", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> table =
      lines(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks.tsv"));
  ASSERT_GE(table.size(), 2u);
  const std::vector<std::string> row = fields(table[1]);
  ASSERT_EQ(row.size(), 17u) << table[1];
  EXPECT_EQ(row[4], "40");  // Wide
  EXPECT_EQ(row[7], "25");  // NCLASSES
  const double jhac = 25.0 * 2 * (40 / 62.5) * std::log(45.5 / 5.5);
  EXPECT_NEAR(std::stod(row[14]), jhac, 1e-8);
  EXPECT_NEAR(std::stod(row[15]) / upperGammaWhole(12, jhac / 2), 1.0, 1e-9);
  EXPECT_EQ(row[16], "*");
}

// The worked example of the README: 10 + 10 haplotypes of 4 sites, the site
// at 0.1 tested in a fixed window of all four (-window 3 gives K = 3, m = 4,
// classes of width 1). Against population 1's majority haplotype 0000, the
// candidate left out, the class counts are {8, 1, 1} and {2, 3, 5} (the five
// HAC values 3 join the last class). With f = (count + 0.5) / (10 + 1.5):
//   S = (6 ln(8.5/2.5) + 2 ln(3.5/1.5) + 4 ln(5.5/1.5)) / 11.5,
//   JHac = 10*10/20 * S = 6.1889, Pval = Q(1, JHac / 2) = exp(-JHac / 2).
TEST_F(Analysis, WorkedJhacExampleOfTheReadme) {
  std::string text = "ms 20 1\n1 2 3\n";
  const std::vector<std::vector<std::string>> populations = {
      {"0000", "0000", "0000", "0000", "0000", "0000", "0000", "0000", "0100", "0110"},
      {"1000", "1000", "1100", "1100", "1100", "1111", "1111", "1111", "1111", "1111"}};
  for (const auto& haplotypes : populations) {
    text += "\n//\nsegsites: 4\npositions: 0.1 0.2 0.3 0.4\n";
    for (const std::string& h : haplotypes) text += h + "\n";
  }
  write("jhac.ms", text);
  const RunResult r =
      run({"-input", "jhac.ms", "-sample", "10", "-window", "3", "-minwin", "3", "-selectives", "0.1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> table =
      lines(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W3.tsv"));
  ASSERT_EQ(table.size(), 3u);
  const std::vector<std::string> row = fields(table[1]);
  ASSERT_EQ(row.size(), 17u) << table[1];
  EXPECT_EQ(row[4], "4");  // Wide
  EXPECT_EQ(row[7], "3");  // NCLASSES
  const double S =
      (6 * std::log(8.5 / 2.5) + 2 * std::log(3.5 / 1.5) + 4 * std::log(5.5 / 1.5)) / 11.5;
  const double jhac = 100.0 / 20.0 * S;
  EXPECT_NEAR(std::stod(row[14]), jhac, 1e-9);
  EXPECT_NEAR(std::stod(row[15]), std::exp(-jhac / 2), 1e-12);
  EXPECT_EQ(row[14], "6.18886097697");  // the figures the README prints
  EXPECT_EQ(row[15], "0.0453008044449");
  EXPECT_EQ(row[16], "*");
}

// A fixed window as wide as the sample: -window 12 over the 12 sites of
// handWorkedMs() gives K = 12 and m = 12, so (m - 1) / K is 0 and the width 1.
//   HAC values at site 5: population 1 one 0 and nine 1, population 2 ten 11.
//   With f = (count + 0.5) / (10 + 6): S = (ln 3 + 9 ln 19 + 10 ln 21) / 16,
//   JHac = 5 S, Pval = Q(5.5, JHac / 2) (0.078). Only the values 11 had a class
//   before: population 1 in no class, JHac 5 (10 / 16) ln 21.
TEST_F(Analysis, HacClassesOfAFixedWindowAsWideAsTheSample) {
  write("hand.ms", handWorkedMs());
  const RunResult r = run({"-input", "hand.ms", "-sample", "10", "-window", "12", "-selectives",
                           "0.44", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> table =
      lines(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W12.tsv"));
  ASSERT_GE(table.size(), 2u);
  const std::vector<std::string> row = fields(table[1]);
  ASSERT_EQ(row.size(), 17u) << table[1];
  EXPECT_EQ(row[4], "12");
  EXPECT_EQ(row[7], "12");
  const double jhac = 5.0 * (std::log(3.0) + 9 * std::log(19.0) + 10 * std::log(21.0)) / 16;
  EXPECT_NEAR(std::stod(row[14]), jhac, 1e-9);
  EXPECT_NEAR(std::stod(row[15]) / upperGammaHalf(5.5, jhac / 2), 1.0, 1e-9);
}

// The user site 0.44 of handWorkedMs() is site 5; a fixed window of 11 sites gives
// K = 11 classes of width 1 and m = 12 (the window covers all 12 sites).
//   HAC values against population 1's majority haplotype (all 0), site 5 left out:
//   population 1: one 0 (haplotype 5) and nine 1; population 2: ten 11 (= m - 1,
//   the last class). With f = (count + 0.5) / (10 + 5.5):
//   S = (1/15.5) ln 3 + (9/15.5) ln 19 + (10/15.5) ln 21, JHac = 10*10/20 * S,
//   Pval = Q(5, JHac / 2).
//   FST: sites 0..9 give 1 - 0.1/0.5 = 0.8, sites 10 and 11 give 1; the mean
//   (ratio of sums) is 1 - 1/6, above 0.5: the high-mean rule, no p-value.
TEST_F(Analysis, HandWorkedJhacRow) {
  write("hand.ms", handWorkedMs());
  const RunResult r = run({"-input", "hand.ms", "-sample", "10", "-window", "11", "-selectives",
                           "0.44", "-doEOS", "1", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11";
  EXPECT_NE(r.out.find("WRITING Pravolin OUTPUT FILE " + name + ".tsv\n"), std::string::npos);

  const std::vector<std::string> table = lines(read(name + ".tsv"));
  ASSERT_GE(table.size(), 5u);
  EXPECT_EQ(table[0],
            "File\t#SNPs\tCandidate\tSNP\tWide\tIni\tEnd\tNCLASSES\tMeanFST\tFST\tFSTindex\tfstPval"
            "\tn1\tn2\tJHac\tPval\tSig");
  EXPECT_EQ(table[1], "");
  EXPECT_EQ(table[2], "WARNING: THE AVERAGE FST WAS GREATER THAN 0.5 IN FILE hand.ms");
  EXPECT_EQ(table[3], "");
  const std::vector<std::string> row = fields(table[4]);
  ASSERT_EQ(row.size(), 17u);
  EXPECT_EQ(row[0], "hand.ms");
  EXPECT_EQ(row[1], "12");
  EXPECT_EQ(row[2], "1");
  EXPECT_EQ(row[3], "0.44");
  EXPECT_EQ(row[4], "12");
  EXPECT_EQ(row[5], "0");
  EXPECT_EQ(row[6], "0");
  EXPECT_EQ(row[7], "11");
  EXPECT_NEAR(std::stod(row[8]), 1.0 - 1.0 / 6.0, 1e-11);
  EXPECT_NEAR(std::stod(row[9]), 0.8, 1e-11);
  EXPECT_NEAR(std::stod(row[10]), 0.8 - (1.0 - 1.0 / 6.0), 1e-11);
  EXPECT_EQ(row[11], "NA");
  EXPECT_EQ(row[12], "10");
  EXPECT_EQ(row[13], "10");
  const double S = (std::log(3.0) + 9 * std::log(19.0) + 10 * std::log(21.0)) / 15.5;
  const double jhac = 100.0 / 20.0 * S;
  EXPECT_NEAR(std::stod(row[14]), jhac, 1e-9);
  EXPECT_NEAR(std::stod(row[15]) / upperGammaWhole(5, jhac / 2), 1.0, 1e-9);
  EXPECT_EQ(row[16], "*");

  // The significant-rows table holds the same row; the outlier report has no
  // outlier counts under the high-mean rule.
  EXPECT_NE(read(name + "_SIG.tsv").find(table[4] + "\n"), std::string::npos);
  const std::string report = read(name + "_FSTs.txt");
  EXPECT_EQ(report.find("MAF = 0.01\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 0%\n"), 0u);
  EXPECT_NE(report.find("#SNPs\t12\nNo EOS test: mean FST 0.833333333333 is above 0.5\n\n"
                        "*************** Non-EOS FST OUTLIERS\nNA\n\n\n*************** "
                        "EOS FST OUTLIERS\nNA\n"),
            std::string::npos);
}

TEST_F(Analysis, RowsOfAFileAreSortedByPosition) {
  write("hand.ms", handWorkedMs());
  // Sites given as 0.84, 0.5, 0.44; 0.5 is no site's position and takes the
  // nearest site, at 0.52.
  const RunResult r = run({"-input", "hand.ms", "-sample", "10", "-window", "11", "-selectives",
                           "0.84", "0.5", "0.44"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::vector<std::string> table =
      lines(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv"));
  ASSERT_GE(table.size(), 4u);
  EXPECT_EQ(fields(table[1])[3], "0.44");
  EXPECT_EQ(fields(table[2])[3], "0.52");
  EXPECT_EQ(fields(table[3])[3], "0.84");
  EXPECT_EQ(fields(table[3])[2], "3");
}

TEST_F(Analysis, BlocksOverSeveralRunsGiveRowsAndASummary) {
  for (int f = 0; f < 3; ++f) copyData("ms/sim" + std::to_string(f) + ".txt");
  const RunResult r = run({"-input", "sim", "-runs", "3", "-sample", "30", "-sample2", "30",
                           "-doEOS", "1", "-maf", "0.05", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  // Without -verbose the seed is reported nowhere.
  EXPECT_EQ(r.out.find("seed"), std::string::npos);
  EXPECT_FALSE(exists("Pravis.log"));
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.05_NF3_Blocks";
  const std::vector<std::string> table = lines(read(name + ".tsv"));
  std::size_t rows = 0;
  double lastPosition = -1;
  std::string lastFile;
  for (const std::string& line : table) {
    const std::vector<std::string> row = fields(line);
    if (row.size() != 17 || row[0] == "File") continue;
    ++rows;
    if (row[0] != lastFile) lastPosition = -1;
    EXPECT_GE(std::stod(row[3]), lastPosition) << "rows of a file are sorted by position";
    lastPosition = std::stod(row[3]);
    lastFile = row[0];
    EXPECT_TRUE(row[16] == "*" || row[16] == "ns");
    const double pval = std::stod(row[15]);
    EXPECT_EQ(row[16] == "*", pval <= 0.05);
  }
  EXPECT_GT(rows, 0u);
  EXPECT_NE(read(name + ".tsv").find("\nSegSites\tCandidate\tMean_size\tMean_pos\t%PowerJ\t%FPJJ\n"),
            std::string::npos);
  EXPECT_TRUE(exists(name + "_FSTs.txt"));
  // Verbose runs write the whole log text at the end.
  const RunResult v = run({"-input", "sim0.txt", "-sample", "30", "-sample2", "30", "-maf",
                           "0.05", "-verbose", "1", "-fixseed", "1"});
  EXPECT_EQ(v.status, 0);
  const std::string log = read("Pravis.log");
  EXPECT_NE(log.find("\nWARNING: Fixed seed mode is on. Fixed seed is 777"), std::string::npos);
  EXPECT_NE(log.find("\nPravolin of file sim0.txt:\n\nSample sizes are 30 and 30\n"),
            std::string::npos);
  EXPECT_NE(log.find("\n\nPravolin FINISHED. Time processing: "), std::string::npos);

  // Population 1, the automatic reference, has no block: its sites vary
  // independently (D = 0 at every pair). Population 2's five sites are one
  // block (each haplotype all 0 or all 1), whose centre is the candidate: the
  // rows are those of -reference 2, which the console and the log say.
  std::vector<std::string> haplotypes[2];
  for (int i = 0; i < 8; ++i) {
    haplotypes[0].push_back(std::vector<std::string>{"00000", "01010", "10101", "11111"}[i % 4]);
    haplotypes[1].push_back(std::string(5, i < 4 ? '0' : '1'));
  }
  const std::string positions = "0.1 0.3 0.5 0.7 0.9";
  write("fb.ms", "ms 16 1\n1 2 3\n" + msBlock(positions, haplotypes[0]) +
                     msBlock(positions, haplotypes[1]));
  std::vector<std::string> args = {"-input", "fb.ms", "-sample", "8", "-minwin", "3", "-verbose",
                                   "1"};
  const RunResult f = run(args);
  const std::string fallback =
      "\nPopulation 1, the automatic reference, has no haplotype block in file fb.ms: the blocks "
      "of population 2 give the candidates, their windows and the haplotype that the HAC values "
      "are counted against, as with -reference 2; the results name still says AutoRefPop\n";
  EXPECT_NE(f.out.find(fallback), std::string::npos) << f.out;
  EXPECT_NE(read("Pravis.log").find(fallback), std::string::npos);
  const std::string automatic = read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks.tsv");
  EXPECT_NE(automatic.find("\nfb.ms\t5\t1\t0.5\t5\t"), std::string::npos) << automatic;
  args[6] = "-reference";
  args[7] = "2";
  EXPECT_EQ(run(args).out.find("automatic reference"), std::string::npos);
  EXPECT_EQ(read("Pravis_Results/Prav_out_RefPop2_MAF_0.01_Blocks.tsv"), automatic);
}

TEST_F(Analysis, OnlyRsidInfoWritesTheSnpTableAndEnds) {
  write("a.fas", ">a1\nACGTA\n>a2\nACGTT\n>b1\nTCGTA\n>b2\nTCGAA\n");
  RunResult r = run({"-format", "fasta", "-input", "a.fas", "-onlyrsidInfo", "1", "-maf", "0"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos);
  // Sites 0, 3 and 4 vary (site 4: population 1 carries A and T, A is its major base).
  const std::string pop1 = "\n\t0\t0\t0\n\t1\t1\t0\n\t2\t2\t0\n\t3\t3\t0\n\t4\t4\t0.5\n";
  const std::string pop2 = "\n\t0\t0\t1\n\t1\t1\t0\n\t2\t2\t0\n\t3\t3\t0.5\n\t4\t4\t0\n";
  EXPECT_EQ(read("Pravis_Results/Prav_out_.txt"),
            "\nPopulation\trsID\tPosition\tFrequency\n1" + pop1 + "2" + pop2 + "\n");
  // The same populations in two files: each is labelled with its file.
  write("one.fas", ">a1\nACGTA\n>a2\nACGTT\n");
  write("two.fas", ">b1\nTCGTA\n>b2\nTCGAA\n");
  r = run({"-format", "fasta", "-input", "one.fas", "-input2", "two.fas", "-onlyrsidInfo", "1",
           "-maf", "0", "-output", "pair"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(read("Pravis_Results/pair_.txt"),
            "\nPopulation\trsID\tPosition\tFrequency\none.fas" + pop1 + "two.fas" + pop2 + "\n");
  // With several runs nothing is written, and the console says why; one file
  // holds both populations, 1 and 2.
  write("a.fas0.txt", read("a.fas"));
  r = run({"-format", "fasta", "-input", "a.fas", "-onlyrsidInfo", "1", "-runs", "3", "-output",
           "x", "-verbose", "1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(exists("Pravis_Results/x_.txt"));
  EXPECT_NE(r.out.find("\nThe SNPs information table for files1 and 2 was done\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nThe SNP information table is written for a single run only (-runs 1): "
                       "no table was written for these 3 runs\n"),
            std::string::npos);
}
