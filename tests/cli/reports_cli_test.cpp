// The FST-outlier report next to the results table: which runs it lists and
// what its percentage counts.
#include <map>
#include <sstream>

#include "cli_harness.hpp"
#include "sample_files.hpp"
#include "text_table.hpp"

namespace {

// MS output with both populations in one sample of 2n haplotypes (read with
// -sample n -sample2 n), 60 sites drawn independently in every haplotype, so
// that no neighbours are linked and no haplotype block forms. Sites 15, 30
// and 45 have far apart allele frequencies in the two populations (the EOS
// outliers); every other site has one frequency in both.
std::string msUnlinkedWithOutliers(int n, std::uint64_t seed) {
  TestRandom rnd(seed);
  const int sites = 60;
  std::vector<double> f1(sites), f2(sites);
  for (int s = 0; s < sites; ++s) f1[s] = f2[s] = 0.3 + 0.4 * rnd.uniform();
  f1[15] = 0.1, f2[15] = 0.9;
  f1[30] = 0.15, f2[30] = 0.85;
  f1[45] = 0.1, f2[45] = 0.8;
  std::ostringstream text;
  text << "ms " << 2 * n << " 1 -t 5\n1 2 3\n\n//\nsegsites: " << sites << "\npositions:";
  for (int s = 0; s < sites; ++s) text << " " << (s + 0.5) / sites;
  text << "\n";
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < n; ++i) {
      std::string h;
      for (int s = 0; s < sites; ++s) h += rnd.uniform() < (pop == 0 ? f1 : f2)[s] ? '1' : '0';
      text << h << "\n";
    }
  return text.str();
}

// The count that follows a title line of each file's part of the report; -1
// for NA, the count of a file without the test.
std::vector<int> countsAfter(const std::string& report, const std::string& title) {
  std::vector<int> counts;
  for (std::size_t at = report.find(title); at != std::string::npos;
       at = report.find(title, at + 1))
    counts.push_back(report.compare(at + title.size(), 3, "NA\n") == 0
                         ? -1
                         : std::stoi(report.substr(at + title.size())));
  return counts;
}

// The "#SNPs" count of the file whose part of the report starts at from.
int reportedSites(const std::string& report, std::size_t from) {
  const std::string title = "\n#SNPs\t";
  return std::stoi(report.substr(report.find(title, from) + title.size()));
}

const std::string noSelection = "\n***NO SELECTION DETECTED IN THIS FILE.***\n";
const std::string eosTitle = "*************** EOS FST OUTLIERS\n";

}  // namespace

class Reports : public CliTest {};

