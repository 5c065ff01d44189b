// Whole analyses of every haplotype format: the same two populations written
// as FASTA, phased VCF, phased HapMap and fastPHASE give one result row for a
// user site with a fixed window.
#include <algorithm>

#include "cli_harness.hpp"
#include "sample_files.hpp"
#include "text_table.hpp"

namespace {

constexpr int sites = 12;
constexpr int haplotypes = 10;  // per population

const TwoPopulations samples{sites, haplotypes};

}  // namespace

class Formats : public CliTest {
 protected:
  // The one result row of the analysis that wrote name, which must end with
  // the same JHac test in every format (no EOS test: the FST columns are NA).
  std::string resultRow(const std::string& name) {
    const std::vector<std::string> table = lines(read(name));
    EXPECT_EQ(table.size(), 3u) << read(name);
    if (table.size() < 2) return "";
    const std::string& row = table[1];
    const std::string tail = "\t11\tNA\tNA\tNA\tNA\t10\t10\t16.699730695\t0.0812778815546\tns";
    EXPECT_EQ(row.substr(row.size() - std::min(row.size(), tail.size())), tail);
    return row.substr(0, row.size() - std::min(row.size(), tail.size()));
  }
};

TEST_F(Formats, FastaTagSplitStoresBothPopulations) {
  std::string text;
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < haplotypes; ++i)
      text += std::string(">") + (pop == 0 ? "PopA_" : "popB_") + std::to_string(i) + "\n" +
              samples.haplotype(pop, i) + "\n";
  write("f.fas", text);
  const RunResult r = run({"-format", "fasta", "-input", "f.fas", "-tag", "POPA", "-store", "1",
                           "-window", "11", "-selectives", "5", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string row = resultRow("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv");
  EXPECT_EQ(row, "f.fas\t12\t1\t5\t12\t0\t11");
  EXPECT_EQ(read("f_popa.fas").substr(0, 16), ">PopA_0\n" + samples.haplotype(0, 0).substr(0, 8));
  EXPECT_EQ(read("f_NON_popa.fas").substr(0, 8), ">popB_0\n");
}

TEST_F(Formats, VcfPairNamesTheRunAfterBothFiles) {
  write("a.vcf", samples.vcf(0));
  write("b.vcf", samples.vcf(1));
  const RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-window",
                           "11", "-selectives", "600", "-verbose", "1", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nNumber of common SNPs retained is 12\n"), std::string::npos);
  const std::string row = resultRow("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv");
  EXPECT_EQ(row, "a.vcf vs b.vcf\t12\t1\t600\t12\t100\t1200");
  EXPECT_NE(read("Pravis.log").find("\nPravolin of files a.vcf and b.vcf\n\nSample sizes are 10 and 10\n"),
            std::string::npos);
}

TEST_F(Formats, HapMapNamesReachTheResultsTable) {
  write("hm.txt", samples.hapMap({0, 1}));
  const RunResult r = run({"-format", "hm", "-input", "hm.txt", "-window", "11", "-selectives",
                           "6000", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv";
  EXPECT_EQ(read(name).find("File\t#SNPs\tCandidate\trsid\tPos\tWide\tIni\tEnd\t"), 0u);
  const std::string row = resultRow(name);
  EXPECT_EQ(row, "hm.txt\t12\t1\tRS5\t6000\t12\t1000\t12000");
}

TEST_F(Formats, FastPhasePairWithItsSnpTable) {
  write("a.out", samples.fastPhase(0));
  write("b.out", samples.fastPhase(1));
  RunResult r = run({"-format", "fp", "-input", "a.out", "-input2", "b.out", "-window", "11",
                     "-selectives", "5", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string row = resultRow("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv");
  EXPECT_EQ(row, "a.out vs b.out\t12\t1\t5\t12\t0\t11");
  // The SNP table labels the populations with the two file names.
  r = run({"-format", "fp", "-input", "a.out", "-input2", "b.out", "-onlyrsidInfo", "1"});
  EXPECT_EQ(r.status, 0);
  const std::string table = read("Pravis_Results/Prav_out_.txt");
  EXPECT_NE(table.find("\na.out\n\t0\t0\t0.2\n"), std::string::npos) << table;
  EXPECT_NE(table.find("\nb.out\n\t0\t0\t0.8\n"), std::string::npos);
}
