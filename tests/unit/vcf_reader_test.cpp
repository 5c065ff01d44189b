#include "input/vcf_reader.hpp"

#include <array>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "input/common.hpp"
#include "input/vcf_scan.hpp"
#include "test_support.hpp"

namespace {

std::string header(int samples) {
  std::string h =
      "##fileformat=VCFv4.2\n##contig=<ID=1>\n#"
      "CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT";
  for (int s = 0; s < samples; ++s) h += "\tS" + std::to_string(s);
  return h + "\n";
}

std::string site(const std::string& chrom, const std::string& pos, const std::string& ref,
                 const std::string& alt, const std::vector<std::string>& genotypes,
                 const std::string& format = "GT") {
  std::string l =
      chrom + "\t" + pos + "\trs" + pos + "\t" + ref + "\t" + alt + "\t50\tPASS\t.\t" + format;
  for (const std::string& g : genotypes) l += "\t" + g;
  return l + "\n";
}

using PairReader = bool (*)(const std::string&, const std::string&, const std::string&,
                            std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                            std::vector<std::vector<double>>&, int&);

struct PairResult {
  bool ok = false;
  int status = -1;  // exit status of a fatal end, -1 when the read returned
  std::string out;
  std::vector<int> sizes;
  HaplotypeMatrix data;
  std::vector<std::vector<double>> freqs = std::vector<std::vector<double>>(2);
  std::vector<std::vector<double>> positions = std::vector<std::vector<double>>(2);
  int pref = 0;

