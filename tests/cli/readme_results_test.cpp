// What a user reads in the results: the names of the results files, the
// tables of a run without candidates, the columns that read NA without a test
// behind them, the outlier report of allele-count input, the logs left by
// earlier executions, and the figures of the shipped example.
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <utility>

#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) out.push_back(part);
  return out;
}

// The candidate rows of a results table (17 fields, not the header).
std::vector<std::vector<std::string>> candidateRows(const std::string& table) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : split(table, '\n')) {
    const std::vector<std::string> row = split(line, '\t');
    if (row.size() == 17 && row[0] != "File") rows.push_back(row);
  }
  return rows;
}

// The outlier rows (ID, Pos, FST, p-value) of one list of the report, in
// the report's order; title is "Non-EOS" or "EOS".
std::vector<std::vector<std::string>> outlierRows(const std::string& report,
                                                  const std::string& title) {
  const std::string heading = "*************** " + title + " FST OUTLIERS\n";
  const std::size_t at = report.find(heading);
  std::vector<std::vector<std::string>> rows;
  if (at == std::string::npos) return rows;
  const std::size_t end = report.find("***************", at + heading.size());
  for (const std::string& line : split(report.substr(at, end - at), '\n'))
    if (line.rfind("\t\t\t", 0) == 0 && line != "\t\t\tID\tPos\tFST\tpval(LK test)")
      rows.push_back(split(line.substr(3), '\t'));
  return rows;
}

// A value as the tables print it, after a round trip through single precision.
std::string asSinglePrecision(const std::string& printed) {
  std::ostringstream text;
  text << std::setprecision(12) << static_cast<double>(static_cast<float>(std::stod(printed)));
  return text.str();
}

// MS output, one sample of n + n haplotypes over 20 sites at (s + 0.5) / 20:
// one(pop, i, s) says whether haplotype i of population pop carries allele 1
// at site s.
template <typename Allele>
std::string msTwentySites(int n, Allele one) {
  std::ostringstream text;
  text << "ms " << 2 * n << " 1 -t 5\n1 2 3\n\n//\nsegsites: 20\npositions:";
  for (int s = 0; s < 20; ++s) text << " " << (s + 0.5) / 20;
  text << "\n";
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < n; ++i) {
      for (int s = 0; s < 20; ++s) text << (one(pop, i, s) ? '1' : '0');
      text << "\n";
    }
  return text.str();
}

// 10 + 10 haplotypes: every site carries allele 1 in one haplotype of
// population 1 and in all but one of population 2, so its FST (0.608) and the
// mean FST exceed 0.5.
std::string msFarApart() {
  return msTwentySites(10, [](int pop, int i, int s) { return ((i + s) % 10 == 0) == (pop == 0); });
}

// 8 + 8 haplotypes in which no two neighbouring sites are linked: the even
// sites carry allele 1 in haplotypes 4 to 7 of each population, the odd ones
// in haplotypes 2, 3, 6 and 7, so each pair has D = 2/8 - 1/2 * 1/2 = 0, and
// both populations share every frequency (FST 0). Site 10 (position 0.525)
// carries allele 1 in all of population 1 and none of population 2 (FST 1);
// fixed within each population, its pairs have D' 0 as well.
std::string msUnlinked() {
  return msTwentySites(8, [](int pop, int i, int s) {
    return s == 10 ? pop == 0 : s % 2 == 0 ? i >= 4 : i % 4 >= 2;
  });
}

