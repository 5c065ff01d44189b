// How an execution ends when it cannot do what was asked: user sites that
// match no site, a SNP table without sites, exceptions (memory that runs
// out), and -runs asked of input that is read once.
#include <filesystem>

#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

const std::string msArgs[] = {"-path", std::string(PRAVOLIN_TEST_DATA) + "/ms/", "-input",
                              "sim0.txt", "-sample", "30", "-sample2", "30", "-fixseed", "1"};

std::vector<std::string> msRun(std::vector<std::string> extra) {
  std::vector<std::string> args(std::begin(msArgs), std::end(msArgs));
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// A phased VCF of one population of two individuals: sites at first,
// first + 100, first + 200, ...
std::string vcfFile(int sites, std::uint64_t seed, int first = 100) {
  TestRandom rnd(seed);
  std::string text =
      "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\ts0\ts1\n";
  for (int s = 0; s < sites; ++s) {
    text += "7\t" + std::to_string(first + 100 * s) + "\t.\tA\tG\t.\tPASS\t.\tGT";
    for (int k = 0; k < 2; ++k) {
      text += '\t';
      text += static_cast<char>('0' + rnd.next() % 2);
      text += '|';
      text += static_cast<char>('0' + rnd.next() % 2);
    }
    text += "\n";
  }
  return text;
}

// The names of the files in a folder.
std::vector<std::string> filesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

}  // namespace

class DriverOutcomes : public CliTest {};

TEST_F(DriverOutcomes, UserSitesThatGiveNoCandidateSayWhyOnTheConsole) {
  // 5 and 2.5 lie beyond the last MS position, below 1.
  const std::string message =
      "Pravolin ERROR:\nCannot found between-population-shared SNP with frequency above MAF and "
      "close to any of the proposed candidate SNPs for studying selection.";
  expectFatal(run(msRun({"-selectives", "5", "2.5"})), message);
  EXPECT_FALSE(exists("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_Blocks.tsv"));

  // VCF sites at 1000 .. 2400: 800 lies below the first.
  write("a.vcf", vcfFile(15, 1, 1000));
  write("b.vcf", vcfFile(15, 2, 1000));
  expectFatal(run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-minwin", "5",
                   "-selectives", "800"}),
              message);
}