  std::string row(std::size_t r) const {
    std::string text;
    for (std::size_t k = 0; k < data[r].size(); ++k) text += data[r][k] ? '1' : '0';
    return text;
  }
  bool sameAs(const PairResult& o) const {
    return ok == o.ok && status == o.status && out == o.out && sizes == o.sizes && data == o.data &&
           freqs == o.freqs && positions == o.positions && pref == o.pref;
  }
};

PairResult runPair(PairReader reader, const std::string& f1, const std::string& f2, int pref = 0) {
  PairResult r;
  r.pref = pref;
  testing::internal::CaptureStdout();
  try {
    r.ok = reader("", f1, f2, r.sizes, r.data, r.freqs, r.positions, r.pref);
  } catch (const FatalExit& e) {
    r.status = e.status;
  }
  r.out = testing::internal::GetCapturedStdout();
  return r;
}

// The allele a REF or ALT field stands for: the first of a list, none for ".".
std::string allele(const std::string& field) {
  const std::string first = field.substr(0, field.find(','));
  return first == "." ? "" : first;
}

bool sameAllele(const std::string& x, const std::string& y) { return !x.empty() && x == y; }

// REF and ALT alleles of two records at one position, file 1's then file
// 2's; a record with a REF and no ALT takes as ALT the one allele of the other
// record that it lacks.
std::array<std::string, 4> named(const VcfRecord& a, const VcfRecord& b) {
  std::array<std::string, 4> n = {allele(a.ref), allele(a.alt), allele(b.ref), allele(b.alt)};
  for (int own = 0; own < 4; own += 2) {
    std::set<std::string> lacking = {n[2 - own], n[3 - own]};
    lacking.erase("");
    lacking.erase(n[own]);
    if (!n[own].empty() && n[own + 1].empty() && lacking.size() == 1) n[own + 1] = *lacking.begin();
  }
  return n;
}

// The warning on positions listed in one file only, as printed.
std::string oneFileOnly(const std::string& file1, const std::string& file2, std::size_t only1,
                        std::size_t only2) {
  if (only1 + only2 == 0) return "";
  return "\nWARNING: only positions listed in both " + file1 + " and " + file2 +
         " are sites: " + std::to_string(only1) + (only1 == 1 ? " position" : " positions") +
         " listed in " + file1 + " only and " + std::to_string(only2) + " listed in " + file2 +
         " only are left out. Keep the records that are monomorphic in one population (when "
         "taking a population out of a larger VCF file, do not drop the sites where it is "
         "monomorphic)\n\n";
}

// The pair read step by step from readVcfRecords, straight from the rules:
// merge on equal positions where the two records name two alleles at most
// and share one, code per character.
bool oraclePair(const std::string& path, const std::string& file1, const std::string& file2,
                std::vector<int>& samplesizes, HaplotypeMatrix& data,
                std::vector<std::vector<double>>& snpfreqs,
                std::vector<std::vector<double>>& snpositions, int& pref) {
  if (file1 == file2) {
    std::cout << "\nERROR: same two files under VCF format: " << file1 << " and " << file2 << "\n"
              << std::endl;
    return false;
  }
  std::ifstream in1, in2;
  std::vector<std::string> h1, h2;
  int n1 = 0, n2 = 0, c1 = 0, c2 = 0;
  std::size_t line1 = 0, line2 = 0;
  std::string name1, name2;
  std::vector<VcfRecord> r1, r2;
  if (!readVcfHeader(path, file1, in1, h1, n1, line1) ||
      !readVcfHeader(path, file2, in2, h2, n2, line2))
    return false;
  if (!readVcfRecords(in1, file1, n1, r1, c1, name1, line1)) return false;
  if (!readVcfRecords(in2, file2, n2, r2, c2, name2, line2)) return false;
  if (name1 != name2) {
    const std::string m = "ERROR there are different chromosomes in file: " + file1 + " and file " +
                          file2 + ". Bad VCF-Pravolin format.\n";
    std::cout << m << std::endl;
    errorExit(m);
  }
  std::cout << "\nFile " << file1 << " was read" << std::endl;
  std::cout << "\nFile " << file2 << " was read" << std::endl;
  samplesizes = {n1, n2};
  if (n1 != n2) pref = n1 > n2 ? 0 : 1;
  std::vector<std::pair<std::size_t, std::size_t>> common;
  std::vector<std::string> leftOut;  // positions of both files that make no site
  std::size_t inBoth = 0;
  for (std::size_t i = 0, j = 0; i < r1.size() && j < r2.size();) {
    if (r2[j].pos > r1[i].pos) {
      ++i;
    } else if (r1[i].pos > r2[j].pos) {
      ++j;
    } else {
      ++inBoth;
      const std::array<std::string, 4> alleles = named(r1[i], r2[j]);
      std::set<std::string> all(alleles.begin(), alleles.end());
      all.erase("");
      if (all.size() <= 2 &&
          (sameAllele(alleles[0], alleles[2]) || sameAllele(alleles[0], alleles[3]) ||
           sameAllele(alleles[1], alleles[2]) || sameAllele(alleles[1], alleles[3])))
        common.emplace_back(i, j);
      else
        leftOut.push_back(toString(r2[j].pos));
      ++i;
      ++j;
    }
  }
  if (!leftOut.empty())
    std::cout << "\nWARNING: " << leftOut.size()
              << (leftOut.size() == 1 ? " position held by both " : " positions held by both ")
              << file1 << " and " << file2 << (leftOut.size() == 1 ? " is" : " are")
              << " left out because the two records name more than two alleles or share none "
                 "(REF and first ALT of each): "
              << (leftOut.size() == 1 ? "position " : "the first is position ") << leftOut[0]
              << "\n"
              << std::endl;
  std::cout << oneFileOnly(file1, file2, r1.size() - inBoth, r2.size() - inBoth);
  if (common.empty()) {
    std::cout << "ERROR: no common SNP positions with at least one shared allele were found "
                 "between files "
              << file1 << " and " << file2 << "\n"
              << std::endl;
    return false;
  }
  const std::size_t m = common.size();
  std::cout << "\nNumber of common SNPs retained is " << m << std::endl;
  std::cout << "\nSample sizes are " << n1 << " and " << n2 << std::endl;
  snpfreqs[0].assign(m, 0.0);
  snpfreqs[1].assign(m, 0.0);
  snpositions[0].clear();
  snpositions[1].clear();
  data.assign(2 * static_cast<std::size_t>(n1 + n2), BitRow(m));
  for (std::size_t k = 0; k < m; ++k) {
    const VcfRecord &a = r1[common[k].first], &b = r2[common[k].second];
    snpositions[0].push_back(a.pos);
    snpositions[1].push_back(b.pos);
    // The population that is not pref codes its allele 0 where the allele
    // the records share is REF in one and ALT in the other, unless they also
    // share one in the same role.
    char coded[2] = {'1', '1'};
    const std::array<std::string, 4> alleles = named(a, b);
    const bool sameRole = sameAllele(alleles[0], alleles[2]) || sameAllele(alleles[1], alleles[3]);
    if (!sameRole) coded[1 - pref] = '0';
    const VcfRecord* recs[2] = {&a, &b};
    const int ns[2] = {n1, n2};
    std::size_t base = 0;
    for (int p = 0; p < 2; ++p) {
      for (int s = 0; s < ns[p]; ++s) {
        if (recs[p]->hapA[s] == coded[p]) data[base + s].set(k), snpfreqs[p][k] += 1;
        if (recs[p]->hapB[s] == coded[p]) data[base + ns[p] + s].set(k), snpfreqs[p][k] += 1;
      }
      snpfreqs[p][k] /= 2 * ns[p];
      base += 2 * static_cast<std::size_t>(ns[p]);
    }
  }
  samplesizes = {2 * n1, 2 * n2};
  return true;
}

class VcfReaderTest : public TempDirTest {
 protected:
  // Reads one file's header and records; status -1 when it returned.
  int records(const std::string& name, const std::string& text, std::vector<VcfRecord>& out,
              std::string& console, int& chromosome) {
    writeFile(name, text);
    int status = -1;
    testing::internal::CaptureStdout();
    try {
      std::ifstream in;
      std::vector<std::string> fields;
      int n = 0;
      std::size_t headerLine = 0;
      if (readVcfHeader("", name, in, fields, n, headerLine))
        readVcfRecords(in, name, n, out, chromosome, headerLine);
    } catch (const FatalExit& e) {
      status = e.status;
    }
    console = testing::internal::GetCapturedStdout();
    return status;
  }
  // The fatal message of a one-file fault, checked on the console and in the error log.
  std::string fault(const std::string& text) {
    std::vector<VcfRecord> out;
    std::string console;
    int chromosome = 0;
    EXPECT_EQ(records("f.vcf", text, out, console, chromosome), 1) << text;
    EXPECT_EQ(readFile("Pravis_ERROR.log"), console.substr(0, console.size() - 1) + " 1\n");
    return console;
  }
};

const std::vector<std::string> two{"0|1", "1|1"};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST_F(VcfReaderTest, HeaderFaultsAndEarlyEnds) {
  std::ifstream in;
  std::vector<std::string> fields;
  int n = -1;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(readVcfHeader("", "nope.vcf", in, fields, n));
  EXPECT_NE(
      testing::internal::GetCapturedStdout().find("\nERROR: can not find input file nope.vcf\n\n"),
      std::string::npos);

  // The opener says that a short input of "#" lines only is empty: these
  // are longer than the part it looks at, and reach the reader.
  const std::string longComment = "##" + std::string(70000, 'x') + "\n";
  writeFile("meta.vcf", longComment + "##a\n\n   \n##b\n");
  EXPECT_FALSE(readVcfHeader("", "meta.vcf", in, fields, n));
  writeFile("noend.vcf",
            longComment + "##a\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\tS0");
  EXPECT_FALSE(readVcfHeader("", "noend.vcf", in, fields, n));

  writeFile("ok.vcf", "##a\n\n  \t#CHROM POS ID REF ALT QUAL FILTER INFO FORMAT x y z\r\n1 5\n");
  std::size_t headerLine = 0;
  EXPECT_TRUE(readVcfHeader("", "ok.vcf", in, fields, n, headerLine));
  EXPECT_EQ(n, 3);
  EXPECT_EQ(fields.size(), 12u);
  EXPECT_EQ(headerLine, 3u);

  EXPECT_EQ(fault("#chrom\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\tS\n1 1\n"),
            "ERROR #CHROM header tag lacking: Bad VCF format in file f.vcf\n\n");
  EXPECT_EQ(fault("#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\n1 1 a A C . . . GT 0|1\n"),
            "ERROR FORMAT header tag lacking: Bad VCF format in file f.vcf\n\n");
  EXPECT_EQ(fault("#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tformat\tS\n1 1\n"),
            "ERROR FORMAT header tag lacking: Bad VCF format in file f.vcf\n\n");
  EXPECT_EQ(fault(header(0) + site("1", "5", "A", "C", {})),
            "ERROR: no sample in the header of VCF file f.vcf: at least one sample column must "
            "follow FORMAT\n\n");
}

TEST_F(VcfReaderTest, RecordsAreReadUpperCasedAndLenient) {
  const std::string text = header(2) + "# a comment\n\n \t\n" +
                           "  1\t10\trsA\tac\tg,t\t.\t.\t.\tgt\t0||1\t|1|0|\t\r\n" +
                           site("1", "15", "C", "T", {"1|1", "0|0"}) +
                           "1 20 x G A . . . GT 0|0 1|0";
  std::vector<VcfRecord> out;
  std::string console;
  int chromosome = -1;
  ASSERT_EQ(records("r.vcf", text, out, console, chromosome), -1);
  EXPECT_EQ(chromosome, 1);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].id, "RSA");
  EXPECT_EQ(out[0].ref, "AC");
  EXPECT_EQ(out[0].alt, "G,T");
  EXPECT_EQ(std::string(out[0].hapA.begin(), out[0].hapA.end()), "01");
  EXPECT_EQ(std::string(out[0].hapB.begin(), out[0].hapB.end()), "10");
  EXPECT_EQ(out[1].pos, 15.0);
  EXPECT_EQ(std::string(out[1].hapA.begin(), out[1].hapA.end()), "10");
  EXPECT_EQ(out[2].pos, 20.0);  // last line without a line end
  EXPECT_EQ(std::string(out[2].hapB.begin(), out[2].hapB.end()), "00");

  std::ifstream in;
  std::vector<std::string> fields;
  int n = 0;
  // Longer than the opener looks at, so that the reader sees it.
  writeFile("empty.vcf", header(2) + "# nothing" + std::string(70000, ' ') + "\n");
  ASSERT_TRUE(readVcfHeader("", "empty.vcf", in, fields, n));
  out.clear();
  EXPECT_FALSE(readVcfRecords(in, "empty.vcf", n, out, chromosome, 3));
  EXPECT_EQ(chromosome, 0);
}

