// What the README tells a user about the command line and the input formats,
// run as the user would: the Quick start analysis, the options' defaults and
// the forms of their values, -maf, -selectives, MS positions repeated at the
// printed precision, and the two-file forms of the formats.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli_harness.hpp"
#include "sample_files.hpp"
#include "text_table.hpp"

namespace {

const std::string examples = PRAVOLIN_EXAMPLES;

// The haplotype lines of one MS sample of two populations of 10 over the
// given sites: haplotype i of population p carries allele 1 at site s when
// i < ones[p][s], so that population p's allele-1 count at s is ones[p][s].
std::vector<std::string> countedRows(const std::vector<int> (&ones)[2]) {
  std::vector<std::string> rows;
  for (const std::vector<int>& counts : ones)
    for (int i = 0; i < 10; ++i) {
      std::string h;
      for (int c : counts) h += i < c ? '1' : '0';
      rows.push_back(h);
    }
  return rows;
}

// The words of the pravolin call in the README's first Quick start command,
// with the example folder given as it is in the sources.
std::vector<std::string> quickStartArguments() {
  std::ifstream in(examples + "/../README.md");
  std::string line;
  while (std::getline(in, line) && line.rfind("    cmake ", 0) != 0) {
  }
  const std::string call = "../build/pravolin ";
  const std::size_t at = line.find(call);
  if (at == std::string::npos) return {};
  std::istringstream words(line.substr(at + call.size(), line.find(')', at) - at - call.size()));
  std::vector<std::string> args;
  for (std::string w; words >> w;) args.push_back(w == "../examples/" ? examples + "/" : w);
  return args;
}

}  // namespace

class ReadmeUsage : public CliTest {
 protected:
  // One column of the rows of a results table (header and summary left out).
  std::vector<std::string> column(const std::string& table, std::size_t index) const {
    std::vector<std::string> values;
    for (const std::string& line : lines(read(table))) {
      const std::vector<std::string> row = fields(line);
      if (row.size() >= 17 && row[0] != "File") values.push_back(row[index]);
    }
    return values;
  }
  // a.vcf and b.vcf: 60 sites at 10000, 10010, ..., 10590.
  void writeVcfSitesEvery10From10000() const {
    TwoPopulations samples{60, 10};
    samples.firstPosition = 10000;
    samples.step = 10;
    write("a.vcf", samples.vcf(0));
    write("b.vcf", samples.vcf(1));
  }
  void clearResults() const {
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    std::filesystem::remove(dir_ / "Pravis.log");
  }
};

TEST_F(ReadmeUsage, QuickStartAnalysesTheShippedExample) {
  const std::vector<std::string> args = quickStartArguments();
  ASSERT_FALSE(args.empty()) << "no pravolin call in the README's first Quick start command";
  const RunResult r = run(args);
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_Blocks";
  EXPECT_EQ(read(name + ".tsv").find("File\t#SNPs\tCandidate\tSNP\t"), 0u);
  EXPECT_FALSE(column(name + ".tsv", 0).empty()) << read(name + ".tsv");
  EXPECT_TRUE(exists(name + "_FSTs.txt"));
}

TEST_F(ReadmeUsage, DefaultsInForceAreThoseOfTheOptionsTable) {
  const std::vector<std::string> example = {"-path", examples + "/", "-input", "example.ms",
                                            "-sample2", "50", "-maf", "0.1", "-doEOS", "1",
                                            "-fixseed", "1"};
  const RunResult r = run(example);
  ASSERT_EQ(r.status, 0) << r.out;
  // -sample 50: the first 50 haplotype lines are population 1.
  EXPECT_NE(r.out.find("Reading sample of size 50\nReading sample of size 50\n"),
            std::string::npos)
      << r.out;
  // -output Prav_out, automatic reference, blocks, no fixed window; -SL 0.05.
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.1_Blocks";
  const std::vector<std::string> pvals = column(name + ".tsv", 15);
  const std::vector<std::string> sig = column(name + ".tsv", 16);
  ASSERT_FALSE(pvals.empty()) << read(name + ".tsv");
  for (std::size_t i = 0; i < pvals.size(); ++i)
    EXPECT_EQ(sig[i], std::stod(pvals[i]) <= 0.05 ? "*" : "ns") << pvals[i];
  const std::string table = read(name + ".tsv"), report = read(name + "_FSTs.txt");

  // Every other default of the table given: the same files.
  clearResults();
  std::vector<std::string> given = example;
  given.insert(given.end(),
               {"-format", "MS", "-output", "Prav_out", "-runs", "1", "-singlepopfile", "0",
                "-sample", "50", "-reference", "0", "-onlyEOS", "0", "-cutoff", "1.25", "-SL",
                "0.05", "-useblocks", "1", "-window", "0", "-minwin", "11", "-maxwin", "1000",
                "-old", "0", "-nogaps", "0", "-store", "0", "-rsidInfo", "0", "-onlyrsidInfo",
                "0", "-verbose", "0", "-EPOH", "0"});
  ASSERT_EQ(run(given).status, 0);
  EXPECT_EQ(read(name + ".tsv"), table);
  EXPECT_EQ(read(name + "_FSTs.txt"), report);
}

