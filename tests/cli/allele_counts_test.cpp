// Whole EOS-only analyses of allele-count input (BayeScan, Genepop, PLINK).
#include "cli_harness.hpp"

namespace {

// 40 loci whose two populations hold close allele counts, and locus 41 where
// they hold almost opposite ones (FST 0.81).
std::string bayescanFile() {
  std::string pops[2];
  for (int p = 0; p < 2; ++p) {
    pops[p] = "[pop]=" + std::to_string(p + 1) + "\n";
    for (int i = 1; i <= 41; ++i) {
      int a = 10 + (i * 7) % 20 + p;  // allele 1 copies out of 40
      if (i == 41) a = p == 0 ? 38 : 2;
      pops[p] += std::to_string(i) + " 40 2 " + std::to_string(a) + " " + std::to_string(40 - a) +
                 "\n";
    }
  }
  return "[loci]=41\n\n[populations]=2\n\n" + pops[0] + "\n" + pops[1];
}

// A locus under test: its BayeScan lines after the locus number, or (Genepop,
// PLINK) five genotypes per population; the loci kept, and those left out for
// a most common allele above 1 - maf and for a population that lacks copies.
struct TestLocus {
  std::string format, first, second, maf;
  int kept, commonAllele, unheld;
};

}  // namespace

class AlleleCounts : public CliTest {
 protected:
  // Runs the locus after three that pass any -maf below 0.4: the report counts
  // the loci kept, and one console line, whatever -verbose, all four loci.
  void expectLoci(const TestLocus& t) {
    SCOPED_TRACE(t.format + " -maf " + t.maf + ": " + t.first + " / " + t.second);
    std::string gp = "t\nL1, L2, L3, L4\n", ped, bs = "[loci]=4\n[populations]=2\n";
    for (const std::string* locus : {&t.first, &t.second}) {
      const std::string p = locus == &t.first ? "1" : "2";
      bs += "[pop]=" + p + "\n1 10 2 5 5\n2 10 2 4 6\n3 10 2 6 4\n4 " + *locus + "\n";
      gp += "Pop\n";
      std::istringstream words(t.format == "bs" ? "" : *locus);
      for (std::string g; words >> g;) {
        gp += "i, 0102 0102 0102 " + g + "\n";
        ped += "P" + p + " i 0 0 1 -9 A G A G A G " + "0AG"[g[1] - '0'] + " " + "0AG"[g[3] - '0'] +
               "\n";
      }
    }
    write("g.txt", gp);
    write("d.ped", ped);
    write("b.txt", bs);
    write("d.map", "1 r1 0 1\n1 r2 0 2\n1 r3 0 3\n1 r4 0 4\n");
    const std::string in = t.format == "bs" ? "b.txt" : t.format == "gp" ? "g.txt" : "d";
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    const RunResult r = run({"-format", t.format, "-input", in, "-maf", t.maf, "-minwin", "3"});
    const std::string kept = std::to_string(t.kept);
    EXPECT_NE(read("Pravis_Results/Prav_out_EOS__MAF" + t.maf + "_FSTs.txt")
                  .find("#SNPs\t" + kept + "\n"),
              std::string::npos);
    const std::string line = ": 4 read, " + kept + " kept, " + std::to_string(4 - t.kept) +
                             " left out (" + std::to_string(t.commonAllele) +
                             " with a most common allele above 1 - " + t.maf +
                             " of the copies in a population, " + std::to_string(t.unheld) +
                             (t.format == "bs" ? " without gene copies" : " with n - 1 or more");
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
  }
};