TEST_F(VcfReaderTest, DataLineFaults) {
  const std::string h = header(2);
  EXPECT_EQ(fault(h + site("1", "5", "A", "C", {"0|1"})),
            "ERROR: malformed VCF line in file f.vcf at line 4: 1 genotype field found, 2 "
            "samples in the header\n\n");
  EXPECT_EQ(fault(h + "1\t5\tA\n"),
            "ERROR: malformed VCF line in file f.vcf at line 4: 3 fields found, fewer than the 9 "
            "fixed fields (CHROM to FORMAT) before the genotypes of the 2 samples in the "
            "header\n\n");
  const std::string moreThanOne =
      "ERROR there is more than one chromosome in the file: Bad VCF-Pravolin format in file "
      "f.vcf\n\n";
  EXPECT_EQ(fault(h + site("1", "5", "A", "C", two) + site("2", "6", "A", "C", two)), moreThanOne);
  EXPECT_EQ(fault(h + site("chr1", "5", "A", "C", two) + site("chr2", "6", "A", "C", two)),
            moreThanOne);
  EXPECT_EQ(fault(h + site("1", "5", "A", "C", two, "GT:DP")),
            "ERROR: FORMAT is not GT in file f.vcf at position 5\n\n");
  const std::string nonPhased =
      "ERROR: non-phased or malformed genotype in file f.vcf at position 7\n\n";
  EXPECT_EQ(fault(h + site("1", "7", "A", "C", {"0|1", "0/1"})), nonPhased);
  EXPECT_EQ(fault(h + site("1", "7", "A", "C", {"0|1|1", "0|1"})), nonPhased);
  EXPECT_EQ(fault(h + site("1", "7", "A", "C", {"|", "0|1"})), nonPhased);
  for (const char* g : {"0|2", ".|.", "0|1:35", "00|1"})
    EXPECT_EQ(fault(h + site("1", "7e0", "A", "C", {"1|1", g})),
              "ERROR: unsupported genotype state in file f.vcf at position 7E0. Expected only "
              "phased biallelic GT values 0|0, 0|1, 1|0 or 1|1.\n\n")
        << g;
  // The checks run in a fixed order on the first bad line.
  EXPECT_TRUE(startsWith(fault(h + site("1", "5", "A", "C", {"0/1"}, "XX")),
                         "ERROR: malformed VCF line in file f.vcf at line 4"));
  EXPECT_EQ(fault(h + site("1", "5", "A", "C", two) + site("2", "6", "A", "C", {"0/1", "9"}, "XX")),
            moreThanOne);
  EXPECT_EQ(fault(h + site("1", "5", "A", "C", {"0/1", "0|2"}, "XX")),
            "ERROR: FORMAT is not GT in file f.vcf at position 5\n\n");
  EXPECT_TRUE(startsWith(fault(h + site("1", "5", "A", "C", {"0|2", "0/1"})),
                         "ERROR: unsupported genotype state"));
  // Positions must not go down, and must be numbers.
  EXPECT_EQ(fault(h + site("1", "300", "A", "C", two) + site("1", "310", "A", "C", two) +
                  site("1", "250", "A", "C", two)),
            "ERROR: positions are not in ascending order in file f.vcf at line 6: position 250 "
            "follows position 310\n\n");
  EXPECT_EQ(fault(h + site("1", "nan", "A", "C", two)),
            "ERROR: position is not a finite number in file f.vcf at line 4, position NAN\n\n");
}

