// Every failure a user can cause ends with a message naming what failed and a
// status other than 0: outputs that cannot be written, runs that read
// nothing, populations too small to analyse, inputs that are no text.
#include <algorithm>

#include "cli_harness.hpp"

namespace {

const std::string msArgs[] = {"-path", std::string(PRAVOLIN_TEST_DATA) + "/ms/", "-input",
                              "sim0.txt", "-sample", "30", "-sample2", "30", "-minwin", "5",
                              "-doEOS", "1", "-fixseed", "1"};
const std::string results = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks";

std::vector<std::string> msRun(std::vector<std::string> extra = {}) {
  std::vector<std::string> args(std::begin(msArgs), std::end(msArgs));
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// BayeScan counts of 200 loci: most with close counts in both populations,
// every tenth with the same opposite counts, so that 20 outliers share one FST.
std::string tiedBayescan() {
  std::string pops[2];
  for (int p = 0; p < 2; ++p) {
    pops[p] = "[pop]=" + std::to_string(p + 1) + "\n";
    for (int i = 1; i <= 200; ++i) {
      int a = 15 + (i * 7) % 10 + p;
      if (i % 10 == 0) a = p == 0 ? 36 : 4;
      pops[p] += std::to_string(i) + " 40 2 " + std::to_string(a) + " " + std::to_string(40 - a) +
                 "\n";
    }
  }
  return "[loci]=200\n\n[populations]=2\n\n" + pops[0] + "\n" + pops[1];
}

// The positions of one section's rows of the outlier report, in printed order.
std::vector<double> reportPositions(const std::string& report, const std::string& title) {
  std::vector<double> positions;
  std::size_t at = report.find(title);
  const std::size_t end = report.find("***************", at + title.size());
  at = report.find("pval(LK test)", at);
  while ((at = report.find("\n\t\t\t", at)) != std::string::npos && at < end) {
    at += 4;
    const std::size_t pos = report.find('\t', at) + 1;
    positions.push_back(std::stod(report.substr(pos)));
  }
  return positions;
}

}  // namespace

class Outcomes : public CliTest {};

TEST_F(Outcomes, ResultsFolderThatCannotBeMade) {
  write("Pravis_Results", "a file in the way\n");
  expectFatal(run(msRun()),
              "\nERROR: \nCould not create the results folder Pravis_Results: a file of that "
              "name is in the way\n");

  std::filesystem::remove(dir_ / "Pravis_Results");
  expectFatal(run(msRun({"-output", "missing/run"})),
              "\nERROR: \nCould not create the output files Pravis_Results/missing/run_*: the "
              "folder Pravis_Results/missing does not exist\n");
}

// A full disk, reproduced by pointing each output file at /dev/full.
TEST_F(Outcomes, EveryOutputFileOnAFullDisk) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string full = ": No space left on device\n";
  for (const std::string& name :
       {results + ".tsv", results + "_SIG.tsv", results + "_FSTs.txt"}) {
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    std::filesystem::create_directories(dir_ / "Pravis_Results");
    std::filesystem::create_symlink("/dev/full", dir_ / name);
    expectFatal(run(msRun()), "\nERROR: \nCould not write the output file " + name + full);
  }

  // The SNP information table of -onlyrsidInfo.
  std::filesystem::remove_all(dir_ / "Pravis_Results");
  std::filesystem::create_directories(dir_ / "Pravis_Results");
  std::filesystem::create_symlink("/dev/full", dir_ / "Pravis_Results/Prav_out_.txt");
  expectFatal(run(msRun({"-onlyrsidInfo", "1"})),
              "\nERROR: \nCould not write the output file Pravis_Results/Prav_out_.txt" + full);

  // The FASTA files of a -tag split, written beside the input.
  write("a.fas", ">a1\nACGTA\n>pop_a2\nACGTT\n>b1\nTCGTA\n>pop_b2\nTCGAA\n");
  std::filesystem::create_symlink("/dev/full", dir_ / "a_NON_pop.fas");
  expectFatal(run({"-format", "fasta", "-input", "a.fas", "-tag", "pop", "-store", "1"}),
              "\nERROR: \nCould not write the output file a_NON_pop.fas" + full);
  EXPECT_EQ(read("a_pop.fas"), ">pop_a2\nACGTT\n>pop_b2\nTCGAA\n");
}