// Other copies exactly -maf of all keep the locus in every format.
TEST_F(AlleleCounts, MafBoundaryIsKept) {
  const std::string even = "0102 0102 0102 0102 0102", eight = "0101 0101 0101 0102 0102";
  for (const TestLocus& t :
       std::vector<TestLocus>{{"bs", "10 2 8 2", "10 2 5 5", "0.2", 4, 0, 0},
                              {"gp", eight, even, "0.2", 4, 0, 0},
                              {"pl", even, eight, "0.2", 4, 0, 0},
                              {"bs", "100 2 1 99", "10 2 5 5", "0.01", 4, 0, 0},
                              {"bs", "100 2 96 4", "10 2 5 5", "0.05", 3, 1, 0}})
    expectLoci(t);
}

// A population without gene copies leaves its locus out, at -maf 0 too; one
// allele in both populations is kept there (FST 0).
TEST_F(AlleleCounts, LocusThatAPopulationDoesNotHoldIsLeftOut) {
  for (const TestLocus& t : std::vector<TestLocus>{{"bs", "10 2 5 5", "0 2 0 0", "0.01", 3, 0, 1},
                                                   {"bs", "0 2 0 0", "10 2 4 6", "0", 3, 0, 1},
                                                   {"bs", "10 2 10 0", "10 2 10 0", "0", 4, 0, 0}})
    expectLoci(t);
}

// n - 1 missing copies of 2n leave a Genepop or PLINK locus out, n - 2 do not;
// a locus that fails in both populations counts once, for the first.
TEST_F(AlleleCounts, EveryLocusLeftOutIsCounted) {
  const std::string four = "0101 0000 0000 0102 0202", three = "0101 0100 0000 0102 0202";
  for (const TestLocus& t :
       std::vector<TestLocus>{{"gp", four, three, "0.01", 3, 0, 1},
                              {"pl", three, four, "0.01", 3, 0, 1},
                              {"gp", three, "0101 0101 0101 0101 0101", "0.1", 3, 1, 0},
                              {"bs", "10 2 10 0", "0 2 0 0", "0.01", 3, 1, 0}})
    expectLoci(t);
}