TEST_F(VcfReaderTest, APositionMustBeAFiniteNumberAsAWholeWord) {
  // The header is line 3; a comment, a blank line and CR LF line ends count
  // as lines like the others.
  const std::string h = header(2) + "# note\n\n" + site("1", "5", "A", "C", two);
  for (const char* word : {"abc", "10O", "nan", "inf", "-inf", "0x10", "1e999", "+", ".",
                           "1e", "12,5", "1_000"}) {
    std::string pos(word);
    for (char& c : pos) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(fault(h + site("1", word, "A", "C", two)),
              std::string("ERROR: position is not a finite number in file f.vcf at line 7, "
                          "position ") +
                  pos + "\n\n")
        << word;
  }
  std::string crlf = h + site("1", "6", "A", "C", two) + site("1", "7x", "A", "C", two);
  for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
    crlf.replace(at, 1, "\r\n");
  EXPECT_EQ(fault(crlf),
            "ERROR: position is not a finite number in file f.vcf at line 8, position 7X\n\n");

  // Whole decimal numbers in any usual spelling are read, also past the
  // plain-digit fast path (up to 2^53).
  std::vector<VcfRecord> out;
  std::string console;
  int chromosome = 0;
  ASSERT_EQ(records("ok.vcf",
                    h + site("1", "+6", "A", "C", two) + site("1", "6.5", "A", "C", two) +
                        site("1", "7e1", "A", "C", two) + site("1", "0000000000000000071", "A",
                                                                  "C", two) +
                        site("1", "9007199254740992", "A", "C", two),
                    out, console, chromosome),
            -1)
      << console;
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[1].pos, 6.0);
  EXPECT_EQ(out[2].pos, 6.5);
  EXPECT_EQ(out[3].pos, 70.0);
  EXPECT_EQ(out[4].pos, 71.0);
  EXPECT_EQ(out[5].pos, 9007199254740992.0);
}

TEST_F(VcfReaderTest, LinesLongerThanTheBlockAreWhole) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += std::string(static_cast<std::size_t>(i * 7), 'x') + "\n";
  text += "last";
  std::istringstream in(text);
  vcf::LineReader reader(in, 16);
  char *b = nullptr, *e = nullptr;
  std::ostringstream back;
  int lines = 0;
  while (reader.next(b, e)) {
    back << std::string(b, e) << (++lines <= 50 ? "\n" : "");
  }
  EXPECT_EQ(lines, 51);
  EXPECT_EQ(back.str(), text);
}

TEST_F(VcfReaderTest, LinesAreWholeWhileTheBlockGrows) {
  // Some megabytes of lines of every length, one longer than the first block
  // and one longer than the full one: every line must come back whole while
  // the block doubles from its first size up to the full one.
  std::mt19937 rng(31);
  std::string text;
  while (text.size() < (std::size_t{5} << 20)) {
    const std::size_t length = rng() % 50 == 0 ? rng() % 100000 : rng() % 3000;
    for (std::size_t i = 0; i < length; ++i)
      text += static_cast<char>('a' + (i + text.size()) % 26);
    text += '\n';
    if (text.size() > (std::size_t{3} << 20) && text.size() < (std::size_t{3} << 20) + 5000)
      text += std::string((std::size_t{9} << 19), 'L') + "\n";
  }
  for (const std::string& tail : {std::string(), std::string("no line end")}) {
    std::istringstream in(text + tail);
    vcf::LineReader reader(in);
    char *b = nullptr, *e = nullptr;
    std::string back;
    while (reader.next(b, e)) back.append(b, e).append("\n");
    EXPECT_EQ(back, text + (tail.empty() ? "" : tail + "\n"));
  }
}

TEST_F(VcfReaderTest, SiteBitsKeepEverySiteAcrossChunks) {
  // 130 samples: three words per half, so a chunk holds 21845 sites; the
  // first chunk grows from 64 sites before the next chunks come.
  vcf::SiteBits bits(130);
  ASSERT_EQ(bits.half(), 3u);
  const auto word = [](std::size_t site, std::size_t w) {
    return site * 0x9E3779B97F4A7C15ull + w * 0xBF58476D1CE4E5B9ull;
  };
  std::size_t kept = 0;
  for (std::size_t line = 0; kept < 50000; ++line) {
    std::uint64_t* slot = bits.next();
    // Lines not kept hand out the same slot again; it is written whole.
    for (std::size_t w = 0; w < 6; ++w) slot[w] = word(kept, w) ^ (line % 3 == 1 ? ~0ull : 0ull);
    if (line % 3 == 1) continue;
    bits.keep();
    ++kept;
  }
  ASSERT_EQ(bits.size(), 50000u);
  for (std::size_t k = 0; k < bits.size(); ++k)
    for (std::size_t w = 0; w < 6; ++w) ASSERT_EQ(bits.site(k)[w], word(k, w)) << k << " " << w;
}

TEST_F(VcfReaderTest, AReadErrorIsNoEndOfFile) {
  struct FailingBuffer : std::streambuf {
    int_type underflow() override { throw std::runtime_error("device error"); }
  } buffer;
  std::istream in(&buffer);
  vcf::LineReader reader(in);
  char *b = nullptr, *e = nullptr;
  EXPECT_THROW(reader.next(b, e), std::ios_base::failure);
}