TEST_F(ReadmeUsage, OptionValuesInEveryDecimalForm) {
  // Values that read wholly as numbers of their option's kind are taken as
  // such (the words that are not end the start-up: CommandLine.ArgumentErrors).
  write("sim.ms", msTwoBlocks(40, 20, 22));
  const std::vector<std::string> base = {"-input", "sim.ms", "-fixseed", "1"};
  auto runWith = [&](const std::vector<std::string>& extra) {
    clearResults();
    std::vector<std::string> args = base;
    args.insert(args.end(), extra.begin(), extra.end());
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_FALSE(exists("Pravis_ERROR.log"));
    return r;
  };
  const std::string results = "Pravis_Results/Prav_out_AutoRefPop1_MAF_";
  // A real number with an exponent; a whole number with leading zeros or a sign.
  RunResult r = runWith({"-maf", "1e-2", "-sample", "020"});
  EXPECT_TRUE(exists(results + "0.01_Blocks.tsv"));
  EXPECT_NE(r.out.find("Reading sample of size 20\n"), std::string::npos) << r.out;
  runWith({"-maf", ".05", "-sample", "+20"});
  EXPECT_TRUE(exists(results + "0.05_Blocks.tsv"));
  // A flag is on when its whole number is not 0.
  runWith({"-sample", "20", "-doEOS", "2"});
  EXPECT_TRUE(exists(results + "0.01_Blocks_FSTs.txt"));
}

