// Input read from two files, one population each (VCF, fastPHASE, FASTA and
// HapMap pairs), and HapMap tables: two names that reach one file, a second
// name that the run would not read or a missing one, a pair of which one file
// cannot be read, HapMap positions and HapMap tables without data.
#include <filesystem>

#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

const TwoPopulations samples;

// The header of a table split in halves, without any data line.
const std::string headerOnly = TwoPopulations::hapMapHeader(2 * samples.haplotypes);

const std::string equalNames = "\nERROR: \nEqual file names under onepopbyfile option\n";

std::string failure(const std::string& name, const std::string& format) {
  return "\nERROR: \nFail when reading " + name + " under " + format + "\n";
}

}  // namespace

class InputPairs : public CliTest {
 protected:
  // The run ended with the equal-names error naming both files as given.
  void expectOneFile(const RunResult& r, const std::string& detail) {
    EXPECT_EQ(r.status, 1) << r.out;
    const std::string message = equalNames + detail + "\n";
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis_ERROR.log"), message + " 1\n");
    EXPECT_EQ(r.out.find("Opening and parsing"), std::string::npos);
  }
};

TEST_F(InputPairs, TwoNamesOfOneFileAreTheEqualNamesError) {
  // A case variant that only the lower-cased second try of the opener finds.
  write("pop.vcf", samples.vcf(0));
  expectOneFile(run({"-format", "vcf", "-input", "POP.vcf", "-input2", "pop.vcf"}),
                "POP.vcf (opened as pop.vcf) and pop.vcf are one file");

  // A link to the first file.
  write("p1.fa", samples.fasta(0));
  std::filesystem::create_symlink("p1.fa", dir_ / "link.fa");
  expectOneFile(run({"-format", "fasta", "-input", "p1.fa", "-input2", "link.fa"}),
                "p1.fa and link.fa are one file");

  // Two spellings of one path.
  write("a.out", samples.fastPhase(0));
  expectOneFile(run({"-format", "fp", "-input", "./a.out", "-input2", "a.out"}),
                "./a.out and a.out are one file");

  // The same under -path, for a HapMap pair.
  write("in/h.txt", samples.hapMap({0}));
  expectOneFile(run({"-format", "hm", "-singlepopfile", "1", "-path", "in/", "-input", "h.txt",
                     "-input2", "../in/h.txt"}),
                "in/h.txt and in/../in/h.txt are one file");
}

