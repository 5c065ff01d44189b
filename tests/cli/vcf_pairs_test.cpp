// Two phased VCF files analysed end to end: how the alleles of the two files
// are matched at a shared site, which positions are left out and how they
// are counted, and what the program says of a position that is no number.
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_harness.hpp"

namespace {

constexpr int individuals = 10;
constexpr int sites = 20;

std::string header(int samples = individuals) {
  std::string text = "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT";
  for (int k = 0; k < samples; ++k) text += "\ts" + std::to_string(k);
  return text + "\n";
}

// A file of six individuals whose records are given as "POS REF ALT" and six
// genotypes, blank-separated.
std::string sixIndividuals(const std::vector<std::string>& records) {
  std::string text = header(6);
  for (const std::string& record : records) {
    std::istringstream in(record);
    std::string pos, ref, alt, genotype;
    in >> pos >> ref >> alt;
    text += "1\t" + pos + "\t.\t" + ref + "\t" + alt + "\t.\tPASS\t.\tGT";
    while (in >> genotype) text += "\t" + genotype;
    text += "\n";
  }
  return text;
}

// Whether haplotype h of population pop carries G at site s. Population 1
// has G on 18 of its 20 haplotypes at every site; population 2 on all 20 at
// even sites and on 16 at odd ones: both near 0.9, little differentiated.
bool carriesG(int pop, int s, int h) {
  const int others = pop == 0 ? 2 : (s % 2 == 0 ? 0 : 4);
  for (int z = 0; z < others; ++z)
    if ((s + 7 * pop + 3 * z) % (2 * individuals) == h) return false;
  return true;
}

// The population's file, with G written as the given ALT (code 1) or REF
// (code 0) and the other allele as `other`.
std::string vcfFile(int pop, bool gIsAlt, const std::string& other) {
  std::string text = header();
  const std::string ref = gIsAlt ? other : "G", alt = gIsAlt ? "G" : other;
  for (int s = 0; s < sites; ++s) {
    text += "1\t" + std::to_string(100 * (s + 1)) + "\t.\t" + ref + "\t" + alt + "\t.\tPASS\t.\tGT";
    for (int k = 0; k < individuals; ++k) {
      const auto code = [&](int h) { return carriesG(pop, s, h) == gIsAlt ? '1' : '0'; };
      text += std::string("\t") + code(k) + "|" + code(individuals + k);
    }
    text += "\n";
  }
  return text;
}

const char* const table = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_W11.tsv";

}  // namespace

class VcfPairs : public CliTest {
 protected:
  // The results table grows at each execution: each analysis starts afresh.
  RunResult analyse() const {
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    return run({"-format", "vcf", "-input", "p1.vcf", "-input2", "p2.vcf", "-doEOS", "1",
                "-selectives", "1000", "-window", "11", "-verbose", "1", "-fixseed", "1"});
  }
  // The MeanFST column of the one results row.
  double meanFst() const {
    const std::string text = read(table);
    const std::size_t row = text.find("\np1.vcf vs p2.vcf\t");
    if (row == std::string::npos) return -1.0;
    std::size_t at = row + 1;
    for (int column = 0; column < 8; ++column) at = text.find('\t', at) + 1;
    return std::strtod(text.c_str() + at, nullptr);
  }
};

TEST_F(VcfPairs, SwappedRefAndAltGiveTheResultsOfTheSameRefAndAlt) {
  write("p1.vcf", vcfFile(0, true, "A"));
  write("p2.vcf", vcfFile(1, true, "A"));
  const RunResult r = analyse();
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nNumber of common SNPs retained is 20\n"), std::string::npos);
  // G is near 0.9 in both populations: the FST is small, far from the 0.5
  // above which the outlier test gives way to the highest-FST rule.
  const double mean = meanFst();
  EXPECT_GT(mean, 0.0) << read(table);
  EXPECT_LT(mean, 0.01) << read(table);
  EXPECT_EQ(r.out.find("FST mean too high"), std::string::npos) << r.out;
  EXPECT_EQ(read(table).find("THE AVERAGE FST WAS GREATER THAN 0.5"), std::string::npos);
  const std::string same = read(table);

  // The same haplotypes written with REF and ALT swapped in file 2 give the
  // same results.
  write("p2.vcf", vcfFile(1, false, "A"));
  ASSERT_EQ(analyse().status, 0);
  EXPECT_EQ(read(table), same);
}