TEST_F(Outcomes, RunsThatAllFailToReadEndWithAnError) {
  const RunResult r = run({"-input", "missing", "-runs", "3"});
  const std::string message =
      "\nERROR: \nNo input could be read: each of the 3 runs failed to read its input\n";
  expectFatal(r, message);
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos);
}

TEST_F(Outcomes, PopulationsOfOneHaplotypeEndBeforeTheAnalysis) {
  // MS, both populations in one block: 30 and 1 haplotypes.
  std::string ms = "ms 31 1 -t 5\n1 2 3\n\n//\nsegsites: 3\npositions: 0.1 0.5 0.9\n";
  for (int i = 0; i < 31; ++i) ms += i % 3 == 0 ? "101\n" : "010\n";
  write("one.ms", ms);
  expectFatal(run({"-input", "one.ms", "-sample", "30", "-sample2", "1"}),
              "\nERROR: \nPopulation 2 of one.ms has 1 haplotype: at least 2 haplotypes per "
              "population are needed\n");

  // FASTA: the tag matches one record.
  write("a.fas", ">a1\nACGTA\n>pop_a2\nACGTT\n>b1\nTCGTA\n>b2\nTCGAA\n");
  expectFatal(run({"-format", "fasta", "-input", "a.fas", "-tag", "pop"}),
              "\nERROR: \nPopulation 1 of a.fas has 1 haplotype: at least 2 haplotypes per "
              "population are needed\n");

  // HapMap, one file of three haplotype columns split in halves.
  write("h.txt", "rsID position h0 h1 h2\nrs1 100 A G A\nrs2 200 C C T\nrs3 300 G T T\n");
  const RunResult r = run({"-format", "hm", "-input", "h.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(" of h.txt has 1 haplotype: at least 2 haplotypes per population are "
                       "needed\n"),
            std::string::npos)
      << r.out;
}

TEST_F(Outcomes, GenepopOfOnePopulationWithoutLoci) {
  write("g.txt", "title\nPOP\nind1 , \nind2 , \n");
  write("h.txt", "title\nPOP\n");
  for (const std::string name : {"g.txt", "h.txt"}) {
    const RunResult r = run({"-format", "GP", "-input", name});
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_NE(r.out.find("The number of populations 1 does not coincide with the expected 2\n"),
              std::string::npos);
  }
}

TEST_F(Outcomes, InputThatIsNoText) {
  if (!std::filesystem::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
  expectFatal(run({"-path", "/dev/", "-input", "zero"}),
              "\nERROR: /dev/zero is not a text file: it holds a NUL byte within its first 64 "
              "KiB (binary, compressed or UTF-16 data)\n");
}

TEST_F(Outcomes, FormatWordsThatNameNoFormatAreReportedAndReadAsMs) {
  for (const std::string word : {"hapmap", "genepop"}) {
    const RunResult r = run({"-format", word, "-input", "missing.txt"});
    EXPECT_NE(r.out.find("\nWARNING: -format " + word +
                         " names no input format (accepted: MS, FASTA, VCF, HM, FP, GP, PL, "
                         "PL2, BS); the input is read as MS\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Fail when reading missing.txt under MS format"), std::string::npos);
  }
  // A word that holds a format word says nothing.
  const RunResult r = run({"-format", "msfasta", "-input", "missing.txt"});
  EXPECT_EQ(r.out.find("WARNING: -format"), std::string::npos);
  EXPECT_NE(r.out.find("under fasta format"), std::string::npos);
}

// Outliers of equal FST are listed by position, whatever the library's sort
// does with equal elements (the report prints them highest FST first, so
// equal values appear from the last position back).
TEST_F(Outcomes, OutliersOfEqualFstInPositionOrder) {
  write("bs.txt", tiedBayescan());
  const RunResult r = run({"-format", "bs", "-input", "bs.txt", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string report = read("Pravis_Results/Prav_out_EOS__MAF0.01_FSTs.txt");
  // The 20 loci past the fence share one FST: k-means keeps them as one
  // cluster, the top one.
  const std::vector<double> kept = reportPositions(report, "*** EOS FST OUTLIERS\n");
  ASSERT_EQ(kept.size(), 20u) << report;
  EXPECT_TRUE(std::is_sorted(kept.rbegin(), kept.rend())) << report;
}