// Twelve loci of 20 + 20 diploid individuals; locus 8 is nearly fixed for
// opposite alleles in the two populations, the others hold both alleles at
// about one half. Genotype words hold two alleles of two digits (0102), or,
// with haploid set, a single two-digit code per locus.
std::string genepopFile(bool haploid) {
  TestRandom rnd(3);
  std::ostringstream text;
  text << "Twelve loci\n";
  for (int l = 1; l <= 12; ++l) text << (l > 1 ? ", " : "") << "Loc" << l;
  text << "\n";
  for (int pop = 0; pop < 2; ++pop) {
    text << "Pop\n";
    for (int i = 0; i < 20; ++i) {
      text << "ind" << pop << "_" << i << " ,";
      for (int l = 1; l <= 12; ++l) {
        const double one = l != 8 ? 0.5 : pop == 0 ? 0.95 : 0.05;
        const int a = rnd.uniform() < one ? 1 : 2;
        const int b = rnd.uniform() < one ? 1 : 2;
        text << " 0" << a;
        if (!haploid) text << "0" << b;
      }
      text << "\n";
    }
  }
  return text.str();
}

// The same design as PLINK map and ped files (map first, then ped), the
// map's locus names in mixed case.
std::pair<std::string, std::string> plinkFiles() {
  TestRandom rnd(5);
  std::ostringstream map, ped;
  for (int l = 1; l <= 12; ++l) map << "1 Snp" << l << "x 0 " << 1000 * l << "\n";
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < 20; ++i) {
      ped << "F" << pop << " i" << i << " 0 0 1 -9";
      for (int l = 1; l <= 12; ++l) {
        const double one = l != 8 ? 0.5 : pop == 0 ? 0.95 : 0.05;
        for (int copy = 0; copy < 2; ++copy) ped << (rnd.uniform() < one ? " A" : " G");
      }
      ped << "\n";
    }
  return {map.str(), ped.str()};
}

const std::string noSelection = "\n***NO SELECTION DETECTED IN THIS FILE.***\n";

}  // namespace