TEST_F(AlleleCounts, BayeScanOutlierReport) {
  write("bs.txt", bayescanFile());
  const RunResult r = run({"-format", "bs", "-input", "bs.txt", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Detected BayeScan format: setting doEOS = true.\n"), std::string::npos);
  const std::string name = "Pravis_Results/Prav_out_EOS__MAF0.01";
  EXPECT_NE(r.out.find("WRITING Pravolin OUTPUT FILE " + name + ".tsv\n"), std::string::npos);
  // No candidate analysis: the tables exist and stay empty.
  EXPECT_EQ(read(name + ".tsv"), "");
  EXPECT_EQ(read(name + "_SIG.tsv"), "");
  const std::string report = read(name + "_FSTs.txt");
  EXPECT_EQ(report.find("MAF = 0.01\n% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = 100%\n"), 0u);
  EXPECT_NE(report.find("FILE bs.txt\n"), std::string::npos);
  EXPECT_NE(report.find("#SNPs\t41\n"), std::string::npos);
  // Locus 41 is the k-means outlier; its position is 40/41 in single precision.
  EXPECT_NE(report.find("*************** EOS FST OUTLIERS\n1\n\n\t\t\tID\tPos\tFST\tpval(LK test)\n"
                        "\t\t\t41\t0.975609779358\t0.80999994278\t"),
            std::string::npos)
      << report;
}

TEST_F(AlleleCounts, LociThatAllFailTheFilterEndTheRun) {
  write("fixed.txt", "[loci]=2\n[populations]=2\n[pop]=1\n1 10 2 10 0\n2 10 2 0 10\n[pop]=2\n"
                     "1 10 2 10 0\n2 10 2 0 10\n");
  const RunResult r = run({"-format", "bs", "-input", "fixed.txt", "-verbose", "1"});
  EXPECT_EQ(r.status, 0);
  const std::size_t none =
      r.out.find("There are not common SNPs at frequency >= 0.01 in the file fixed.txt");
  EXPECT_NE(none, std::string::npos);
  EXPECT_LT(r.out.find("\nLoci of file fixed.txt: 2 read, 0 kept, 2 left out (2 with a most "
                       "common allele above 1 - 0.01 of the copies in a population, 0 without "
                       "gene copies in a population)\n"),
            none);
  EXPECT_EQ(read("Pravis_Results/Prav_out_EOS__MAF0.01_FSTs.txt"), "");
}

TEST_F(AlleleCounts, SnpTablesOfPlinkAndGenepop) {
  write("d.map", "1 rs1 0 1000\n1 rs2 0 2000\n1 rs3 0 3000\n");
  write("d.ped",
        "p1 i1 0 0 1 -9 A G A A C T\nP1 i2 0 0 1 -9 A A A A C C\nP1 i3 0 0 1 -9 G G A A T T\n"
        "P2 j1 0 0 1 -9 G G A A C C\nP2 j2 0 0 1 -9 A G A A C T\n");
  RunResult r = run({"-format", "plink", "-input", "d", "-onlyrsidInfo", "1", "-maf", "0"});
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string table = read("Pravis_Results/Prav_out_.txt");
  // Every locus passes maf 0; positions come from the map, frequencies are
  // those of the minor alleles. Each population is labelled with its family
  // id as its first line writes it (family ids are read without regard to case).
  EXPECT_EQ(table,
            "\nPopulation\trsID\tPosition\tFrequency\np1\n\trs1\t1000\t0.5\n\trs2\t2000\t0\n"
            "\trs3\t3000\t0.5\nP2\n\trs1\t1000\t0.25\n\trs2\t2000\t0\n\trs3\t3000\t0.25\n\n");

  write("g.txt", "title\nL1, L2\nPop\na, 0101 0102\nb, 0202 0101\nPop\nc, 0101 0202\nd, 0102 0101\n");
  r = run({"-format", "gp", "-input", "g.txt", "-onlyrsidInfo", "1", "-output", "g"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(read("Pravis_Results/g_.txt"),
            "\nNo SNP information table for file g.txt: Genepop input holds no allele "
            "frequencies.\n\n");
}

// A population too small to measure diversity within it ends the execution
// before any analysis: its message on the console and in Pravis_ERROR.log,
// status 1, no results. Exactly two individuals (or gene copies) are enough.
class TooSmallPopulations : public AlleleCounts {
 protected:
  void expectTooSmall(const std::vector<std::string>& args, const std::string& message) {
    const RunResult r = run(args);
    expectFatal(r, message);
    EXPECT_EQ(r.out.find("WRITING"), std::string::npos) << r.out;
    EXPECT_TRUE(!exists("Pravis_Results") || std::filesystem::is_empty(dir_ / "Pravis_Results"));
  }
  void expectAnalysed(const std::vector<std::string>& args) {
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Pravolin FINISHED."), std::string::npos) << r.out;
    EXPECT_FALSE(exists("Pravis_ERROR.log"));
    EXPECT_NE(read("Pravis_Results/Prav_out_EOS__MAF0_FSTs.txt").find("#SNPs\t3\n"),
              std::string::npos);
  }
};

TEST_F(TooSmallPopulations, Genepop) {
  const std::string head = "title\nL1, L2, L3\nPop\na, 0101 0102 0101\nb, 0202 0101 0102\n";
  write("empty.txt", head + "Pop\n");
  expectTooSmall({"-format", "gp", "-input", "empty.txt"},
                 "\nERROR: \nPopulation 2 of empty.txt has 0 individuals: at least 2 individuals "
                 "per population are needed\n");
  write("one.txt",
        "title\nL1, L2, L3\nPop\nc, 0101 0202 0101\nPop\n" + head.substr(head.find("a,")));
  expectTooSmall({"-format", "gp", "-input", "one.txt", "-maf", "0"},
                 "\nERROR: \nPopulation 1 of one.txt has 1 individual: at least 2 individuals "
                 "per population are needed\n");
  // A file of one population is first a wrong number of populations.
  write("single.txt", "title\nL1, L2, L3\nPop\nc, 0101 0202 0101\n");
  const RunResult r = run({"-format", "gp", "-input", "single.txt"});
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("The number of populations 1 does not coincide with the expected 2\n"),
            std::string::npos);

  write("two.txt", head + "Pop\nc, 0101 0202 0202\nd, 0102 0101 0102\n");
  expectAnalysed({"-format", "gp", "-input", "two.txt", "-maf", "0", "-minwin", "3"});
}

TEST_F(TooSmallPopulations, Plink) {
  write("d.map", "1 rs1 0 1000\n1 rs2 0 2000\n1 rs3 0 3000\n");
  const std::string first = "P1 i1 0 0 1 -9 A G A A C T\nP1 i2 0 0 1 -9 A A A G C C\n";
  write("d.ped", first + "P2 j1 0 0 1 -9 G G A A T T\n");
  expectTooSmall({"-format", "plink", "-input", "d"},
                 "\nERROR: \nPopulation 2 of d.ped has 1 individual: at least 2 individuals per "
                 "population are needed\n");
  write("n.map", "1 rs1 1000\n1 rs2 2000\n");
  write("n.ped", "P1 i1 0 0 1 -9 1 2 1 1\nP2 j1 0 0 1 -9 2 2 1 1\nP2 j2 0 0 1 -9 1 2 1 2\n");
  expectTooSmall({"-format", "pl2", "-input", "n"},
                 "\nERROR: \nPopulation 1 of n.ped has 1 individual: at least 2 individuals per "
                 "population are needed\n");

  write("d.ped", first + "P2 j1 0 0 1 -9 G G A A T T\nP2 j2 0 0 1 -9 A G G A C T\n");
  expectAnalysed({"-format", "plink", "-input", "d", "-maf", "0", "-minwin", "3"});
}

TEST_F(TooSmallPopulations, BayeScan) {
  // Population 2 holds one gene copy at each locus: 2 copies in all, but
  // never 2 at one locus.
  const std::string first =
      "[loci]=3\n[populations]=2\n[pop]=1\n1 10 2 4 6\n2 10 2 3 7\n3 10 2 5 5\n";
  write("b.txt", first + "[pop]=2\n1 1 2 1 0\n2 1 2 0 1\n3 0 2 0 0\n");
  expectTooSmall({"-format", "bs", "-input", "b.txt"},
                 "\nERROR: \nPopulation 2 of b.txt has fewer than 2 gene copies at every locus: "
                 "at least 2 gene copies per population are needed\n");

  write("b.txt", first + "[pop]=2\n1 2 2 1 1\n2 1 2 0 1\n3 1 2 1 0\n");
  expectAnalysed({"-format", "bs", "-input", "b.txt", "-maf", "0", "-minwin", "3"});
}

TEST_F(AlleleCounts, PlinkMapPositionThatIsNoWholeNumberIsRejected) {
  write("d.ped", "P1 i1 0 0 1 -9 A G A A C T\nP1 i2 0 0 1 -9 A A A G C C\n"
                 "P2 j1 0 0 1 -9 G G A A T T\nP2 j2 0 0 1 -9 A G G A C T\n");
  for (const std::string word : {"abc", "10O"}) {
    write("d.map", "1 rs1 0 1000\n1 rs2 0 " + word + "\n1 rs3 0 3000\n");
    const RunResult r = run({"-format", "plink", "-input", "d", "-maf", "0", "-minwin", "3"});
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("\nERROR: problem reading map file d.map . The position " + word +
                         " on line 2 is not a finite number\n"),
              std::string::npos)
        << r.out;
    const std::string failure = "\nERROR: \nFail when reading d.map under plink nucleotide format\n";
    EXPECT_NE(r.out.find(failure), std::string::npos);
    EXPECT_EQ(read("Pravis_ERROR.log"), failure + " 1\n");
  }
}
