#include "analysis/input_format.hpp"

#include <gtest/gtest.h>

#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "reader_capture.hpp"
#include "test_support.hpp"

namespace {

InputFormat formatOf(const std::string& word, Options* out = nullptr) {
  Options o;
  o.format = word;
  testing::internal::CaptureStdout();
  const InputFormat f = chooseInputFormat(o);
  testing::internal::GetCapturedStdout();
  if (out) *out = o;
  return f;
}

}  // namespace

// A word that names no format is announced in Pravis.log, in the test's folder.
class InputFormatChoice : public TempDirTest {};

TEST_F(InputFormatChoice, SubstringSearchInOrder) {
  EXPECT_EQ(formatOf("fasta"), InputFormat::FASTA);
  EXPECT_EQ(formatOf("msfasta"), InputFormat::FASTA);
  EXPECT_EQ(formatOf("fas"), InputFormat::MS);
  EXPECT_EQ(formatOf("plink"), InputFormat::PL);
  EXPECT_EQ(formatOf("pl2"), InputFormat::PL2);
  EXPECT_EQ(formatOf("vcfhm"), InputFormat::HM);
  EXPECT_EQ(formatOf("FASTPHASE"), InputFormat::MS);
  EXPECT_EQ(formatOf("genepop"), InputFormat::MS);
  EXPECT_EQ(formatOf("hapmap"), InputFormat::MS);
  EXPECT_EQ(formatOf("MS"), InputFormat::MS);
  EXPECT_EQ(formatOf("vcf"), InputFormat::VCF);
  EXPECT_EQ(formatOf("fp"), InputFormat::FP);
}

TEST_F(InputFormatChoice, ForcedOptions) {
  Options o;
  o.format = "gp";
  testing::internal::CaptureStdout();
  EXPECT_EQ(chooseInputFormat(o), InputFormat::GP);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Detected Genepop format: setting doEOS = true.\n");
  EXPECT_TRUE(o.onlyEOS && o.doEOS);
  EXPECT_EQ(o.format, "GP");

  Options quiet;
  quiet.format = "bs";
  quiet.doEOS = true;
  testing::internal::CaptureStdout();
  chooseInputFormat(quiet);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  Options pl;
  pl.format = "pl";
  pl.runs = 5;
  testing::internal::CaptureStdout();
  chooseInputFormat(pl);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Detected Plink format: setting doEOS = true.\n");
  EXPECT_EQ(pl.runs, 1);

  Options v;
  formatOf("vcf", &v);
  EXPECT_TRUE(v.singlepopfile);
  Options fasta;
  fasta.format = "fasta";
  fasta.inputfile2 = "b.fas";
  chooseInputFormat(fasta);
  EXPECT_TRUE(fasta.singlepopfile);
}

// The reading step of a run: the reader of the format, the read report in the
// log text (and on the console with -verbose), the run's display name and what
// the step completes after the read.
class RunInput : public TempDirTest {
 protected:
  void TearDown() override {
    verbose = false;
    TempDirTest::TearDown();
  }
  // Reads with the options chosen for format; the console output goes to out.
  bool read(const std::string& format) {
    exec.options.format = format;
    return captureRead(out, [&] {
      exec.format = chooseInputFormat(exec.options);
      return readRunInput(exec, run);
    });
  }
  Execution exec;
  RunData run;
  std::string out;
};

TEST_F(RunInput, ReportAndDisplayNameOfEachInputFamily) {
  // MS of two samples of unequal sizes: the smaller one is the reference.
  writeFile("sim.txt", "\n//\nsegsites: 2\npositions: 0.1 0.2\n01\n00\n00\n11\n10\n10\n00\n");
  exec.options.inputfile = "sim.txt";
  exec.options.sample = 3;
  exec.options.sample2 = 4;
  verbose = true;
  ASSERT_TRUE(read("ms"));
  EXPECT_EQ(exec.logtext, "\nPravolin of file sim.txt:\n\nSample sizes are 3 and 4\n");
  EXPECT_NE(out.find("\nRead file sim.txt\n\nSample sizes are 3 and 4\n"), std::string::npos);
  EXPECT_EQ(exec.options.inputfile, "sim.txt");
  EXPECT_EQ(exec.pref, 1);
  ASSERT_EQ(run.snpfreqs.size(), 2u);
  ASSERT_EQ(run.snpfreqs[0].size(), 2u);
  EXPECT_DOUBLE_EQ(run.snpfreqs[0][0], 0.0);
  EXPECT_DOUBLE_EQ(run.snpfreqs[0][1], 1.0 / 3);
  EXPECT_EQ(run.snpfreqs[1], (std::vector<double>{0.75, 0.25}));
  verbose = false;

  // Two VCF files: the run is named by both.
  exec = Execution();
  run = RunData();
  exec.options.path = PRAVOLIN_TEST_DATA "/malformed/";
  exec.options.inputfile = "vcf_ok.vcf";
  exec.options.inputfile2 = "vcf_b.vcf";
  ASSERT_TRUE(read("vcf"));
  EXPECT_EQ(exec.logtext,
            "\nPravolin of files vcf_ok.vcf and vcf_b.vcf\n\nSample sizes are 20 and 24\n");
  EXPECT_EQ(exec.runBaseName, "vcf_ok.vcf");
  EXPECT_EQ(exec.options.inputfile, "vcf_ok.vcf vs vcf_b.vcf");

  // PLINK: one name for the .map and .ped files; the sites come from the counts.
  exec = Execution();
  run = RunData();
  exec.options.path = PRAVOLIN_TEST_DATA "/malformed/";
  exec.options.inputfile = exec.options.inputfile2 = "pl_ok";
  ASSERT_TRUE(read("pl"));
  EXPECT_EQ(exec.logtext,
            "\nPravolin of files pl_ok.map and pl_ok.ped:\n\nSample sizes in pl_ok.ped are 8 "
            "and 7\n\nLoci of files pl_ok.map and pl_ok.ped: 12 read, 12 kept, 0 left out (0 "
            "with a most common allele above 1 - 0.01 of the copies in a population, 0 with n - 1 "
            "or more of the 2n copies missing in a population of n individuals)\n");
  EXPECT_EQ(exec.options.inputfile, "pl_ok.map and pl_ok.ped");
  EXPECT_EQ(exec.options.inputfile2, "pl_ok.ped");
  EXPECT_EQ(exec.numsnps[0], static_cast<int>(run.filelocnames.size()));
  EXPECT_EQ(run.fstdistrib.size(), run.filelocnames.size());
}

TEST_F(RunInput, AFailedReadEndsTheProgramOrOnlyItsRun) {
  writeFile("empty.txt", "");
  exec.options.inputfile = "empty.txt";
  exec.options.sample = 2;
  exec.options.runs = 2;
  EXPECT_FALSE(read("ms"));
  const std::string message = "\nERROR: \nFail when reading empty.txt under MS format\n";
  EXPECT_NE(out.find(message + "\n"), std::string::npos);
  EXPECT_EQ(exec.logtext, message);
  EXPECT_FALSE(fileExists("Pravis_ERROR.log"));

  exec.options.runs = 1;
  EXPECT_FATAL_STATUS(read("ms"), 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 1\n");
}