// A run with EOS outliers and no haplotype block ends with no candidate: no
// row in the results table, but its outliers are reported, as the EOS test
// alone (-onlyEOS) reports them.
TEST_F(Reports, RunWithoutBlocksIsListedWithItsOutliers) {
  write("noblock.ms", msUnlinkedWithOutliers(50, 2));
  const RunResult r = run({"-input", "noblock.ms", "-sample", "50", "-sample2", "50", "-doEOS",
                           "1", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(noSelection), std::string::npos) << r.out;
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks";
  ASSERT_TRUE(exists(name + ".tsv"));
  EXPECT_EQ(read(name + ".tsv"), "");
  EXPECT_EQ(read(name + "_SIG.tsv"), "");

  const std::string report = read(name + "_FSTs.txt");
  EXPECT_EQ(report.find("MAF = 0.01\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 100%\n\n"
                        "****************************************************\nFILE noblock.ms\n"),
            0u)
      << report;
  EXPECT_NE(report.find("\n#SNPs\t60\n"), std::string::npos) << report;
  EXPECT_EQ(countsAfter(report, eosTitle), std::vector<int>{3}) << report;

  const RunResult eos = run({"-input", "noblock.ms", "-sample", "50", "-sample2", "50",
                             "-onlyEOS", "1", "-fixseed", "1"});
  ASSERT_EQ(eos.status, 0) << eos.out;
  EXPECT_EQ(read("Pravis_Results/Prav_out_EOS__MAF0.01_FSTs.txt"), report);
}

// Three runs, the second without blocks: the report lists all three in run
// order and its percentage counts the second; the results table holds the
// rows of the other two, and its summary is over those two analysed files
// (%PowerJ) and the three runs that found common sites (%FPJJ).
TEST_F(Reports, PercentageCountsRunsWithoutCandidates) {
  copyData("ms/sim0.txt", "run0.txt");  // blocks, mean FST above 0.5: no EOS test
  write("run1.txt", msUnlinkedWithOutliers(30, 2));
  copyData("ms/sim2.txt", "run2.txt");  // blocks and EOS outliers
  const RunResult r = run({"-input", "run", "-runs", "3", "-sample", "30", "-sample2", "30",
                           "-doEOS", "1", "-maf", "0.05", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::size_t none = r.out.find(noSelection);
  ASSERT_NE(none, std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(noSelection, none + 1), std::string::npos) << "one run without blocks";

  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.05_NF3_Blocks";
  const std::string report = read(name + "_FSTs.txt");
  const std::vector<int> eosCounts = countsAfter(report, eosTitle);
  ASSERT_EQ(eosCounts.size(), 3u) << report;
  EXPECT_EQ(eosCounts[0], -1);
  EXPECT_GT(eosCounts[1], 0);
  EXPECT_GT(eosCounts[2], 0);
  EXPECT_EQ(report.find("MAF = 0.05\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 66.6667%\n"
                        "FILES WITHOUT EOS TEST (MEAN FST ABOVE 0.5) = 1\n"),
            0u)
      << report;
  const std::size_t file0 = report.find("\nFILE run0.txt\n");
  const std::size_t file1 = report.find("\nFILE run1.txt\n");
  const std::size_t file2 = report.find("\nFILE run2.txt\n");
  EXPECT_LT(file0, file1);
  EXPECT_LT(file1, file2);
  ASSERT_NE(file2, std::string::npos);
  EXPECT_EQ(reportedSites(report, file1), 60);

  // Rows of run0.txt and run2.txt only, and their #SNPs as in the report.
  std::istringstream table(read(name + ".tsv"));
  std::map<std::string, int> sites;
  std::vector<double> significant;
  std::string line, segsites;
  double mean = -1;
  while (std::getline(table, line)) {
    const std::vector<std::string> row = fields(line);
    if (row.size() == 17 && row[0] != "File") {
      sites[row[0]] = std::stoi(row[1]);
      const std::size_t rank = std::stoul(row[2]);
      if (significant.size() < rank) significant.resize(rank);
      if (row[16] == "*") significant[rank - 1] += 1;
    } else if (row.size() == 6 && !row[0].empty() && row[0] != "SegSites") {
      mean = std::stod(row[0]);
      segsites = line;
    }
  }
  ASSERT_EQ(sites.size(), 2u);
  ASSERT_EQ(sites.count("run0.txt") + sites.count("run2.txt"), 2u);
  EXPECT_EQ(reportedSites(report, file0), sites["run0.txt"]);
  EXPECT_EQ(reportedSites(report, file2), sites["run2.txt"]);
  EXPECT_DOUBLE_EQ(mean, (sites["run0.txt"] + sites["run2.txt"]) / 2.0);
  const std::vector<std::string> first = fields(segsites);
  ASSERT_FALSE(significant.empty());
  EXPECT_NEAR(std::stod(first[4]), significant[0] * 100 / 2, 1e-9) << segsites;
  EXPECT_NEAR(std::stod(first[5]), significant[0] * 100 / 3, 1e-9) << segsites;
}

// Four fixed differences among sites that both populations carry alike: the
// fence keeps the four, all of FST 1, and k-means keeps them as one cluster,
// the top one, as it keeps a single such site. Fixed differences alone leave
// no test to run.
TEST_F(Reports, FixedDifferencesOfOneFstAreEosOutliers) {
  const int sites = 40;
  std::vector<std::string> rows;
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < 10; ++i) {
      std::string h;
      for (int s = 0; s < sites; ++s)
        h += s % 10 == 5 ? (pop == 0 ? '0' : '1') : ((i + s) % 4 == 0 ? '1' : '0');
      rows.push_back(h);
    }
  write("fixed.ms", "ms 20 1\n1 2 3\n" + msBlock(evenPositions(sites), rows));
  const RunResult r = run({"-input", "fixed.ms", "-sample", "10", "-sample2", "10", "-onlyEOS",
                           "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string report = read("Pravis_Results/Prav_out_EOS__MAF0.01_FSTs.txt");
  EXPECT_EQ(report.find("MAF = 0.01\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 100%\n"), 0u)
      << report;
  EXPECT_EQ(countsAfter(report, eosTitle), std::vector<int>{4}) << report;
  EXPECT_EQ(countsAfter(report, "Non-EOS FST OUTLIERS\n"), std::vector<int>{0}) << report;

  // Thirty fixed differences, as a VCF pair and as Genepop: the mean FST, 1,
  // is above 0.5, so no test runs; the console says so, the counts read NA.
  std::string a = "#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\ts0\ts1\n", b = a;
  std::string gp = "title\n", ones, twos;
  for (int s = 1; s <= 30; ++s) {
    const std::string record = "1\t" + std::to_string(s) + "\t.\tA\tG\t.\t.\t.\tGT\t";
    a += record + "0|0\t0|0\n";
    b += record + "1|1\t1|1\n";
    gp += "L" + std::to_string(s) + "\n";
    ones += " 0101";
    twos += " 0202";
  }
  write("a.vcf", a);
  write("b.vcf", b);
  write("g.txt", gp + "Pop\na," + ones + "\nb," + ones + "\nPop\nc," + twos + "\nd," + twos + "\n");
  for (std::vector<std::string> words :
       {std::vector<std::string>{"a.vcf vs b.vcf", "vcf", "-input2", "b.vcf", "-onlyEOS", "1"},
        {"g.txt", "gp"}}) {
    const std::string name = words[0], format = words[1], input = name.substr(0, 5);
    words.insert(words.begin() + 2,
                 {"-format", format, "-maf", "0", "-output", format, "-input", input});
    const RunResult high = run({words.begin() + 2, words.end()});
    ASSERT_EQ(high.status, 0) << high.out;
    EXPECT_NE(high.out.find("\nNo EOS test in file " + name + ": its mean FST, 1, is above 0.5 "
                            "(no Lewontin-Krakauer test, fence or k-means)\n"),
              std::string::npos)
        << high.out;
    const std::string stars(52, '*');
    EXPECT_EQ(read("Pravis_Results/" + format + "_EOS__MAF0_FSTs.txt"),
              "MAF = 0\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 0%\nFILES WITHOUT EOS "
              "TEST (MEAN FST ABOVE 0.5) = 1\n\n" + stars + "\nFILE " + name + "\n" + stars +
                  "\n\n#SNPs\t30\nNo EOS test: mean FST 1 is above 0.5\n\n*************** "
                  "Non-EOS FST OUTLIERS\nNA\n\n\n*************** EOS FST OUTLIERS\nNA\n");
  }
}
