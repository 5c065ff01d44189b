#include "analysis/input_format.hpp"

#include <gtest/gtest.h>

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

TEST(InputFormatChoice, SubstringSearchInOrder) {
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

TEST(InputFormatChoice, ForcedOptions) {
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