TEST_F(InputPairs, FormsThatDoNotReadTwoPopulationFilesAreNotChecked) {
  // PLINK reads its sites from one file and both populations from the other.
  write("d.map", "1 rs1 0 1000\n1 rs2 0 2000\n");
  write("d.ped",
        "P1 i1 0 0 1 -9 A G A A\nP1 i2 0 0 1 -9 A A A C\nP2 j1 0 0 1 -9 G G A A\n"
        "P2 j2 0 0 1 -9 A G C C\n");
  const RunResult r = run({"-format", "plink", "-singlepopfile", "1", "-input", "d", "-input2",
                           "./d", "-onlyrsidInfo", "1", "-maf", "0"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(exists("Pravis_Results/Prav_out_.txt"));
}

TEST_F(InputPairs, ASecondFileTheRunWouldNotReadOrLacksEndsTheStartUp) {
  // Neither file exists: the start-up ends before any is opened.
  const std::string notRead = "\nERROR: \n-input2 b is not read: ";
  const std::string inOneFile = " input reads both populations from the -input file";
  const std::string ms =
      notRead + "MS" + inOneFile +
      " (one segsites block per population, or -sample and -sample2 haplotypes of its first "
      "block)\n";
  expectFatal(run({"-input", "a", "-input2", "b"}), ms);
  expectFatal(run({"-input", "a", "-input2", "b", "-singlepopfile", "1"}), ms);
  expectFatal(run({"-format", "gp", "-input", "a", "-input2", "b"}),
              notRead + "Genepop" + inOneFile + " (two Pop blocks)\n");
  expectFatal(run({"-format", "bs", "-input", "a", "-input2", "b"}),
              notRead + "BayeScan" + inOneFile + " (two [pop] blocks)\n");
  // HapMap and PLINK read a second file with -singlepopfile 1 only.
  expectFatal(run({"-format", "hm", "-input", "a", "-input2", "b"}),
              notRead + "HapMap" + inOneFile +
                  " (its haplotype columns split in halves), or one population from each of "
                  "-input and -input2 with -singlepopfile 1\n");
  expectFatal(run({"-format", "pl2", "-input", "a", "-input2", "b"}),
              notRead +
                  "PLINK input reads the sites from the -input name + .map and both populations "
                  "from the -input name + .ped, or from the -input2 name + .ped with "
                  "-singlepopfile 1\n");

  // VCF and fastPHASE read one population from each of two files.
  const std::string twoFiles = " input needs two files, one population each: give population 1 "
                               "with -input and population 2 with -input2\n";
  expectFatal(run({"-format", "vcf", "-input", "a"}), "\nERROR: \nVCF" + twoFiles);
  expectFatal(run({"-format", "fp", "-input", "a"}), "\nERROR: \nfastPHASE" + twoFiles);

  // HapMap, FASTA and PLINK read -input2 with -singlepopfile 1, so it cannot be left out.
  const std::string needs = " input needs -input2 with -singlepopfile 1 (";
  const std::string perFile =
      "population 1 in the -input file, population 2 in the -input2 file); without "
      "-singlepopfile 1 it reads both populations from the -input file (its ";
  expectFatal(run({"-format", "hm", "-input", "a", "-singlepopfile", "1"}),
              "\nERROR: \nHapMap" + needs + perFile + "haplotype columns split in halves)\n");
  expectFatal(run({"-format", "fasta", "-input", "a", "-singlepopfile", "1"}),
              "\nERROR: \nFASTA" + needs + perFile +
                  "records split in halves, by -tag, or alternately with -tag rnd0)\n");
  expectFatal(run({"-format", "pl", "-input", "a", "-singlepopfile", "1"}),
              "\nERROR: \nPLINK" + needs +
                  "the sites in the -input name + .map, both populations in the -input2 name + "
                  ".ped); without -singlepopfile 1 it reads the sites from the -input name + .map "
                  "and both populations from the -input name + .ped\n");
}

TEST_F(InputPairs, HapMapPositionMustBeAFiniteNumber) {
  for (const std::string position : {"abc", "10O", "0x10", "1e999"}) {
    std::string row = "rsX " + position;
    for (int c = 0; c < 2 * samples.haplotypes; ++c) row += " A";
    std::string text = samples.hapMap({0, 1});
    text.insert(text.find("\nrs0 ") + 1, row + "\n");
    write("h.txt", text);
    const RunResult r = run({"-format", "hm", "-input", "h.txt"});
    const std::string message =
        "ERROR: The position \"" + position + "\" on line 2 of file h.txt is not a finite number\n";
    EXPECT_EQ(r.status, 1) << position;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis_ERROR.log"), message + " 1\n");
  }
}

TEST_F(InputPairs, HapMapTableWithoutDataLineIsAFailedRead) {
  const std::string hm = "hapmap phased format";
  write("header.txt", headerOnly);
  RunResult r = run({"-format", "hm", "-input", "header.txt"});
  expectFatal(r, failure("header.txt", hm));
  EXPECT_NE(r.out.find("no data line"), std::string::npos);
  EXPECT_FALSE(exists("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01.tsv"));

  write("comments.txt", "# table\n" + headerOnly + "\n# no SNP\n   \n");
  expectFatal(run({"-format", "hm", "-input", "comments.txt"}), failure("comments.txt", hm));

  // The second file of a pair: its read fails, naming it.
  write("h1.txt", samples.hapMap({0}));
  write("h2.txt", TwoPopulations::hapMapHeader(samples.haplotypes));
  r = run({"-format", "hm", "-singlepopfile", "1", "-input", "h1.txt", "-input2", "h2.txt"});
  expectFatal(r, failure("h2.txt", hm));
  EXPECT_NE(r.out.find("no data line after the header of file h2.txt"), std::string::npos);

  // Several runs: the run is skipped and the others go on.
  write("t0.txt", headerOnly);
  write("t1.txt", samples.hapMap({0, 1}));
  r = run({"-format", "hm", "-input", "t", "-runs", "2", "-fixseed", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(failure("t0.txt", hm)), std::string::npos);
  EXPECT_NE(r.out.find("\nAnalysis of file t1.txt completed"), std::string::npos);
  EXPECT_EQ(r.out.find("\nAnalysis of file t0.txt completed"), std::string::npos);
  // When no run reads its input the execution fails.
  write("t1.txt", headerOnly);
  EXPECT_EQ(run({"-format", "hm", "-input", "t", "-runs", "2"}).status, 1);
}

TEST_F(InputPairs, FailedReadOfAPairNamesTheFileThatFailed) {
  struct Pair {
    std::vector<std::string> format;
    std::string good1, good2, name1, name2, formatWords;
  };
  const Pair pairs[] = {
      {{"-format", "fasta"}, samples.fasta(0), samples.fasta(1), "p1.fa", "p2.fa", "fasta format"},
      {{"-format", "fp"}, samples.fastPhase(0), samples.fastPhase(1), "a.out", "b.out",
       "fastPhase format"},
      {{"-format", "hm", "-singlepopfile", "1"}, samples.hapMap({0}), samples.hapMap({1}), "h1.txt",
       "h2.txt", "hapmap phased format"},
  };
  for (const Pair& p : pairs) {
    for (int failing = 0; failing < 2; ++failing) {
      const std::string& bad = failing == 0 ? p.name1 : p.name2;
      write(p.name1, p.good1);
      write(p.name2, p.good2);
      write(bad, "");
      std::vector<std::string> args = p.format;
      for (const std::string word : {"-input", p.name1.c_str(), "-input2", p.name2.c_str()})
        args.push_back(word);
      expectFatal(run(args), failure(bad, p.formatWords));
    }
  }
  // A file the opener cannot find, second of a fastPHASE pair.
  write("a.out", samples.fastPhase(0));
  const RunResult r = run({"-format", "fp", "-input", "a.out", "-input2", "gone.out"});
  expectFatal(r, failure("gone.out", "fastPhase format"));
  EXPECT_NE(r.out.find("\nERROR: can not find input file gone.out\n"), std::string::npos);

  // A reader's own message naming the file stays.
  write("p2.fa", "not a fasta file\n" + samples.fasta(1));
  const RunResult f = run({"-format", "fasta", "-input", "p1.fa", "-input2", "p2.fa"});
  expectFatal(f, failure("p2.fa", "fasta format"));
  EXPECT_NE(f.out.find("\nEmpty file or wrong format when reading fasta p2.fa\n"),
            std::string::npos);
}

TEST_F(InputPairs, SitesWithMoreSymbolsThatAreNoBaseThanTheirCommonestBaseAreCounted) {
  const std::string rule = " left out because the reference population's symbols there that are "
                           "no base (A, C, G or T), counted together, outnumber its most frequent "
                           "base (a tie keeps the site); the first such symbol is ";
  // Halves of 2 and 3 columns: the second, larger half codes. At 200 it
  // reads 1 0 G, at 300 N N A: both sites are left out, but not 1 0 and N A
  // (a tie), so both need the half's first column; 1 is named, the earlier of
  // the two symbols read once. At 600, N A C is a tie and stays.
  write("h.txt", "rsid pos h0 h1 h2 h3 h4\nrs1 100 A G A G G\nrs2 200 0 0 1 0 G\n"
                 "rs3 300 A C N N A\nrs4 400 A A A C C\nrs5 500 G G C C G\nrs6 600 A G N A C\n");
  RunResult r = run({"-format", "hm", "-input", "h.txt", "-maf", "0", "-onlyrsidInfo", "1"});
  std::string warning = "\nWARNING: File h.txt: 2 sites are" + rule + "\"1\"\n";
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(warning + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis.log"), warning + "\n");
  const std::string snps = read("Pravis_Results/Prav_out_.txt");
  EXPECT_NE(snps.find("\tRS4\t400\t"), std::string::npos) << snps;
  EXPECT_NE(snps.find("\tRS6\t600\t"), std::string::npos) << snps;
  EXPECT_EQ(snps.find("\tRS2\t"), std::string::npos) << snps;
  EXPECT_EQ(snps.find("\tRS3\t"), std::string::npos) << snps;
  // Halves of 4 and 5 columns: at 200 the second half reads A A 0 1 1, left
  // out only with its last column, which makes 1 the commonest symbol.
  write("h.txt", "rsid pos h0 h1 h2 h3 h4 h5 h6 h7 h8\nrs1 100 A G A G G A G A G\n"
                 "rs2 200 C C C C A A 0 1 1\n");
  r = run({"-format", "hm", "-input", "h.txt", "-maf", "0", "-onlyrsidInfo", "1"});
  EXPECT_NE(r.out.find("\nWARNING: File h.txt: 1 site is" + rule + "\"1\"\n"), std::string::npos)
      << r.out;

  // fastPHASE: the file of 3 individuals codes; its sites 1 (0 0 1) and 3
  // (1 0 G) are left out, the first holding 0 most often.
  write("a.out", "BEGIN GENOTYPES\n# i0\n0A1C\n0A1C\n# i1\n0A0C\n0A0C\n# i2\n1AGC\n1AGC\n"
                 "END GENOTYPES\n");
  write("b.out", "BEGIN GENOTYPES\n# j0\n0A1T\n0A1T\n# j1\n1AGC\n1AGC\nEND GENOTYPES\n");
  r = run({"-format", "fp", "-input", "b.out", "-input2", "a.out", "-maf", "0", "-onlyrsidInfo",
           "1"});
  warning = "\nWARNING: File a.out: 2 sites are" + rule + "\"0\"\n";
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(warning + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis.log"), warning + "\n");

  // FASTA written as 0/1: the file of 3 records codes, and none of its 4
  // columns holds a base (the first reads 1 1 0), so the run is left without
  // a site and says both.
  const std::string fastaRule =
      " left out because the coding population's missing symbols and gaps there, counted "
      "together, outnumber its most frequent base (A, C, G or T; a tie keeps the site); the "
      "first such symbol is ";
  write("p1.fa", ">a\n0101\n>b\n1100\n");
  write("p2.fa", ">c\n1010\n>d\n1001\n>e\n0000\n");
  r = run({"-format", "fasta", "-input", "p1.fa", "-input2", "p2.fa", "-maf", "0"});
  warning = "\nWARNING: File p2.fa: 4 sites are" + fastaRule + "\"1\"\n";
  EXPECT_EQ(r.status, 0) << r.out;
  const std::size_t said = r.out.find(warning + "\n");
  EXPECT_NE(said, std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nThere are not common SNPs at frequency >= 0 in the file p1.fa\n", said),
            std::string::npos)
      << r.out;

  // The file of 7 records codes. Its column 0, A A A N N - -, is left out
  // though A is its commonest symbol: N and - together outnumber A. Column
  // 1, A A A N N - C, stays: three of each. N is named, not the X of the
  // other file.
  write("p3.fa", ">c\nAA\n>d\nAA\n>e\nAA\n>f\nNN\n>g\nNN\n>h\n--\n>i\n-C\n");
  write("p1.fa", ">a\nXA\n>b\nXA\n");
  r = run({"-format", "fasta", "-input", "p1.fa", "-input2", "p3.fa", "-maf", "0",
           "-onlyrsidInfo", "1"});
  EXPECT_NE(r.out.find("\nWARNING: File p3.fa: 1 site is" + fastaRule + "\"N\"\n"),
            std::string::npos)
      << r.out;
  const std::string kept = "\np1.fa\n\t1\t1\t0\np3.fa\n\t1\t1\t0.142857\n";
  EXPECT_NE(read("Pravis_Results/Prav_out_.txt").find(kept), std::string::npos);

  // A table of bases only: no warning.
  write("t.txt", samples.hapMap({0, 1}));
  r = run({"-format", "hm", "-input", "t.txt", "-maf", "0", "-onlyrsidInfo", "1"});
  EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;
}

TEST_F(InputPairs, HapMapPositionsAreNamedWithEveryDigit) {
  const std::string header = TwoPopulations::hapMapHeader(4);
  write("rep.txt", header + "rs1 12345670 A G A G\nrs2 12345678 C C T T\nrs3 12345678 G T T G\n");
  expectFatal(run({"-format", "hm", "-input", "rep.txt"}),
              "\nERROR:3 is different from 2. This may be caused by 1 repeated positions in your "
              "files. Please check position 12345678\n",
              4);

  write("down.txt", header + "rs1 1234567890124 A G A G\nrs2 1234567890123 C C T T\n");
  expectFatal(run({"-format", "hm", "-input", "down.txt"}),
              "\nERROR: In file down.txt the positions of population 1 go down: position "
              "1234567890123 follows position 1234567890124. Positions must be in ascending "
              "order.\n",
              4);

  write("a.txt", header + "rs1 12345678 A G A G\n");
  write("b.txt", header + "rs1 12345679 A G A G\n");
  const std::string message =
      "ERROR: The HapMap files a.txt and b.txt do not list the same SNPs in the same order: "
      "position 12345678 on line 2 of file a.txt but 12345679 on line 2 of file b.txt\n";
  const RunResult r = run({"-format", "hm", "-singlepopfile", "1", "-input", "a.txt", "-input2",
                           "b.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 1\n");
}

TEST_F(InputPairs, AnExceptionWhileReadingTheSecondFileNamesIt) {
#ifdef PRAVOLIN_ASAN
  GTEST_SKIP() << "the address space of a sanitized process cannot be limited";
#else
  // A line of 8 MiB cannot be read within 20 MB of address space: it needs
  // a buffer of 16 MiB besides the program.
  const std::string huge(8 << 20, 'A');
  write("a.out", samples.fastPhase(0));
  write("b.out", "BEGIN GENOTYPES\n# j0\n" + huge + "\nA\nEND GENOTYPES\n");
  RunResult r = runWithAddressLimit(20000, {"-format", "fp", "-input", "a.out", "-input2", "b.out"});
  expectFatal(r, failure("b.out", "fastPhase format"));
  EXPECT_NE(r.out.find("An exception occurred when reading b.out: not enough memory\n"),
            std::string::npos)
      << r.out;

  write("h1.txt", samples.hapMap({0}));
  write("h2.txt", TwoPopulations::hapMapHeader(samples.haplotypes) + huge + "\n");
  r = runWithAddressLimit(20000, {"-format", "hm", "-singlepopfile", "1", "-input", "h1.txt",
                                  "-input2", "h2.txt"});
  expectFatal(r, failure("h2.txt", "hapmap phased format"));
  EXPECT_NE(r.out.find("An exception occurred when reading h2.txt: not enough memory\n"),
            std::string::npos)
      << r.out;
#endif
}