class ReadmeResults : public CliTest {
 protected:
  // The shipped example, read as the Quick start reads it, with more options.
  RunResult runExample(const std::vector<std::string>& options) const {
    std::vector<std::string> args = {"-path",   std::string(PRAVOLIN_EXAMPLES) + "/", "-input",
                                     "example.ms", "-sample", "50", "-sample2", "50"};
    args.insert(args.end(), options.begin(), options.end());
    return run(args);
  }
  void expectWritten(const RunResult& r, const std::string& name) const {
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("WRITING Pravolin OUTPUT FILE Pravis_Results/" + name + ".tsv\n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(exists("Pravis_Results/" + name + ".tsv")) << name;
  }
};

// A first run of the example with the default options finds no haplotype
// block: nothing to test, so both tables stay empty, without a header, and
// the outlier report lists the file with no outlier.
TEST_F(ReadmeResults, RunsWithoutCandidatesLeaveTheTablesEmpty) {
  RunResult r = runExample({"-doEOS", "1"});
  const std::string name = "Prav_out_AutoRefPop1_MAF_0.01_Blocks";
  expectWritten(r, name);
  EXPECT_NE(r.out.find(noSelection), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_Results/" + name + ".tsv"), "");
  EXPECT_EQ(read("Pravis_Results/" + name + "_SIG.tsv"), "");
  const std::string report = read("Pravis_Results/" + name + "_FSTs.txt");
  EXPECT_NE(report.find("FILE example.ms\n"), std::string::npos) << report;
  EXPECT_NE(report.find("#SNPs\t632\n\n*************** Non-EOS FST OUTLIERS\n0\n\n\n"
                        "*************** EOS FST OUTLIERS\n0\n"),
            std::string::npos)
      << report;

  // A fixed window without -doEOS switches blocks off and leaves no candidate.
  r = runExample({"-maf", "0.1", "-window", "41"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_W41");
  EXPECT_NE(r.out.find(noSelection), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_W41.tsv"), "");

  // Tables of an earlier execution with the same name are left as they were.
  r = runExample({"-maf", "0.1"});
  const std::string blocks = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_Blocks";
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_Blocks");
  const std::string table = read(blocks + ".tsv"), significant = read(blocks + "_SIG.tsv");
  ASSERT_EQ(candidateRows(table).size(), 4u) << table;
  r = runExample({"-maf", "0.1", "-SL", "0"});  // no pair of sites linked: no block
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_Blocks");
  EXPECT_NE(r.out.find(noSelection), std::string::npos) << r.out;
  EXPECT_EQ(read(blocks + ".tsv"), table);
  EXPECT_EQ(read(blocks + "_SIG.tsv"), significant);
}

// Blocks form among common sites: the example has none at the default -maf,
// two at 0.05 (four at 0.1: FiguresOfTheShippedExample). Without blocks,
// fixed windows around every site give rows, while outlier candidates give
// none at the default -maf, where no site passes the upper fence.
TEST_F(ReadmeResults, WhichMafAndRowsWithoutBlocks) {
  RunResult r = runExample({"-maf", "0.05"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.05_Blocks");
  EXPECT_EQ(candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.05_Blocks.tsv")).size(),
            2u);
  // With the EOS test every site's row also gives its FST.
  r = runExample({"-selectives", "inf", "-window", "41", "-doEOS", "1"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.01_W41");
  const auto rows = candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W41.tsv"));
  EXPECT_EQ(rows.size(), 632u);
  for (const auto& row : rows) {
    EXPECT_NE(row[14], "NA") << row[3];
    EXPECT_NE(row[9], "NA") << row[3];
  }
  r = runExample({"-useblocks", "0"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.01");
  EXPECT_NE(r.out.find(noSelection), std::string::npos) << r.out;
}

// At -maf 0.1 the neutral example gives four blocks, three of them
// significant; the EOS test finds 6 k-means outliers among 55 fence
// outliers. Its outlier candidates (-useblocks 0) come from both lists:
// every MS position lies within 1.0 of the others, so they merge into one,
// the Non-EOS outlier with the largest p-value, the last of its list.
TEST_F(ReadmeResults, FiguresOfTheShippedExample) {
  RunResult r = runExample({"-maf", "0.1", "-doEOS", "1"});
  const std::string blocks = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_Blocks";
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_Blocks");
  const std::vector<std::vector<std::string>> rows = candidateRows(read(blocks + ".tsv"));
  ASSERT_EQ(rows.size(), 4u);
  std::string marks;
  for (const std::vector<std::string>& row : rows) {
    EXPECT_EQ(row[1], "347");
    marks += row[16] + " ";
  }
  EXPECT_EQ(marks, "ns * * * ");
  EXPECT_EQ(candidateRows(read(blocks + "_SIG.tsv")).size(), 3u);
  const std::string report = read(blocks + "_FSTs.txt");
  const std::vector<std::vector<std::string>> nonEos = outlierRows(report, "Non-EOS");
  EXPECT_EQ(nonEos.size(), 49u) << report;
  EXPECT_EQ(outlierRows(report, "EOS").size(), 6u) << report;

  r = runExample({"-maf", "0.1", "-useblocks", "0"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1");
  const std::vector<std::vector<std::string>> outlier =
      candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1.tsv"));
  ASSERT_EQ(outlier.size(), 1u);
  ASSERT_FALSE(nonEos.empty());
  EXPECT_EQ(outlier[0][3], "0.655908");
  EXPECT_EQ(outlier[0][3], nonEos.back()[1]);
  EXPECT_EQ(outlier[0][9], nonEos.back()[2]);   // its FST
  EXPECT_EQ(outlier[0][11], nonEos.back()[3]);  // its p-value
  EXPECT_EQ(outlier[0][16], "*");

  // -maxwin caps the classes, not the windows: the blocks keep their widths.
  r = runExample({"-maf", "0.1", "-maxwin", "12"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_Blocks");
  const std::vector<std::vector<std::string>> capped =
      candidateRows(read(blocks + ".tsv"));  // appended after the first table
  ASSERT_EQ(capped.size(), 8u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(capped[4 + k][4], rows[k][4]);  // Wide
    EXPECT_EQ(capped[4 + k][7], "12");        // NCLASSES
  }
  EXPECT_EQ(rows[0][4] + " " + rows[1][4], "19 20");
}

// MeanFST, FST, FSTindex and fstPval read NA when no EOS test ran, and
// fstPval reads NA in every row of a file whose mean FST exceeds 0.5, where
// the Lewontin-Krakauer test does not run; FST is still computed there.
TEST_F(ReadmeResults, FstColumnsWithoutATestReadNA) {
  RunResult r = runExample({"-maf", "0.1"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.1_Blocks");
  const std::vector<std::vector<std::string>> rows =
      candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_Blocks.tsv"));
  ASSERT_EQ(rows.size(), 4u);
  for (const std::vector<std::string>& row : rows)
    EXPECT_EQ(row[8] + " " + row[9] + " " + row[10] + " " + row[11], "NA NA NA NA") << row[3];

  write("far.ms", msFarApart());
  r = run({"-input", "far.ms", "-sample", "10", "-sample2", "10", "-selectives", "inf",
           "-window", "11", "-doEOS", "1"});
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11";
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.01_W11");
  const std::string table = read(name + ".tsv");
  const std::string warning = "\nWARNING: THE AVERAGE FST WAS GREATER THAN 0.5 IN FILE far.ms\n\n";
  EXPECT_NE(table.find(warning), std::string::npos) << table;
  EXPECT_NE(read(name + "_SIG.tsv").find(warning), std::string::npos);
  const std::vector<std::vector<std::string>> far = candidateRows(table);
  ASSERT_EQ(far.size(), 20u);
  for (const std::vector<std::string>& row : far) {
    EXPECT_EQ(row[9], "0.607843137255") << row[3];
    EXPECT_EQ(row[11], "NA") << row[3];
  }
}

// A candidate that the JHac test does not run on reads NA in JHac, Pval and
// Sig and is never significant, not even at -SL 1, where a p-value of 1
// would be: a user site alone in its window (one class), and an outlier
// centre whose LD window has a mean D' of 0. A window that is tested and
// whose classes agree is a result: JHac 0, Pval 1.
TEST_F(ReadmeResults, UntestedCandidatesReadNA) {
  write("unlinked.ms", msUnlinked());
  auto analyse = [this](std::vector<std::string> options) {
    options.insert(options.begin(),
                   {"-input", "unlinked.ms", "-sample", "8", "-sample2", "8", "-SL", "1"});
    return run(options);
  };
  auto tail = [](const std::vector<std::string>& row) {
    return row[14] + " " + row[15] + " " + row[16];
  };

  // No neighbour of a user site is linked to it: its window is the site alone.
  RunResult r = analyse({"-selectives", "0.125", "0.525"});
  std::string name = "Prav_out_AutoRefPop1_MAF_0.01_Blocks";
  expectWritten(r, name);
  std::vector<std::vector<std::string>> rows =
      candidateRows(read("Pravis_Results/" + name + ".tsv"));
  ASSERT_EQ(rows.size(), 2u);
  for (const std::vector<std::string>& row : rows) {
    EXPECT_EQ(row[4] + " " + row[7], "1 1") << row[3];  // Wide, NCLASSES
    EXPECT_EQ(tail(row), "NA NA NA") << row[3];
  }
  EXPECT_TRUE(candidateRows(read("Pravis_Results/" + name + "_SIG.tsv")).empty());

  // The one outlier, site 10 (FST 1, mean FST 0: T = 1, p = Q(1/2, 1/2)),
  // centres a window of -minwin sites with no linkage.
  r = analyse({"-useblocks", "0"});
  name = "Prav_out_AutoRefPop1_MAF_0.01";
  expectWritten(r, name);
  rows = candidateRows(read("Pravis_Results/" + name + ".tsv"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][3] + " " + rows[0][4] + " " + rows[0][9], "0.525 11 1");
  EXPECT_NEAR(std::stod(rows[0][11]), std::erfc(1 / std::sqrt(2.0)), 1e-11);
  EXPECT_EQ(tail(rows[0]), "NA NA NA");
  EXPECT_TRUE(candidateRows(read("Pravis_Results/" + name + "_SIG.tsv")).empty());

  // Sites 0 to 5 hold the same haplotypes in both populations.
  r = analyse({"-selectives", "0.125", "-window", "5", "-minwin", "5"});
  name = "Prav_out_AutoRefPop1_MAF_0.01_W5";
  expectWritten(r, name);
  rows = candidateRows(read("Pravis_Results/" + name + "_SIG.tsv"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][4] + " " + tail(rows[0]), "6 0 1 *");
}

// The results name: the reference of the last run (0 when it ended before
// choosing one), RefPop only when a run used the given reference, _Blocks
// with user sites as with blocks.
TEST_F(ReadmeResults, ResultsNames) {
  RunResult r = runExample({"-maf", "0.99"});  // no site passes: no reference chosen
  expectWritten(r, "Prav_out_AutoRefPop0_MAF_0.99_Blocks");
  // The console says why the tables stay empty, also without -verbose.
  EXPECT_NE(r.out.find("\nThere are not common SNPs at frequency >= 0.99 in the file example.ms\n"),
            std::string::npos)
      << r.out;

  std::filesystem::copy_file(std::string(PRAVOLIN_EXAMPLES) + "/example.ms", dir_ / "run0.txt");
  r = run({"-input", "run", "-runs", "2", "-sample", "50", "-sample2", "50", "-maf", "0.1"});
  EXPECT_NE(r.out.find("Fail when reading run1.txt under MS format"), std::string::npos) << r.out;
  expectWritten(r, "Prav_out_AutoRefPop0_MAF_0.1_NF2_Blocks");
  const std::vector<std::vector<std::string>> rows =
      candidateRows(read("Pravis_Results/Prav_out_AutoRefPop0_MAF_0.1_NF2_Blocks.tsv"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0][0], "run0.txt");

  r = runExample({"-reference", "2", "-minwin", "700"});  // too few sites
  EXPECT_NE(r.out.find("too few SNPS 632 < 700"), std::string::npos) << r.out;
  expectWritten(r, "Prav_out_AutoRefPop2_MAF_0.01_Blocks");
  r = runExample({"-reference", "2", "-maf", "0.1"});
  expectWritten(r, "Prav_out_RefPop2_MAF_0.1_Blocks");

  r = runExample({"-selectives", "0.25", "0.5"});
  expectWritten(r, "Prav_out_AutoRefPop1_MAF_0.01_Blocks");
  EXPECT_EQ(candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks.tsv")).size(),
            2u);
}

// The outlier report of allele-count input: Genepop names its loci as its
// locus list writes them and places them at k / m in single precision; PLINK
// names them and places them as its map does; FST is computed in single
// precision. Genepop codes of two digits are one missing allele each, so
// every locus drops out and the run ends as one without common sites does,
// saying so on the console.
TEST_F(ReadmeResults, WindowEndsBeyondTwoToThe31PrintEveryDigit) {
  // 12 sites from 3000000000 on, 100 apart; a fixed window of 5 (6 sites
  // wide, as a fixed window over more sites is) around every site: the first
  // window holds sites 0 to 5, the last sites 6 to 11.
  TwoPopulations pops;
  pops.firstPosition = 3000000000;
  write("a.vcf", pops.vcf(0));
  write("b.vcf", pops.vcf(1));
  const RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-selectives",
                           "inf", "-window", "5", "-minwin", "5", "-maf", "0"});
  ASSERT_EQ(r.status, 0) << r.out;
  const auto rows = candidateRows(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0_W5.tsv"));
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows.front()[3], "3000000000");
  EXPECT_EQ(rows.front()[5], "3000000000");  // Ini
  EXPECT_EQ(rows.front()[6], "3000000500");  // End
  EXPECT_EQ(rows.back()[5], "3000000600");
  EXPECT_EQ(rows.back()[6], "3000001100");
}

TEST_F(ReadmeResults, AlleleCountOutlierIdsAndPositions) {
  write("g.txt", genepopFile(false));
  RunResult r = run({"-format", "gp", "-input", "g.txt"});
  const std::string name = "Pravis_Results/Prav_out_EOS__MAF0.01";
  expectWritten(r, "Prav_out_EOS__MAF0.01");
  EXPECT_EQ(read(name + ".tsv"), "");
  std::string report = read(name + "_FSTs.txt");
  std::vector<std::vector<std::string>> eos = outlierRows(report, "EOS");
  ASSERT_EQ(eos.size(), 1u) << report;
  EXPECT_EQ(eos[0][0], " Loc8");
  EXPECT_EQ(eos[0][1], "0.583333313465");  // 7 / 12
  EXPECT_EQ(eos[0][2], asSinglePrecision(eos[0][2]));

  const std::pair<std::string, std::string> plink = plinkFiles();
  write("d.map", plink.first);
  write("d.ped", plink.second);
  r = run({"-format", "plink", "-input", "d", "-output", "plink"});
  expectWritten(r, "plink_EOS__MAF0.01");
  report = read("Pravis_Results/plink_EOS__MAF0.01_FSTs.txt");
  eos = outlierRows(report, "EOS");
  ASSERT_EQ(eos.size(), 1u) << report;
  EXPECT_EQ(eos[0][0], "Snp8x");
  EXPECT_EQ(eos[0][1], "8000");
  EXPECT_EQ(eos[0][2], asSinglePrecision(eos[0][2]));

  write("h.txt", genepopFile(true));
  r = run({"-format", "gp", "-input", "h.txt", "-output", "haploid"});
  expectWritten(r, "haploid_EOS__MAF0.01");
  EXPECT_EQ(read("Pravis_Results/haploid_EOS__MAF0.01_FSTs.txt"), "");
  EXPECT_EQ(read("Pravis_Results/haploid_EOS__MAF0.01.tsv"), "");
  EXPECT_NE(r.out.find("\nThere are not common SNPs at frequency >= 0.01 in the file h.txt\n"),
            std::string::npos)
      << r.out;
  r = run({"-format", "gp", "-input", "h.txt", "-output", "haploid", "-verbose", "1"});
  std::size_t deleted = 0;
  for (std::size_t at = r.out.find("\ndeleted.\n"); at != std::string::npos;
       at = r.out.find("\ndeleted.\n", at + 1))
    ++deleted;
  EXPECT_EQ(deleted, 12u) << r.out;
}

// Pravis.log holds the last warning written, by this execution or an
// earlier one: it is not cleared at start. Pravis_ERROR.log is.
TEST_F(ReadmeResults, PravisLogKeepsTheWarningOfAnEarlierExecution) {
  const std::string tooFew = "\nIn file example.ms: too few SNPS 632 < 700\n 632\n";
  RunResult r = runExample({"-minwin", "700"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(read("Pravis.log"), tooFew);

  r = runExample({"-maf", "0.1"});  // no warning
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(read("Pravis.log"), tooFew);

  r = run({"-input", "missing.ms"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(exists("Pravis_ERROR.log"));
  r = runExample({"-maf", "0.1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(exists("Pravis_ERROR.log"));
  EXPECT_EQ(read("Pravis.log"), tooFew);

  r = runExample({"-maf", "0.1", "-useblocks", "0"});  // a warning replaces it
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(read("Pravis.log").find("setting doEOS to true"), std::string::npos);
  EXPECT_EQ(read("Pravis.log").find("too few SNPS"), std::string::npos);
}