TEST_F(VcfReaderTest, MergeKeepsSharedPositionsOfTwoAlleles) {
  writeFile("a.vcf", header(1) + site("1", "100", "A", "C", {"0|1"}) +
                         site("1", "200", "A", "G", {"0|1"}) + site("1", "300", "G", "T", {"1|1"}) +
                         site("1", "350", "A", "G", {"0|0"}) + site("1", "400", "C", "T", {"0|1"}) +
                         site("1", "420", "A", ".", {"0|0"}));
  writeFile("b.vcf", header(1) + site("1", "200", "A", "G", {"1|0"}) +
                         site("1", "300", "T", "G", {"1|1"}) + site("1", "350", "T", "C", {"0|0"}) +
                         site("1", "400", "C", "G", {"1|1"}) + site("1", "420", "G", ".", {"0|0"}) +
                         site("1", "450", "A", "C", {"0|0"}));
  const PairResult r = runPair(readVcfPhasedPair, "a.vcf", "b.vcf");
  ASSERT_TRUE(r.ok) << r.out;
  // 350 (A, G, T, C) and 400 (C, T, G) name more than two alleles; at 420
  // each monomorphic record takes the other's allele as its ALT.
  EXPECT_EQ(r.out,
            "\nFile a.vcf was read\n\nFile b.vcf was read\n\nWARNING: 2 positions held by both "
            "a.vcf and b.vcf are left out because the two records name more than two alleles "
            "or share none (REF and first ALT of each): the first is position 350\n\n" +
                oneFileOnly("a.vcf", "b.vcf", 1, 1) +
                "\nNumber of common SNPs retained is 3\n\nSample sizes are 1 and 1\n");
  EXPECT_EQ(r.positions[0], (std::vector<double>{200, 300, 420}));
  EXPECT_EQ(r.positions[1], r.positions[0]);
  EXPECT_EQ(r.sizes, (std::vector<int>{2, 2}));
  ASSERT_EQ(r.data.size(), 4u);
  // At 300 the REF differ (G against T): population 2, not pref, codes its
  // allele 0 (T), which is population 1's allele 1; its G G individual gets 0 0.
  // At 420 A>. against G>. reads as A>G against G>A: population 2 codes its
  // REF G, so the fixed difference gives 0 0 against 1 1.
  EXPECT_EQ(r.row(0), "010");
  EXPECT_EQ(r.row(1), "110");
  EXPECT_EQ(r.row(2), "101");
  EXPECT_EQ(r.row(3), "001");
  EXPECT_EQ(r.freqs[0], (std::vector<double>{0.5, 1.0, 0.0}));
  EXPECT_EQ(r.freqs[1], (std::vector<double>{0.5, 0.0, 1.0}));
}

TEST_F(VcfReaderTest, RefMismatchCodesTheSmallerPopulationsZero) {
  // File 1 REF A ALT G, file 2 REF G ALT A: the G allele must be coded 1 in both.
  writeFile("big.vcf", header(2) + site("1", "5", "A", "G", {"1|0", "0|0"}));
  writeFile("small.vcf", header(1) + site("1", "5", "G", "A", {"0|1"}));
  PairResult r = runPair(readVcfPhasedPair, "big.vcf", "small.vcf", 1);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.pref, 0);
  EXPECT_EQ(r.row(0) + r.row(1) + r.row(2) + r.row(3), "1000");
  EXPECT_EQ(r.row(4) + r.row(5), "10");
  EXPECT_EQ(r.freqs[1][0], 0.5);

  r = runPair(readVcfPhasedPair, "small.vcf", "big.vcf", 0);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.pref, 1);
  EXPECT_EQ(r.row(0) + r.row(1), "10");  // population 1 is the smaller one now
  EXPECT_EQ(r.row(2) + r.row(3) + r.row(4) + r.row(5), "1000");

  // Equal sizes: the population that is not pref changes its coding.
  writeFile("twin.vcf", header(1) + site("1", "5", "G", "A", {"1|1"}));
  writeFile("one.vcf", header(1) + site("1", "5", "A", "G", {"1|1"}));
  r = runPair(readVcfPhasedPair, "one.vcf", "twin.vcf", 0);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.pref, 0);
  EXPECT_EQ(r.row(0) + r.row(1) + r.row(2) + r.row(3), "1100");
  r = runPair(readVcfPhasedPair, "one.vcf", "twin.vcf", 1);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.row(0) + r.row(1) + r.row(2) + r.row(3), "0011");
  // A swapped indel (AT/A against A/AT) is recoded like a swapped SNP,
  // although both REF begin with A: both populations carry different alleles.
  writeFile("at.vcf", header(1) + site("1", "5", "AT", "A", {"1|1"}));
  writeFile("a_at.vcf", header(1) + site("1", "5", "A", "AT", {"1|1"}));
  r = runPair(readVcfPhasedPair, "at.vcf", "a_at.vcf", 0);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.row(0) + r.row(1) + r.row(2) + r.row(3), "1100");
}