TEST_F(VcfPairs, PositionsWhoseRecordsNameThreeAllelesAreLeftOutWithOneWarning) {
  // The alleles of the site at `position` in a file's text.
  const auto setAlleles = [](std::string text, int position, const std::string& ref,
                             const std::string& alt) {
    const std::string at = "\t" + std::to_string(position) + "\t.\t";
    const std::size_t from = text.find(at) + at.size();
    const std::size_t to = text.find("\t.\tPASS", from);
    text.replace(from, to - from, ref + "\t" + alt);
    return text;
  };
  // Every site is A>G in both files, except: A>T against A>G at 400, AT>A
  // against A>G at 500, A>G against C>G at 600 (three alleles each), and
  // two sites of two alleles: A>. against A>G at 700, G>A against A>G at 800.
  std::string p1 = vcfFile(0, true, "A"), p2 = vcfFile(1, true, "A");
  p1 = setAlleles(setAlleles(setAlleles(p1, 400, "A", "T"), 500, "AT", "A"), 700, "A", ".");
  p2 = setAlleles(setAlleles(p2, 600, "C", "G"), 800, "G", "A");
  write("p1.vcf", p1);
  write("p2.vcf", p2);
  RunResult r = analyse();
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string warning =
      "\nWARNING: 3 positions held by both p1.vcf and p2.vcf are left out because the two "
      "records name more than two alleles or share none (REF and first ALT of each): the first "
      "is position 400\n";
  EXPECT_NE(r.out.find(warning), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("WARNING", r.out.find(warning) + warning.size()), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nNumber of common SNPs retained is 17\n"), std::string::npos) << r.out;

  // One ALT under two REFs at every site: no site is left, and the warning
  // stays in Pravis.log.
  write("p2.vcf", vcfFile(1, true, "C"));
  r = analyse();
  EXPECT_EQ(r.status, 1);
  const std::string all =
      "\nWARNING: 20 positions held by both p1.vcf and p2.vcf are left out because the two "
      "records name more than two alleles or share none (REF and first ALT of each): the first "
      "is position 100\n";
  EXPECT_NE(r.out.find(all), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis.log"), all + "\n");
  EXPECT_NE(r.out.find("ERROR: no common SNP positions"), std::string::npos) << r.out;
}

TEST_F(VcfPairs, APositionThatIsNoNumberNamesItsFileAndLine) {
  write("p2.vcf", vcfFile(1, true, "A"));
  const std::string good = vcfFile(0, true, "A");
  // The header is line 2; the site at 700 is on line 9.
  for (const std::string word : {"abc", "10O", "nan", "7e", "inf"}) {
    std::string text = good;
    text.replace(text.find("\t700\t"), 5, "\t" + word + "\t");
    write("p1.vcf", text);
    const RunResult r = analyse();
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string message =
        "ERROR: position is not a finite number in file p1.vcf at line 9, position " + upper + "\n";
    EXPECT_EQ(r.status, 1) << word;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis_ERROR.log"), message + " 1\n");
    EXPECT_FALSE(exists(table));
  }
  // The second file names its own line, also its first data line, where a
  // position cut at its first bad character would go unnoticed; positions
  // going down name their line too.
  write("p1.vcf", good);
  std::string text = vcfFile(1, true, "A");
  text.replace(text.find("\t100\t"), 5, "\t1oo\t");
  write("p2.vcf", text);
  RunResult r = analyse();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("ERROR: position is not a finite number in file p2.vcf at line 3, "
                       "position 1OO\n"),
            std::string::npos)
      << r.out;
  text = vcfFile(1, true, "A");
  text.replace(text.find("\t300\t"), 5, "\t150\t");
  write("p2.vcf", "##extra meta line\n" + text);
  r = analyse();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("ERROR: positions are not in ascending order in file p2.vcf at line 6: "
                       "position 150 follows position 200\n"),
            std::string::npos)
      << r.out;
}