TEST_F(DriverOutcomes, OnlyRsidInfoWritesItsTableWhenNoSitePassesMaf) {
  // No site of sim0.txt reaches a pooled allele-1 frequency of 0.99: the
  // table holds the header and the population lines, and no results table
  // is written.
  RunResult r = run(msRun({"-onlyrsidInfo", "1", "-maf", "0.99"}));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nThere are not common SNPs at frequency >= 0.99 in the file sim0.txt\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos);
  EXPECT_EQ(read("Pravis_Results/Prav_out_.txt"), "\nPopulation\trsID\tPosition\tFrequency\n1\n2\n\n");
  EXPECT_EQ(filesIn(dir_ / "Pravis_Results"), std::vector<std::string>{"Prav_out_.txt"});
  // -singlepopfile does not give MS a second file: one file, populations 1 and 2.
  r = run(msRun({"-onlyrsidInfo", "1", "-maf", "0.99", "-singlepopfile", "1", "-output", "one"}));
  EXPECT_EQ(read("Pravis_Results/one_.txt"), "\nPopulation\trsID\tPosition\tFrequency\n1\n2\n\n");

  // Allele-count input whose every locus is fixed fails the locus filter the same way.
  write("fixed.txt", "[loci]=2\n[populations]=2\n[pop]=1\n1 10 2 10 0\n2 10 2 0 10\n[pop]=2\n"
                     "1 10 2 10 0\n2 10 2 0 10\n");
  r = run({"-format", "bs", "-input", "fixed.txt", "-onlyrsidInfo", "1", "-output", "bs"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(read("Pravis_Results/bs_.txt"), "\nPopulation\trsID\tPosition\tFrequency\n1\n2\n\n");
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos);

  // Several runs: still only the first run is read and nothing is written.
  std::filesystem::remove_all(dir_ / "Pravis_Results");
  for (int k = 0; k < 3; ++k)
    std::filesystem::copy_file(std::string(PRAVOLIN_TEST_DATA) + "/ms/sim0.txt",
                               dir_ / ("sim" + std::to_string(k) + ".txt"));
  r = run({"-input", "sim", "-runs", "3", "-sample", "30", "-sample2", "30", "-onlyrsidInfo", "1",
           "-maf", "0.99"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("File sim0.txt parsed"), std::string::npos);
  EXPECT_EQ(r.out.find("File sim1.txt parsed"), std::string::npos);
  EXPECT_NE(r.out.find("no table was written for these 3 runs\n"), std::string::npos);
  EXPECT_TRUE(filesIn(dir_ / "Pravis_Results").empty());
}

TEST_F(DriverOutcomes, MemoryThatRunsOutIsNamedAsTheCause) {
#ifdef PRAVOLIN_ASAN
  GTEST_SKIP() << "the address space of a sanitized process cannot be limited";
#else
  // 400000 sites of 4 + 4 haplotypes (10 MB) read within 14 MB but need about
  // 70 MB to be analysed: at 40 MB the run fails after its read.
  write("big.ms", msTwoBlocks(400000, 4, 7));
  expectFatal(runWithAddressLimit(40000, {"-input", "big.ms", "-sample", "4", "-minwin", "5"}),
              "\nAn exception occurred during Pravolin execution: not enough memory while "
              "processing big.ms");

  // Runs that finished before are written before the failure ends the execution.
  write("mem0.txt", msTwoBlocks(40, 4, 1));
  std::filesystem::rename(dir_ / "big.ms", dir_ / "mem1.txt");
  RunResult r = runWithAddressLimit(
      40000, {"-input", "mem", "-runs", "2", "-sample", "4", "-minwin", "5"});
  expectFatal(r, "\nAn exception occurred during Pravolin execution: not enough memory while "
                 "processing mem1.txt");
  EXPECT_NE(r.out.find("\nRun 1 (mem1.txt) ended the execution: the results of the runs before it "
                       "were written.\n"),
            std::string::npos)
      << r.out;
  EXPECT_FALSE(std::filesystem::is_empty(dir_ / "Pravis_Results"));

  // 2147483646 SNP tables are set up before the first run (64 GB).
  expectFatal(runWithAddressLimit(1000000, {"-runs", "2147483646", "-rsidInfo", "1"}),
              "\nAn exception occurred during Pravolin execution: not enough memory");

  // The VCF reader catches the failure itself, names it, and the read fails.
  write("a.vcf", vcfFile(200000, 1));
  write("b.vcf", vcfFile(200000, 2));
  r = runWithAddressLimit(20000, {"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("An exception occurred when reading VCF files: not enough memory\n"),
            std::string::npos)
      << r.out;
#endif
}

TEST_F(DriverOutcomes, RunsAskedOfAPairOfFilesAreReadAsOneRun) {
  write("a.vcf", vcfFile(30, 1));
  write("b.vcf", vcfFile(30, 2));
  const std::string note = "\n-runs 3 is read as one run: this input is one pair of files, read once.\n";
  RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-runs", "3",
                     "-minwin", "5", "-verbose", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(note), std::string::npos) << r.out;
  EXPECT_NE(read("Pravis.log").find(note), std::string::npos);
  const std::string parsed = "\nFile a.vcf vs b.vcf parsed\n";
  const std::size_t at = r.out.find(parsed);
  EXPECT_NE(at, std::string::npos);
  EXPECT_EQ(r.out.find(" parsed", at + parsed.size()), std::string::npos);

  // The note comes at start-up, before any file is read.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{
           {"-format", "fp", "-input", "x", "-input2", "y"},
           {"-format", "fasta", "-input", "x", "-input2", "y"},
           {"-format", "hm", "-singlepopfile", "1", "-input", "x", "-input2", "y"},
           {"-format", "plink", "-input", "x"}}) {
    std::vector<std::string> withRuns = args;
    withRuns.insert(withRuns.end(), {"-runs", "3"});
    r = run(withRuns);
    EXPECT_NE(r.out.find(note), std::string::npos) << args[1] << "\n" << r.out;
  }
  // Input read once per run, or one run asked for: no note.
  EXPECT_EQ(run(msRun({"-runs", "3"})).out.find("read as one run"), std::string::npos);
  EXPECT_EQ(run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-minwin", "5"})
                .out.find("read as one run"),
            std::string::npos);
}