TEST_F(ReadmeUsage, MafIsAThresholdOnThePooledFrequencyOfAllele1) {
  // Pooled allele-1 frequencies 0.1, 0.3, 0.55, 0.65, 0.8, 0.95 and 1: a
  // threshold of 0.6 keeps the last four, which a minor-allele threshold
  // above 0.5 never could.
  const std::vector<int> ones[2] = {{1, 3, 6, 7, 8, 10, 10}, {1, 3, 5, 6, 8, 9, 10}};
  write("counts.ms", "ms 20 1\n1 2 3\n" +
                         msBlock("0.1 0.2 0.3 0.4 0.5 0.6 0.7", countedRows(ones)));
  const RunResult r = run({"-input", "counts.ms", "-sample", "10", "-sample2", "10", "-maf",
                           "0.6", "-onlyrsidInfo", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(read("Pravis_Results/Prav_out_.txt"),
            "\nPopulation\trsID\tPosition\tFrequency\n1\n\t0.4\t0.4\t0.7\n\t0.5\t0.5\t0.8\n"
            "\t0.6\t0.6\t1\n\t0.7\t0.7\t1\n2\n\t0.4\t0.4\t0.6\n\t0.5\t0.5\t0.8\n\t0.6\t0.6\t0.9\n"
            "\t0.7\t0.7\t1\n\n");
}

TEST_F(ReadmeUsage, MafKeepsASiteWhoseCopiesAreExactlyItsShareWhateverTheSplit) {
  // 26 and 94 haplotypes; site k carries allele 1 on k haplotypes of
  // population 1 and 6 - k of population 2: 6 copies in 120, a pooled
  // frequency of exactly 0.05 at every site, so -maf 0.05 keeps all seven.
  std::vector<std::string> rows;
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < (pop == 0 ? 26 : 94); ++i) {
      std::string h;
      for (int k = 0; k <= 6; ++k) h += i < (pop == 0 ? k : 6 - k) ? '1' : '0';
      rows.push_back(h);
    }
  write("split.ms", "ms 120 1\n1 2 3\n" + msBlock("0.1 0.2 0.3 0.4 0.5 0.6 0.7", rows));
  const RunResult r = run({"-input", "split.ms", "-sample", "26", "-sample2", "94", "-maf",
                           "0.05", "-onlyrsidInfo", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string table = read("Pravis_Results/Prav_out_.txt");
  for (int k = 0; k <= 6; ++k) {
    const std::string site = "\n\t0." + std::to_string(k + 1) + "\t0." + std::to_string(k + 1);
    const std::size_t first = table.find(site);
    EXPECT_NE(first, std::string::npos) << "site " << k << " lost:\n" << table;
    EXPECT_NE(table.find(site, first + 1), std::string::npos) << table;  // in both populations
  }
}

TEST_F(ReadmeUsage, SelectivesTakeNumbersAndTheNearestSites) {
  // VCF sites at 10000, 10010, ..., 10590: 10200.7 takes 10200, 10305 lies
  // halfway between 10300 and 10310 and takes the lower, 9000 lies below the
  // first site and takes none; each is said on the console. -maf is the next
  // option, not a value of the list.
  writeVcfSitesEvery10From10000();
  const std::vector<std::string> vcf = {"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf",
                                        "-minwin", "3", "-window", "5", "-fixseed", "1"};
  std::vector<std::string> args = vcf;
  args.insert(args.end(), {"-selectives", "9000", "10305", "10200.7", "-maf", "0.05"});
  RunResult r = run(args);
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string table = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.05_W5.tsv";
  EXPECT_EQ(column(table, 3), (std::vector<std::string>{"10200", "10300"}));
  for (const char* line :
       {"\n-selectives 9000 lies outside the pooled positions of file a.vcf vs b.vcf (10000 to "
        "10590): no site is taken for it\n",
        "\n-selectives 10305 is no pooled site's position in file a.vcf vs b.vcf: the nearest "
        "site, at 10300, is taken instead\n",
        "\n-selectives 10200.7 is no pooled site's position in file a.vcf vs b.vcf: the nearest "
        "site, at 10200, is taken instead\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;

  // A list whose first value is negative is dropped, with a word: no user
  // site, and a fixed window without the EOS test has no candidate.
  clearResults();
  args = vcf;
  args.insert(args.end(), {"-selectives", "-1", "200"});
  r = run(args);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\n-selectives list dropped: its first value, -1, is negative, so no user "
                       "site is taken.\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n***NO SELECTION DETECTED IN THIS FILE.***\n"), std::string::npos);
  EXPECT_EQ(read("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W5.tsv"), "");

  // MS takes the nearest site too: 0.4246 takes 0.424624 (site 7), not site
  // 8 = 20 x 0.4246 rounded down; 1.5 lies beyond the last site and takes none.
  clearResults();
  const std::vector<int> ones[2] = {std::vector<int>(20, 5), std::vector<int>(20, 4)};
  write("near.ms", "ms 20 1\n1 2 3\n" +
                       msBlock("0.05 0.1 0.15 0.2 0.25 0.3 0.35 0.424624 0.434069 0.5 0.55 0.6 "
                               "0.65 0.7 0.75 0.8 0.85 0.9 0.95 0.99",
                               countedRows(ones)));
  r = run({"-input", "near.ms", "-sample", "10", "-sample2", "10", "-minwin", "3", "-window", "5",
           "-selectives", "0.4246", "1.5", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(column("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W5.tsv", 3),
            std::vector<std::string>{"0.424624"});
}

TEST_F(ReadmeUsage, SelectivesThatStandForOneSiteAreOneCandidate) {
  // VCF sites at 10000, 10010, ...: 10201, whose nearest site is 10200,
  // 10200 twice and 10203 are one candidate; the three values folded into
  // the first are said on the console, naming it.
  writeVcfSitesEvery10From10000();
  RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-minwin", "3",
                     "-window", "5", "-selectives", "10201", "10200", "10200", "10203"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(column("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W5.tsv", 3),
            std::vector<std::string>{"10200"});
  for (const char* value : {"10200", "10203"})
    EXPECT_NE(r.out.find("\n-selectives " + std::string(value) +
                         " stands for the site at 10200 that -selectives 10201 stands for "
                         "already: they are one candidate\n"),
              std::string::npos)
        << value << r.out;

  // The EOS test alone takes no candidate: the list is said to be unused.
  const std::string unused = "\n-selectives is not used: ";
  r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-onlyEOS", "1",
           "-selectives", "10200"});
  EXPECT_NE(r.out.find(unused + "-onlyEOS 1 runs the EOS test alone, which takes no candidate "
                                "site.\n"),
            std::string::npos)
      << r.out;
  write("g.txt", "title\nloc1\nPop\na, 0101\nb, 0102\nPop\nc, 0202\nd, 0201\n");
  r = run({"-format", "gp", "-input", "g.txt", "-selectives", "3"});
  EXPECT_NE(r.out.find(unused + "allele-count input (Genepop, PLINK, BayeScan) runs the EOS test "
                                "alone, which takes no candidate site.\n"),
            std::string::npos)
      << r.out;
  // Without a list there is nothing to say.
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"-format", "gp", "-input", "g.txt"},
        {"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-onlyEOS", "1"}})
    EXPECT_EQ(run(words).out.find("-selectives"), std::string::npos) << words[1];
}