TEST(VcfPairing, AllelesNamedAndSharedByTwoRecords) {
  constexpr AllelePairing unshared = AllelePairing::unshared, kept = AllelePairing::kept,
                           swapped = AllelePairing::swapped;
  struct Case {
    const char *ref1, *alt1, *ref2, *alt2;
    AllelePairing expected;
    int alleles;
  };
  const Case cases[] = {
      {"A", "G", "A", "G", kept, 2},          // same REF, same ALT
      {"A", "G", "G", "A", swapped, 2},       // REF and ALT swapped
      {"G", "G", "A", "G", kept, 2},          // shared in both roles: the same role wins
      {"A", "G", "C", "G", kept, 3},          // shared ALT, other REF
      {"A", "T", "A", "G", kept, 3},          // shared REF, other ALT
      {"A", "G", "T", "A", swapped, 3},       // REF of file 1 is ALT of file 2
      {"A", "G", "C", "T", unshared, 4},      // nothing shared
      // "." names no allele; a record with ALT "." takes the other record's
      // allele that it lacks.
      {"A", ".", "A", "G", kept, 2},
      {"T", ".", "A", "T", swapped, 2},
      {"A", ".", "G", ".", swapped, 2},       // a fixed difference
      {"A", ".", "A", ".", kept, 1},
      {"A", ".", ".", "G", kept, 2},
      {".", "G", ".", "T", unshared, 2},      // no REF: nothing to take
      {"A", ".", "G", "T", unshared, 3},
      // Of an ALT list, the first allele: the one genotypes call 1.
      {"A", "G,T", "A", "G", kept, 2},
      {"A", "G,T", "G", "A,C", swapped, 2},
      {"A", "T,G", "A", "G", kept, 3},
      // Alleles of several characters are whole texts.
      {"AT", "A", "A", "AT", swapped, 2},     // a swapped indel: both REF begin with A
      {"AT", "G", "G", "AT", swapped, 2},
      {"AT", "A", "A", "G", swapped, 3},      // an indel against a SNP
      {"AT", "A", "AG", "A", kept, 3},
  };
  for (const Case& c : cases) {
    // Which file is which does not matter.
    for (const bool turned : {false, true}) {
      const Case t = turned ? Case{c.ref2, c.alt2, c.ref1, c.alt1, c.expected, c.alleles} : c;
      EXPECT_EQ(pairAlleles(t.ref1, t.alt1, t.ref2, t.alt2), c.expected)
          << t.ref1 << "/" << t.alt1 << " " << t.ref2 << "/" << t.alt2;
      EXPECT_EQ(pairAlleleCount(t.ref1, t.alt1, t.ref2, t.alt2), c.alleles)
          << t.ref1 << "/" << t.alt1 << " " << t.ref2 << "/" << t.alt2;
    }
  }
}

TEST_F(VcfReaderTest, SwappedRefAndAltAreCodedAlikeInBothPopulations) {
  // At 10, A>G in both files, G at 0.9 in both: both populations code G as
  // 1, whichever is larger and whatever pref was. At 20 REF and ALT are
  // swapped between the files: the smaller population (the one that is not
  // pref on a tie) codes its allele 0, the other population's allele 1.
  std::vector<std::string> nineOfTen(5, "1|1");
  nineOfTen[2] = "1|0";
  std::vector<std::string> eighteenOfTwenty(10, "1|1");
  eighteenOfTwenty[3] = "0|1";
  eighteenOfTwenty[7] = "1|0";
  writeFile("a.vcf", header(5) + site("1", "10", "A", "G", nineOfTen) +
                         site("1", "20", "A", "G", nineOfTen));
  writeFile("c.vcf", header(5) + site("1", "10", "A", "G", nineOfTen) +
                         site("1", "20", "G", "A", {"0|0", "0|0", "0|1", "0|0", "0|0"}));
  writeFile("big.vcf", header(10) + site("1", "10", "A", "G", eighteenOfTwenty) +
                           site("1", "20", "G", "A", std::vector<std::string>(10, "0|0")));
  struct Case {
    const char* second;
    int pref;
    double at20[2];  // frequency of the coded allele at 20 in each population
  };
  const Case cases[] = {{"c.vcf", 0, {0.9, 0.9}},    // G, file 1's ALT
                        {"c.vcf", 1, {0.1, 0.1}},    // A, file 2's ALT
                        {"big.vcf", 0, {0.1, 0.0}},  // A, file 2's ALT
                        {"big.vcf", 1, {0.1, 0.0}}};
  for (const Case& c : cases) {
    const PairResult r = runPair(readVcfPhasedPair, "a.vcf", c.second, c.pref);
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_EQ(r.freqs[0], (std::vector<double>{0.9, c.at20[0]})) << c.second << " " << c.pref;
    EXPECT_EQ(r.freqs[1], (std::vector<double>{0.9, c.at20[1]})) << c.second << " " << c.pref;
  }
}

