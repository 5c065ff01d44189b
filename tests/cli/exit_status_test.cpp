// Exit statuses of inputs that no other test reaches, each test named after
// the status it ends with and checking the status, the console message and
// Pravis_ERROR.log. The README's table of exit statuses names these tests
// beside the other tests that reach each status.
#include <fstream>

#include "cli_harness.hpp"

namespace {

// The head of an MS sample: its segsites and positions lines.
std::string msSampleHead(const std::string& segsites, const std::string& positions) {
  return "\n//\nsegsites: " + segsites + "\npositions: " + positions + "\n";
}

// n haplotype lines of the given length, not all alike.
std::string haplotypeLines(int n, std::size_t length) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    std::string line(length, '0');
    for (std::size_t s = 0; s < length; ++s)
      if ((static_cast<std::size_t>(i) + s) % 3 == 0) line[s] = '1';
    text += line + "\n";
  }
  return text;
}

const std::string msHeader = "ms 20 1 -t 5\n1 2 3\n";

}  // namespace

class ExitStatus : public CliTest {
 protected:
  // An MS file whose first sample holds both populations, 10 haplotypes
  // each, ends with this message and status.
  void expectTwoPopulationsFatal(const std::string& sample, const std::string& message,
                                 int status) const {
    write("two.ms", msHeader + sample);
    expectFatal(run({"-input", "two.ms", "-sample", "10", "-sample2", "10"}), message, status);
  }
};

TEST_F(ExitStatus, Status2MsBlockWithoutPositionsLine) {
  // One block per population: the search for the positions line ends at the
  // last line of the file, which is taken for it.
  write("blocks.ms", msHeader + "\n//\nsegsites: 3\n" + haplotypeLines(10, 3));
  expectFatal(run({"-input", "blocks.ms", "-sample", "10"}),
              "ERROR: There is a format problem reading positions in pop 1\n", 2);
}

TEST_F(ExitStatus, Status3SegsitesWordThatIsNoNumber) {
  // The word reads as 0 sites, which the three positions then contradict.
  const std::string sample = msSampleHead("abc", "0.1 0.5 0.9") + haplotypeLines(10, 3);
  write("blocks.ms", msHeader + sample + msSampleHead("3", "0.1 0.5 0.9") + haplotypeLines(10, 3));
  expectFatal(run({"-input", "blocks.ms", "-sample", "10"}),
              "ERROR: There is a problem reading positions in pop 1 Expected number of positions "
              "0 was different of observed 3\n",
              3);

  expectTwoPopulationsFatal(msSampleHead("abc", "0.1 0.5 0.9") + haplotypeLines(20, 3),
                            "ERROR: There is a problem reading positions in file two.ms Expected "
                            "number of positions 0 was different of observed 3\n",
                            3);
}

TEST_F(ExitStatus, Status3NotStatus2ForOneMsBlockWithAGivenReference) {
  // A reference population that one block cannot hold is never reported as
  // such: the population count comes first.
  write("one.ms", msHeader + msSampleHead("3", "0.1 0.5 0.9") + haplotypeLines(10, 3));
  expectFatal(run({"-input", "one.ms", "-sample", "10", "-reference", "2"}),
              "\nERROR: In file one.ms\nThe number of populations 1 does not coincide with the "
              "expected 2\nThe file holds one segsites block: give -sample2 for the second "
              "population when both populations are in one block (its first -sample haplotypes "
              "are population 1, the next -sample2 population 2)\n",
              3);
}

TEST_F(ExitStatus, Status4ThirdRepeatAndDescentInTheTwoPopulationLayout) {
  // A repeat is raised by 1e-07 and the run goes on; a third equal position
  // is raised to the same value as the second.
  write("twice.ms", msHeader + msSampleHead("6", "0.1 0.25 0.5 0.5 0.75 0.9") +
                        haplotypeLines(20, 6));
  const RunResult r =
      run({"-input", "twice.ms", "-sample", "10", "-sample2", "10", "-minwin", "5"});
  const std::string raised = "WARNING: There is a problem with repeated positions in file "
                             "twice.ms Positions 0.5 is equal to previous one 0.5\nThe position "
                             "is updated to 0.5000001\n";
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(raised), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis.log"), raised + " 4\n");
  EXPECT_FALSE(exists("Pravis_ERROR.log"));

  // The raised second and third positions are the repeat.
  expectTwoPopulationsFatal(
      msSampleHead("6", "0.1 0.25 0.5 0.5 0.5 0.9") + haplotypeLines(20, 6),
      "\nERROR:6 is different from 5. This may be caused by 1 repeated positions in your files. "
      "Please check position 0.5000001\n",
      4);

  // The two sites at the raised position are kept or left out together: when
  // -maf leaves that position out (no haplotype carries allele 1 at either),
  // nothing repeats and the run goes on.
  std::string lines = haplotypeLines(20, 6);
  for (std::size_t at = 0; at < lines.size(); at += 7) lines[at + 3] = lines[at + 4] = '0';
  write("left.ms", msHeader + msSampleHead("6", "0.1 0.25 0.5 0.5 0.5 0.9") + lines);
  EXPECT_EQ(run({"-input", "left.ms", "-sample", "10", "-sample2", "10", "-minwin", "3"}).status, 0);

  // A position below the one before it is raised too, and still goes down.
  expectTwoPopulationsFatal(msSampleHead("4", "0.1 0.5 0.25 0.9") + haplotypeLines(20, 4),
                            "\nERROR: In file two.ms the positions of population 1 go down: "
                            "position 0.2500001 follows position 0.5. Positions must be in "
                            "ascending order.\n",
                            4);
  EXPECT_EQ(read("Pravis.log"),
            "WARNING: There is a problem with repeated positions in file two.ms Positions 0.25 is "
            "lower than previous one 0.5\nThe position is updated to 0.2500001\n 4\n");
}