TEST_F(ReadmeUsage, InputLayoutExamplesAreReadAsShown) {
  // In the README's section of examples, a line ending in `NAME`: gives the
  // indented block after it as file NAME; an indented line that begins with
  // "pravolin " is a command, run once every file is written.
  std::ifstream in(examples + "/../README.md");
  std::vector<std::vector<std::string>> commands;
  std::string line, file, content;
  bool inside = false, inBlock = false;
  const auto endBlock = [&] {
    if (!file.empty()) write(file, content);
    file.clear();
    content.clear();
    inBlock = false;
  };
  while (std::getline(in, line)) {
    if (line.rfind("#", 0) == 0) {
      if (inside) break;
      inside = line == "### Input layouts by example";
      continue;
    }
    if (!inside) continue;
    if (line.rfind("    pravolin ", 0) == 0) {
      std::istringstream words(line.substr(13));
      commands.emplace_back(std::istream_iterator<std::string>(words),
                            std::istream_iterator<std::string>());
    } else if (line.rfind("    ", 0) == 0 && !file.empty()) {
      content += line.substr(4) + "\n";
      inBlock = true;
    } else if (line.size() > 3 && line.compare(line.size() - 2, 2, "`:") == 0) {
      endBlock();
      file = line.substr(line.rfind('`', line.size() - 3) + 1);
      file.resize(file.size() - 2);
    } else if (inBlock) {
      if (!line.empty()) endBlock();
      else content += "\n";
    }
  }
  endBlock();
  ASSERT_EQ(commands.size(), 5u);
  for (const std::vector<std::string>& args : commands) {
    clearResults();
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << args[1] << r.out;
    EXPECT_NE(r.out.find(" parsed\n"), std::string::npos) << args[1] << r.out;
    EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << args[1] << r.out;
  }
}