TEST_F(VcfReaderTest, PairFailures) {
  PairResult r = runPair(readVcfPhasedPair, "x.vcf", "x.vcf");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.out, "\nERROR: same two files under VCF format: x.vcf and x.vcf\n\n");

  writeFile("a.vcf", header(2) + site("1", "100", "A", "C", two));
  writeFile("b.vcf", header(3) + site("1", "101", "A", "C", {"0|0", "0|0", "0|0"}));
  r = runPair(readVcfPhasedPair, "a.vcf", "b.vcf", 0);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.out,
            "\nFile a.vcf was read\n\nFile b.vcf was read\n" + oneFileOnly("a.vcf", "b.vcf", 1, 1) +
                "ERROR: no common SNP positions with at least one shared allele were found "
                "between files a.vcf and b.vcf\n\n");
  EXPECT_EQ(r.pref, 1);
  EXPECT_EQ(r.sizes, (std::vector<int>{2, 3}));

  writeFile("none.vcf", header(2) + "#\n");
  r = runPair(readVcfPhasedPair, "none.vcf", "b.vcf");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.out, "");  // the driver names the cause: no data line
  r = runPair(readVcfPhasedPair, "a.vcf", "none.vcf");
  EXPECT_FALSE(r.ok);
  r = runPair(readVcfPhasedPair, "a.vcf", "missing.vcf");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.out.find("\nERROR: can not find input file missing.vcf\n"), std::string::npos);

  const std::string different =
      "ERROR there are different chromosomes in file: a.vcf and file c.vcf. Bad VCF-Pravolin "
      "format.\n\n";
  writeFile("c.vcf", header(2) + site("2", "100", "A", "C", two));
  EXPECT_EQ(runPair(readVcfPhasedPair, "a.vcf", "c.vcf").out, different);
  writeFile("a.vcf", header(2) + site("chr1", "100", "A", "C", two));
  writeFile("c.vcf", header(2) + site("chr2", "100", "A", "C", two));
  r = runPair(readVcfPhasedPair, "a.vcf", "c.vcf");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, different);
  writeFile("c.vcf", header(2) + site("Chr1", "100", "A", "C", two));
  EXPECT_TRUE(runPair(readVcfPhasedPair, "a.vcf", "c.vcf").ok);

  // A header fault of file 2 comes before a data fault of file 1.
  writeFile("bad1.vcf", header(2) + site("1", "100", "A", "C", {"0/1", "0|0"}));
  writeFile("bad2.vcf", "#CHROM\tPOS\n1\t100\n");
  r = runPair(readVcfPhasedPair, "bad1.vcf", "bad2.vcf");
  EXPECT_EQ(r.out, "ERROR FORMAT header tag lacking: Bad VCF format in file bad2.vcf\n\n");
  writeFile("bad2.vcf", header(2) + site("1", "100", "A", "C", {"0|3", "0|0"}));
  r = runPair(readVcfPhasedPair, "bad1.vcf", "bad2.vcf");
  EXPECT_TRUE(startsWith(r.out, "ERROR: non-phased or malformed genotype in file bad1.vcf"));
}

TEST_F(VcfReaderTest, LockstepRequiresTheSameSites) {
  writeFile("a.vcf",
            header(2) + site("1", "100", "A", "C", two) + site("1", "200", "AT", "C", two));
  writeFile("b.vcf",
            header(1) + site("1", "100", "A", "G", {"1|0"}) + site("1", "200", "AG", "AT", {"1|0"}));
  PairResult r = runPair(readVcfPairLockstep, "a.vcf", "b.vcf", 1);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.out,
            "\nFile a.vcf was read\n\nFile b.vcf was read\n\nBegin to parse data\n\n\n Number of "
            "SNPs is 2\n\n Sample sizes are 2 and 1\n\nParsed pop 1\n\nParsed pop 2\n");
  EXPECT_EQ(r.pref, 0);
  // AT, REF in file 1 and ALT in file 2, is shared across the roles and no
  // allele is shared in the same role, so population 2's coding changes.
  EXPECT_EQ(r.row(4) + r.row(5), "1001");
  EXPECT_EQ(r.positions[1], (std::vector<double>{100, 200}));

  // The fatal message of a lock-step read of a.vcf against another file.
  const auto errorAgainst = [](const std::string& name, const std::string& text) {
    writeFile(name, text);
    const PairResult bad = runPair(readVcfPairLockstep, "a.vcf", name);
    EXPECT_EQ(bad.status, 1);
    return bad.out.substr(std::min(bad.out.find("ERROR"), bad.out.size()));
  };
  EXPECT_EQ(errorAgainst("more.vcf", header(1) + site("1", "100", "A", "G", {"1|0"}) +
                                         site("1", "200", "A", "G", {"1|0"}) +
                                         site("1", "250", "A", "G", {"1|0"})),
            "ERROR: file more.vcf has more variant records than file a.vcf. First extra record:\n"
            "File 2 -> CHROM=1, POS=250, ID=RS250, REF=A, ALT=G\n\n");
  EXPECT_EQ(errorAgainst("less.vcf", header(1) + site("1", "100", "A", "G", {"1|0"})),
            "ERROR: file less.vcf has fewer variant records than file a.vcf. File 1 has 2 "
            "records, but file 2 has 1.\n\n");
  EXPECT_EQ(errorAgainst("moved.vcf", header(1) + site("1", "100", "A", "G", {"1|0"}) +
                                          site("1", "2e6", "A", "G", {"1|0"})),
            "ERROR: VCF position mismatch between files at record 2.\nFile 1 -> CHROM=1, POS=200\n"
            "File 2 -> CHROM=1, POS=2e+06, ID=RS2E6, REF=A, ALT=G\n\n");
  EXPECT_EQ(errorAgainst("other.vcf", header(1) + site("3", "100", "A", "G", {"1|0"})),
            "ERROR there are different chromosomes in file: a.vcf and file other.vcf. Bad "
            "VCF-Pravolin format.\n\n");
  writeFile("nochrom.vcf", "CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\tS\n");
  r = runPair(readVcfPairLockstep, "nochrom.vcf", "a.vcf");
  EXPECT_EQ(r.out,
            "ERROR #CHROM header tag lacking: CHROM. Bad VCF format in file nochrom.vcf\n\n");
  EXPECT_EQ(runPair(readVcfPairLockstep, "a.vcf", "a.vcf").out,
            "\nERROR: same two files under VCF format: a.vcf and a.vcf\n\n");
}

namespace {

// A random phased VCF file: ascending positions from a shared pool, random
// alleles (sometimes swapped REF and ALT, sometimes unrelated, "." or a
// list), random genotypes, with comment lines, spaces and CR LF line ends
// here and there.
std::string randomVcf(std::mt19937& rng, int samples, const std::vector<int>& pool,
                      const std::string& chrom) {
  std::string text = header(samples);
  const char* bases = "ACGT";
  for (int pos : pool) {
    if (rng() % 3 == 0) continue;
    const int r = static_cast<int>(rng() % 4);
    const int a = (r + 1 + static_cast<int>(rng() % 3)) % 4;
    std::string ref(1, bases[r]), alt(1, bases[a]);
    if (pos % 7 == 0) std::swap(ref, alt);
    if (rng() % 20 == 0) ref += "T";
    if (rng() % 20 == 0) alt = ".";
    if (rng() % 20 == 0) alt += ",T";
    std::vector<std::string> g;
    for (int s = 0; s < samples; ++s) {
      std::string gt = std::to_string(rng() % 2) + "|" + std::to_string(rng() % 2);
      if (rng() % 50 == 0) gt = "|" + gt;
      g.push_back(gt);
    }
    std::string line = site(chrom, std::to_string(pos), ref, alt, g);
    if (rng() % 10 == 0) line.replace(line.size() - 1, 1, "\r\n");
    if (rng() % 10 == 0) line = " " + line;
    if (rng() % 15 == 0) text += "# note\n";
    text += line;
  }
  return text;
}

}  // namespace