TEST_F(VcfPairs, MonomorphicRecordsWrittenWithAltDotPairOnTheAllelesTheyName) {
  // Four sites polymorphic in both populations, then: at 500 A>. against
  // G>. (A fixed in population 1, G in population 2), at 600 A>. in both, at
  // 700 A>G against C>T (four alleles), at 800 .>G against .>T (no REF, and
  // no allele in common).
  const char* const zeros = "0|0 0|0 0|0 0|0 0|0 0|0";
  write("a.vcf", sixIndividuals({"100 A G 1|0 0|0 0|0 1|1 0|0 0|1",
                                 "200 C T 1|1 1|1 0|0 0|1 0|0 0|0",
                                 "300 G A 0|1 0|0 0|0 0|0 0|0 0|0",
                                 "400 T C 1|1 1|1 1|1 1|0 0|0 0|0",
                                 std::string("500 A . ") + zeros,
                                 std::string("600 A . ") + zeros,
                                 "700 A G 1|0 0|0 0|0 0|0 0|0 0|0",
                                 "800 . G 1|0 0|0 0|0 0|0 0|0 0|0"}));
  write("b.vcf", sixIndividuals({"100 A G 0|1 0|0 1|0 0|0 0|0 0|0",
                                 "200 C T 1|1 1|1 1|1 1|1 1|1 0|1",
                                 "300 G A 1|1 1|1 0|1 0|0 0|0 0|0",
                                 "400 T C 0|0 0|0 0|1 0|0 0|0 0|0",
                                 std::string("500 G . ") + zeros,
                                 std::string("600 A . ") + zeros,
                                 "700 C T 1|0 0|0 0|0 0|0 0|0 0|0",
                                 "800 . T 1|0 0|0 0|0 0|0 0|0 0|0"}));
  const RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf",
                           "-onlyrsidInfo", "1", "-maf", "0"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nWARNING: 2 positions held by both a.vcf and b.vcf are left out because "
                       "the two records name more than two alleles or share none (REF and first "
                       "ALT of each): the first is position 700\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nNumber of common SNPs retained is 6\n"), std::string::npos) << r.out;
  // At 500 the records read A>G and G>A: the second population codes its
  // REF G as allele 1, so A is allele 0 everywhere and the frequencies of G
  // are 0 and 1. At 600 both code every haplotype 0. ALT counts of the other
  // sites, out of 12: 4, 5, 1, 7 and 2, 11, 5, 1.
  EXPECT_EQ(read("Pravis_Results/Prav_out_.txt"),
            "\nPopulation\trsID\tPosition\tFrequency\n"
            "a.vcf\n\t100\t100\t0.333333\n\t200\t200\t0.416667\n\t300\t300\t0.0833333\n"
            "\t400\t400\t0.583333\n\t500\t500\t0\n\t600\t600\t0\n"
            "b.vcf\n\t100\t100\t0.166667\n\t200\t200\t0.916667\n\t300\t300\t0.416667\n"
            "\t400\t400\t0.0833333\n\t500\t500\t1\n\t600\t600\t0\n\n");
}

TEST_F(VcfPairs, PositionsListedInOneFileOnlyAreCounted) {
  // Six positions in both files; 150, 350 and 950 in a.vcf only (950 after
  // the last record of b.vcf), 50 and 700 in b.vcf only (50 before the first
  // record of a.vcf).
  std::vector<std::string> a, b;
  for (const int position : {100, 150, 200, 300, 350, 400, 500, 600, 950})
    a.push_back(std::to_string(position) + " A G 1|0 0|0 0|1 1|1 0|0 0|1");
  for (const int position : {50, 100, 200, 300, 400, 500, 600, 700})
    b.push_back(std::to_string(position) + " A G 0|0 0|1 0|0 0|0 1|0 0|0");
  write("a.vcf", sixIndividuals(a));
  write("b.vcf", sixIndividuals(b));
  const RunResult r = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf",
                           "-onlyrsidInfo", "1", "-maf", "0"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string warning =
      "\nWARNING: only positions listed in both a.vcf and b.vcf are sites: 3 positions listed "
      "in a.vcf only and 2 listed in b.vcf only are left out. Keep the records that are "
      "monomorphic in one population (when taking a population out of a larger VCF file, do "
      "not drop the sites where it is monomorphic)\n";
  EXPECT_NE(r.out.find(warning + "\n\nNumber of common SNPs retained is 6\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(read("Pravis.log"), warning + "\n");

  // The usual case: one file only has positions of its own (a.vcf lost its
  // monomorphic records). Of the shared positions, 300 alone names three
  // alleles (A>T against A>G).
  a.assign({a[0], a[2], "300 A T 1|0 0|0 0|1 1|1 0|0 0|1", a[5]});
  write("a.vcf", sixIndividuals(a));
  const RunResult one = run({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf",
                             "-onlyrsidInfo", "1", "-maf", "0"});
  ASSERT_EQ(one.status, 0) << one.out;
  for (const char* line :
       {"\nWARNING: 1 position held by both a.vcf and b.vcf is left out because the two records "
        "name more than two alleles or share none (REF and first ALT of each): position 300\n",
        "\nWARNING: only positions listed in both a.vcf and b.vcf are sites: 0 positions listed in "
        "a.vcf only and 4 listed in b.vcf only are left out. Keep the records that are "
        "monomorphic in one population (when taking a population out of a larger VCF file, do "
        "not drop the sites where it is monomorphic)\n",
        "\nNumber of common SNPs retained is 3\n"})
    EXPECT_NE(one.out.find(line), std::string::npos) << line << one.out;
}