TEST_F(ReadmeUsage, MsPositionRepeatedInOneSampleIsRaisedToASiteOfItsOwn) {
  // Positions printed with four digits, 0.15 twice: the second becomes
  // 0.1500001, a site of its own in the pooled sample.
  std::string positions = "0.0322";
  for (int s = 1; s < 30; ++s)
    positions += " " + (s == 4 || s == 5 ? "0.1500" : std::to_string((s + 1) / 31.0).substr(0, 6));
  write("rep.ms", "ms 40 1\n1 2 3\n" + msBlock(positions, linkedRows(40, 30, 23)));
  const RunResult r = run({"-input", "rep.ms", "-sample", "20", "-sample2", "20", "-maf", "0",
                           "-onlyrsidInfo", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("The position is updated to 0.1500001\n"), std::string::npos) << r.out;
  const std::string snps = read("Pravis_Results/Prav_out_.txt");
  EXPECT_NE(snps.find("\t0.15\t0.15\t"), std::string::npos) << snps;
  EXPECT_NE(snps.find("\t0.1500001\t0.1500001\t"), std::string::npos) << snps;
}

TEST_F(ReadmeUsage, SecondFilesOfHapMapFastaAndPlink) {
  const TwoPopulations samples{12, 10};
  // HapMap reads one table split in halves, or two files with -singlepopfile 1
  // (a second file without it ends the start-up: InputPairs tests that).
  write("hm.txt", samples.hapMap({0, 1}));
  RunResult r = run({"-format", "hm", "-input", "hm.txt", "-minwin", "3", "-verbose", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nFile hm.txt parsed\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nSample sizes are 10 and 10\n"), std::string::npos);
  write("p1.txt", samples.hapMap({0}));
  write("p2.txt", samples.hapMap({1, 1}));
  r = run({"-format", "hm", "-input", "p1.txt", "-input2", "p2.txt", "-singlepopfile", "1",
           "-minwin", "3", "-verbose", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nFile p1.txt vs p2.txt parsed\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nSample sizes are 10 and 20\n"), std::string::npos);

  // FASTA reads a second name without -singlepopfile.
  write("a.fa", samples.fasta(0));
  write("b.fa", samples.fasta(1) + samples.fasta(1));
  r = run({"-format", "fasta", "-input", "a.fa", "-input2", "b.fa", "-minwin", "3", "-verbose",
           "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nSample sizes are 10 and 20\n"), std::string::npos) << r.out;

  // PLINK with -singlepopfile 1: the sites of a.map, both populations in b.ped.
  write("a.map", "1 rs1 0 1000\n1 rs2 0 2000\n");
  const std::string ped = "P1 i1 0 0 1 -9 A G A A\nP1 i2 0 0 1 -9 A A A C\n"
                          "P2 j1 0 0 1 -9 G G A A\nP2 j2 0 0 1 -9 A G C C\n";
  write("b.ped", ped);
  r = run({"-format", "plink", "-singlepopfile", "1", "-input", "a", "-input2", "b",
           "-onlyrsidInfo", "1", "-maf", "0"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nRead a.map and b.ped\n"), std::string::npos) << r.out;
  // Without it, both populations come from the ped file of the -input name.
  write("a.ped", ped);
  std::filesystem::remove(dir_ / "b.ped");
  r = run({"-format", "plink", "-input", "a", "-onlyrsidInfo", "1", "-maf", "0"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nRead a.map and a.ped\n"), std::string::npos) << r.out;
}

TEST_F(ReadmeUsage, HapMapNamesAreUpperCasedInEveryOutput) {
  // Twenty sites alike in both populations but site 7, where population 2
  // carries G: a fence outlier of the report, named RS7.
  std::string text = TwoPopulations::hapMapHeader(40);
  for (int s = 0; s < 20; ++s) {
    text += "rs" + std::to_string(s) + " " + std::to_string(1000 * (s + 1));
    for (int pop = 0; pop < 2; ++pop)
      for (int i = 0; i < 20; ++i)
        text += (s == 7 && pop == 1) || (i + s) % 4 == 0 ? " G" : " A";
    text += "\n";
  }
  write("hm.txt", text);
  RunResult r = run({"-format", "hm", "-input", "hm.txt", "-onlyEOS", "1", "-minwin", "3"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string report = read("Pravis_Results/Prav_out_EOS__MAF0.01_FSTs.txt");
  EXPECT_NE(report.find("\t\t\tRS7\t8000\t"), std::string::npos) << report;
  r = run({"-format", "hm", "-input", "hm.txt", "-onlyrsidInfo", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string snps = read("Pravis_Results/Prav_out_.txt");
  EXPECT_NE(snps.find("\n1\n\tRS0\t1000\t"), std::string::npos) << snps;
  EXPECT_EQ(snps.find("\trs0"), std::string::npos) << snps;
}

TEST_F(ReadmeUsage, FastaHalvesCodeAgainstTheLargerHalfWhileTheReferenceStaysPopulation1) {
  // Three records of population 1 and four of population 2: at site 0 each
  // population carries its own base, so the coding population shows in the
  // frequencies: against population 2's G, population 1's A is allele 1.
  const TwoPopulations samples{12, 4};
  std::string pop1, pop2;
  for (int i = 0; i < 4; ++i) {
    if (i < 3) pop1 += ">a" + std::to_string(i) + "\nA" + samples.haplotype(0, i).substr(1) + "\n";
    pop2 += ">b" + std::to_string(i) + "\nG" + samples.haplotype(1, i).substr(1) + "\n";
  }
  write("halves.fa", pop1 + pop2);
  write("pop1.fa", pop1);
  write("pop2.fa", pop2);
  const std::vector<std::string> halves = {"-format", "fasta", "-input", "halves.fa"};
  const std::vector<std::string> pair = {"-format", "fasta", "-input", "pop1.fa", "-input2",
                                         "pop2.fa"};
  // The SNP tables of both forms: population 1's rows, then population 2's.
  std::vector<std::string> rows[2];
  for (int form = 0; form < 2; ++form) {
    std::vector<std::string> args = form == 0 ? halves : pair;
    args.insert(args.end(), {"-onlyrsidInfo", "1", "-maf", "0"});
    clearResults();
    ASSERT_EQ(run(args).status, 0);
    for (const std::string& line : lines(read("Pravis_Results/Prav_out_.txt")))
      if (!line.empty() && line[0] == '\t') rows[form].push_back(line);
  }
  ASSERT_EQ(rows[0].size(), 24u);
  EXPECT_EQ(rows[0][0], "\t0\t0\t1");
  EXPECT_EQ(rows[0][12], "\t0\t0\t0");
  EXPECT_EQ(rows[0], rows[1]);

  // The analysis refers to population 1 for the halves, to the larger
  // population 2 for the pair.
  for (int form = 0; form < 2; ++form) {
    std::vector<std::string> args = form == 0 ? halves : pair;
    args.insert(args.end(), {"-minwin", "3", "-maf", "0"});
    clearResults();
    const RunResult r = run(args);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(exists(std::string("Pravis_Results/Prav_out_AutoRefPop") +
                       (form == 0 ? "1" : "2") + "_MAF_0_Blocks.tsv"))
        << r.out;
  }
}

TEST_F(ReadmeUsage, AlleleOneAtATieAndMissingSymbolsByFormat) {
  // Site 0: population 1 holds 25 A and 25 G, population 2 45 A and 5 G.
  // FASTA codes the base other than the most frequent one (A, the earlier on
  // the tie): G, at 0.5 and 0.1; HapMap codes the least frequent (A, the
  // earlier on the tie): A, at 0.5 and 0.9. Site 1: population 1 holds 3 N,
  // 1 C and 46 A; C is allele 1 at 1/50, the Ns counted in the denominator.
  // Site 2: N is the most frequent symbol of population 1 (26 of 50): the
  // site is left out, also at -maf 0.
  std::string fasta[2], hapmap[2];
  for (int pop = 0; pop < 2; ++pop) {
    std::vector<std::string> haplotypes;
    for (int i = 0; i < 50; ++i) {
      std::string h;
      h += pop == 0 ? (i < 25 ? 'A' : 'G') : (i < 45 ? 'A' : 'G');
      h += pop == 0 && i < 3 ? 'N' : pop == 0 && i == 5 ? 'C' : 'A';
      h += pop == 0 && i < 26 ? 'N' : i % 2 == 0 ? 'A' : 'T';
      haplotypes.push_back(h);
      fasta[pop] += ">h" + std::to_string(i) + "\n" + h + "\n";
    }
    hapmap[pop] = TwoPopulations::hapMapHeader(50);
    for (int s = 0; s < 3; ++s) {
      hapmap[pop] += "rs" + std::to_string(s) + " " + std::to_string(100 * (s + 1));
      for (const std::string& h : haplotypes) hapmap[pop] += std::string(" ") + h[s];
      hapmap[pop] += "\n";
    }
  }
  write("p1.fa", fasta[0]);
  write("p2.fa", fasta[1]);
  write("p1.txt", hapmap[0]);
  write("p2.txt", hapmap[1]);
  const std::vector<std::string> fastaRun = {"-format", "fasta", "-input", "p1.fa",
                                             "-input2", "p2.fa", "-onlyrsidInfo", "1"};
  const std::vector<std::string> hapmapRun = {"-format", "hm", "-singlepopfile", "1",
                                              "-input", "p1.txt", "-input2", "p2.txt",
                                              "-onlyrsidInfo", "1"};
  auto table = [this](std::vector<std::string> args, const std::string& maf) {
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    args.insert(args.end(), {"-maf", maf});
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.out;
    return read("Pravis_Results/Prav_out_.txt");
  };
  EXPECT_EQ(table(fastaRun, "0"),
            "\nPopulation\trsID\tPosition\tFrequency\np1.fa\n\t0\t0\t0.5\n\t1\t1\t0.02\n"
            "p2.fa\n\t0\t0\t0.1\n\t1\t1\t0\n\n");
  EXPECT_EQ(table(hapmapRun, "0"),
            "\nPopulation\trsID\tPosition\tFrequency\np1.txt\n\tRS0\t100\t0.5\n\tRS1\t200\t0.02\n"
            "p2.txt\n\tRS0\t100\t0.9\n\tRS1\t200\t0\n\n");
  // Pooled, allele 1 of site 0 is at 0.3 from FASTA and 0.7 from HapMap.
  EXPECT_EQ(table(fastaRun, "0.5").find("\t0\t0\t"), std::string::npos);
  EXPECT_NE(table(hapmapRun, "0.5").find("\tRS0\t100\t"), std::string::npos);
}