TEST_F(ExitStatus, Status4RepeatedPositionOfHapMapAndVcf) {
  const std::string repeated = "\nERROR:4 is different from 3. This may be caused by 1 repeated "
                               "positions in your files. Please check position 200\n";
  write("h.txt", "rsid pos h0 h1 h2 h3\nrs1 100 A G A G\nrs2 200 C C T T\nrs3 200 G T T G\n"
                 "rs4 300 A A G G\n");
  expectFatal(run({"-format", "hm", "-input", "h.txt"}), repeated, 4);

  // A multi-allelic site split into two records in a.vcf: A>T, which no
  // one carries, then A>G, which everyone carries, as in b.vcf. Pairing
  // either record would be a guess; the position ends the execution when
  // a.vcf is read.
  const std::string head = "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO"
                           "\tFORMAT\ts0\ts1\n";
  const auto record = [](const char* position, const char* alt, const char* genotype) {
    return std::string("7\t") + position + "\t.\tA\t" + alt + "\t.\tPASS\t.\tGT\t" + genotype +
           "\t" + genotype + "\n";
  };
  write("a.vcf", head + record("100", "G", "0|1") + record("12345678", "T", "0|0") +
                     record("12345678", "G", "1|1") + record("12345690", "G", "1|0"));
  write("b.vcf", head + record("100", "G", "1|0") + record("12345678", "G", "1|1") +
                     record("12345690", "G", "0|1"));
  expectFatal(run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf"}),
              "ERROR: position 12345678 is listed twice in file a.vcf, at lines 4 and 5. One "
              "biallelic record per position is read: give a multi-allelic site as one record, "
              "or reduce it to one biallelic record\n",
              4);
}

TEST_F(ExitStatus, Status5HaplotypeLineOfPopulation1InTheTwoPopulationLayout) {
  const std::string head = msSampleHead("3", "0.1 0.5 0.9");
  expectTwoPopulationsFatal(head + haplotypeLines(4, 3) + "0101\n" + haplotypeLines(15, 3),
                            "ERROR: In sample 5 there is a problem with haplotype size in pop 0 "
                            "Expected haplo size 3 was different of observed 4\n",
                            5);

  // Lines missing: the end of the file reads as a haplotype of no site.
  expectTwoPopulationsFatal(head + haplotypeLines(6, 3),
                            "ERROR: In sample 7 there is a problem with haplotype size in pop 0 "
                            "Expected haplo size 3 was different of observed 0\n",
                            5);
}

TEST_F(ExitStatus, Status5BlockOfNoSitesCutShort) {
  // One block per population: a block of no site takes empty lines as its
  // haplotypes, and the end of the file leaves it short of -sample.
  write("zero.ms", msHeader + msSampleHead("3", "0.1 0.5 0.9") + haplotypeLines(10, 3) +
                       msSampleHead("0", "") + "\n\n");
  expectFatal(run({"-input", "zero.ms", "-sample", "10"}),
              "ERROR: In file zero.ms. There is a problem with data size which is 12 and should "
              "be 20\n",
              5);
}

TEST_F(ExitStatus, Status6ReadErrorOfAnMsFile) {
  // Reading /proc/self/mem from its start fails with an input/output error.
  std::ifstream probe("/proc/self/mem");
  char c = 0;
  probe.get(c);
  if (!probe.bad()) GTEST_SKIP() << "no read error from /proc/self/mem here";
  const std::string message = "ERROR READING INPUT FILE\n";
  expectFatal(run({"-path", "/proc/self/", "-input", "mem", "-sample", "10"}), message, 6);
  expectFatal(run({"-path", "/proc/self/", "-input", "mem", "-sample", "10", "-sample2", "10"}),
              message, 6);
}

TEST_F(ExitStatus, Status7TwoPopulationSampleOfNoSitesCutShort) {
  expectTwoPopulationsFatal(msSampleHead("0", "") + "\n\n\n",
                            "ERROR: In file two.ms. There is a problem with data size which is 3 "
                            "and should be 20\n",
                            7);
}

TEST_F(ExitStatus, ArgumentIndexIsTheStatus) {
  // The status is the place of the value word, which a list of user sites
  // can make odd; the message names half of it.
  expectFatal(run({"-selectives", "0.5", "0.6", "-runs", "0"}),
              "\nPrav CONSOLE ARGUMENT ERROR: Check argument 2 (-runs 0: out of range, 1 to "
              "2147483646).\n",
              5);
  // Beyond 255 the status stays 255.
  std::vector<std::string> args;
  for (int i = 0; i < 130; ++i) args.insert(args.end(), {"-fixseed", "1"});
  args.insert(args.end(), {"-maf", "2"});
  expectFatal(run(args),
              "\nPrav CONSOLE ARGUMENT ERROR: Check argument 131 (-maf 2: out of range, 0 to 1).\n",
              255);
}

TEST_F(ExitStatus, MaxwinBelowMinwinIsTheStatus) {
  expectFatal(run({"-maxwin", "3"}),
              "\nERROR: \nMaxWinSize is lower than minWinSize: 11. You should define a higher "
              "value\n",
              3);
  expectFatal(run({"-maxwin", "300", "-minwin", "400"}),
              "\nERROR: \nMaxWinSize is lower than minWinSize: 400. You should define a higher "
              "value\n",
              255);
}