TEST_F(VcfReaderTest, GenotypesAreReadInEveryForm) {
  std::mt19937 rng(99);
  for (int samples : {1, 2, 3, 63, 64, 65, 127, 200}) {
    std::string text = header(samples), expectedA, expectedB;
    for (int line = 0; line < 20; ++line) {
      text += "1\t" + std::to_string(100 + line) + "\t.\tA\tC\t.\t.\t.\tGT";
      for (int s = 0; s < samples; ++s) {
        const char a = static_cast<char>('0' + rng() % 2), b = static_cast<char>('0' + rng() % 2);
        expectedA += a;
        expectedB += b;
        const int form = static_cast<int>(rng() % 8);
        text += form == 0 ? " " : form == 1 ? "\t\t" : "\t";
        text += std::string(1, a) + (form == 2 ? "||" : "|") + b + (form == 3 ? "|" : "");
      }
      text += rng() % 2 ? "\r\n" : "\t\n";
    }
    std::vector<VcfRecord> out;
    std::string console;
    int chromosome = 0;
    ASSERT_EQ(records("g.vcf", text, out, console, chromosome), -1) << console;
    std::string gotA, gotB;
    for (const VcfRecord& r : out) {
      gotA.append(r.hapA.begin(), r.hapA.end());
      gotB.append(r.hapB.begin(), r.hapB.end());
    }
    EXPECT_EQ(gotA, expectedA) << samples;
    EXPECT_EQ(gotB, expectedB) << samples;
  }
}

TEST_F(VcfReaderTest, FastPathMatchesTheRecordOracleOnRandomPairs) {
  std::mt19937 rng(12345);
  const int sizes[] = {1, 2, 31, 32, 63, 64, 65, 97, 128, 130};
  for (int round = 0; round < 40; ++round) {
    std::vector<int> pool;
    for (int pos = 1 + static_cast<int>(rng() % 5), n = 0; n < 40 + round * 5; ++n)
      pool.push_back(pos += 1 + static_cast<int>(rng() % 3));
    const int n1 = sizes[rng() % 10], n2 = sizes[rng() % 10];
    writeFile("p1.vcf", randomVcf(rng, n1, pool, "chr7"));
    writeFile("p2.vcf", randomVcf(rng, n2, pool, "chr7"));
    const int pref = static_cast<int>(rng() % 2);
    const PairResult fast = runPair(readVcfPhasedPair, "p1.vcf", "p2.vcf", pref);
    const PairResult oracle = runPair(oraclePair, "p1.vcf", "p2.vcf", pref);
    ASSERT_TRUE(oracle.ok) << oracle.out;
    EXPECT_TRUE(fast.sameAs(oracle)) << "round " << round << "\n" << fast.out << oracle.out;
  }
}

TEST_F(VcfReaderTest, FastPathReportsFaultsLikeTheRecordOracle) {
  std::mt19937 rng(777);
  const char* faults[] = {"0/1", "2|0", "0|1|0", "GT:X", "few", "chr9", "down", "nan"};
  for (int round = 0; round < 32; ++round) {
    std::vector<int> pool;
    for (int pos = 10, n = 0; n < 30; ++n) pool.push_back(pos += 2);
    std::string texts[2] = {randomVcf(rng, 3, pool, "5"), randomVcf(rng, 66, pool, "5")};
    // Breaks one line of one or both files.
    for (std::string& text : texts) {
      if (rng() % 3 == 0) continue;
      std::size_t at = text.find("\n5\t");
      if (at == std::string::npos) continue;
      for (int skip = static_cast<int>(rng() % 10);
           skip > 0 && text.find("\n5\t", at + 1) != std::string::npos; --skip)
        at = text.find("\n5\t", at + 1);
      const std::size_t endOfLine = text.find('\n', at + 1);
      std::string line = text.substr(at + 1, endOfLine - at - 1);
      const std::string f = faults[rng() % 8];
      if (f == "GT:X")
        line.replace(line.find("\tGT\t"), 4, "\tGT:X\t");
      else if (f == "few")
        line = line.substr(0, line.rfind('\t'));
      else if (f == "chr9")
        line.replace(0, 1, "chr9");
      else if (f == "down")
        line.replace(2, line.find('\t', 2) - 2, "1");
      else if (f == "nan")
        line.replace(2, line.find('\t', 2) - 2, "NaN");
      else
        line.replace(line.rfind('\t') + 1, std::string::npos, f);
      text.replace(at + 1, endOfLine - at - 1, line);
    }
    writeFile("q1.vcf", texts[0]);
    writeFile("q2.vcf", texts[1]);
    const PairResult fast = runPair(readVcfPhasedPair, "q1.vcf", "q2.vcf");
    const std::string fastLog = readFile("Pravis_ERROR.log");
    const PairResult oracle = runPair(oraclePair, "q1.vcf", "q2.vcf");
    EXPECT_TRUE(fast.sameAs(oracle)) << "round " << round << "\n" << fast.out << oracle.out;
    EXPECT_EQ(fastLog, readFile("Pravis_ERROR.log"));
  }
}
