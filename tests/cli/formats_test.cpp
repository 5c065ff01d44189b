// Whole analyses of every haplotype format: the same two populations written
// as FASTA, phased VCF, phased HapMap and fastPHASE give one result row for a
// user site with a fixed window.
#include <algorithm>

#include "cli_harness.hpp"

namespace {

constexpr int sites = 12;
constexpr int haplotypes = 10;  // per population

// Base of haplotype i of population pop at site s: population 1 mostly A,
// population 2 mostly G.
char base(int pop, int i, int s) {
  const bool rare = (i + s) % 5 == 0;
  return (pop == 0) == rare ? 'G' : 'A';
}

std::string column(int pop, int i) {
  std::string h;
  for (int s = 0; s < sites; ++s) h += base(pop, i, s);
  return h;
}

std::string vcfFile(int pop) {
  std::string text = "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT";
  for (int k = 0; k < haplotypes / 2; ++k) text += "\ts" + std::to_string(k);
  text += "\n";
  for (int s = 0; s < sites; ++s) {
    text += "7\t" + std::to_string(100 * (s + 1)) + "\t.\tA\tG\t.\tPASS\t.\tGT";
    for (int k = 0; k < haplotypes / 2; ++k) {
      text += "\t";
      text += base(pop, 2 * k, s) == 'G' ? '1' : '0';
      text += "|";
      text += base(pop, 2 * k + 1, s) == 'G' ? '1' : '0';
    }
    text += "\n";
  }
  return text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace

class Formats : public CliTest {
 protected:
  // The one result row of the analysis that wrote name, which must end with
  // the same JHac test in every format (no EOS test: the FST columns are 0).
  std::string resultRow(const std::string& name) {
    const std::vector<std::string> table = lines(read(name));
    EXPECT_EQ(table.size(), 3u) << read(name);
    if (table.size() < 2) return "";
    const std::string& row = table[1];
    const std::string tail = "\t11\t0\t0\t0\t0\t10\t10\t16.699730695\t0.0812778815546\tns";
    EXPECT_EQ(row.substr(row.size() - std::min(row.size(), tail.size())), tail);
    return row.substr(0, row.size() - std::min(row.size(), tail.size()));
  }
};

TEST_F(Formats, FastaTagSplitStoresBothPopulations) {
  std::string text;
  for (int pop = 0; pop < 2; ++pop)
    for (int i = 0; i < haplotypes; ++i)
      text += std::string(">") + (pop == 0 ? "PopA_" : "popB_") + std::to_string(i) + "\n" +
              column(pop, i) + "\n";
  write("f.fas", text);
  const RunResult r = run({"-format", "fasta", "-input", "f.fas", "-tag", "POPA", "-store", "1",
                           "-window", "11", "-selectives", "5", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string row = resultRow("Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv");
  EXPECT_EQ(row, "f.fas\t12\t1\t5\t12\t0\t11");
  EXPECT_EQ(read("f_popa.fas").substr(0, 16), ">PopA_0\n" + column(0, 0).substr(0, 8));
  EXPECT_EQ(read("f_NON_popa.fas").substr(0, 8), ">popB_0\n");
}

TEST_F(Formats, VcfPairNamesTheRunAfterBothFiles) {
  write("a.vcf", vcfFile(0));
  write("b.vcf", vcfFile(1));
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
  std::string text = "rsid pos";
  for (int c = 0; c < 2 * haplotypes; ++c) text += " h" + std::to_string(c);
  text += "\n";
  for (int s = 0; s < sites; ++s) {
    text += "rs" + std::to_string(s) + " " + std::to_string(1000 * (s + 1));
    for (int pop = 0; pop < 2; ++pop)
      for (int i = 0; i < haplotypes; ++i) text += std::string(" ") + base(pop, i, s);
    text += "\n";
  }
  write("hm.txt", text);
  const RunResult r = run({"-format", "hm", "-input", "hm.txt", "-window", "11", "-selectives",
                           "6000", "-fixseed", "1"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv";
  EXPECT_EQ(read(name).find("File\t#SNPs\tCandidate\trsid\tPos\tWide\tIni\tEnd\t"), 0u);
  const std::string row = resultRow(name);
  EXPECT_EQ(row, "hm.txt\t12\t1\tRS5\t6000\t12\t1000\t12000");
}

TEST_F(Formats, FastPhasePairWithItsSnpTable) {
  for (int pop = 0; pop < 2; ++pop) {
    std::string text = "fastPHASE\nBEGIN GENOTYPES\n";
    for (int i = 0; i < haplotypes; ++i)
      text += "# id" + std::to_string(i) + "\n" + column(pop, i) + "\n" + column(pop, i) + "\n";
    write(pop == 0 ? "a.out" : "b.out", text + "END GENOTYPES\n");
  }
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
