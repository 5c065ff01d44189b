#include "input/vcf_reader.hpp"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string_view>

#include "input/common.hpp"
#include "input/read_guard.hpp"
#include "input/reader_input.hpp"
#include "input/vcf_scan.hpp"

namespace {

[[noreturn]] void fail(const std::string& message) { fatalError(1, message); }

void printRead(const std::string& name) {
  std::cout << "\nFile " << name << " was read" << std::endl;
}

// Why a file of a pair gives no site, for the driver's message.
const char* const noHeaderLine = "the file has no header line (the line that begins with #CHROM)";
const char* const noDataLine = "the file has no data line after its header line";
const char* const cannotOpen = "the file cannot be opened";
const char* const isEmpty = "the file is empty";

// Reads the header line of an opened file: meta lines ("##") and blank lines
// before it are skipped; headerLine is its line number. False, with the cause,
// when the file ends before its data lines. The lock-step reader quotes the
// first field in its #CHROM message.
bool readHeaderLine(std::ifstream& in, const std::string& name,
                    std::vector<std::string>& headerFields, int& nSamples, std::size_t& headerLine,
                    bool quoteFirstField, const char*& cause) {
  std::string line;
  headerLine = 0;
  for (;;) {
    if (!readLine(in, line)) {
      cause = noHeaderLine;
      return false;
    }
    ++headerLine;
    ltrim(line, blankChars);
    if (line.empty() || line.compare(0, 2, "##") == 0) continue;
    // A header line without a line end is the whole file: no data can follow.
    if (in.eof()) {
      cause = noDataLine;
      return false;
    }
    break;
  }
  headerFields = splitBlanks(line);
  if (headerFields[0] != "#CHROM") {
    if (quoteFirstField)
      fail("ERROR #CHROM header tag lacking: " + headerFields[0] + ". Bad VCF format in file " +
           name + "\n");
    fail("ERROR #CHROM header tag lacking: Bad VCF format in file " + name + "\n");
  }
  if (headerFields.size() < 9 || headerFields[8] != "FORMAT")
    fail("ERROR FORMAT header tag lacking: Bad VCF format in file " + name + "\n");
  // A population without individuals has no haplotypes and no frequencies.
  if (headerFields.size() == 9)
    fail("ERROR: no sample in the header of VCF file " + name +
         ": at least one sample column must follow FORMAT\n");
  nSamples = static_cast<int>(headerFields.size() - 9);
  return true;
}

// Opens path + name and reads its header line (see readHeaderLine).
bool openWithHeader(const std::string& path, const std::string& name, std::ifstream& in,
                    std::vector<std::string>& headerFields, int& nSamples,
                    std::size_t& headerLine, const char*& cause) {
  switch (openInput(path, name, in)) {
    case InputOpening::missing:
      std::cout << "\nERROR: can not find input file " << name << "\n" << std::endl;
      cause = cannotOpen;
      return false;
    case InputOpening::empty:
      cause = isEmpty;
      return false;
    case InputOpening::opened:
      break;
  }
  return readHeaderLine(in, name, headerFields, nSamples, headerLine, false, cause);
}

// The allele a REF or ALT field names: the first of a list (genotypes call
// only alleles 0 and 1); none (empty) for ".". A field of one base, the usual
// case, is looked at once.
std::string_view namedAllele(std::string_view field) {
  if (field.size() > 1) field = field.substr(0, field.find(','));
  return field.size() == 1 && field[0] == '.' ? std::string_view() : field;
}

bool sameAllele(std::string_view a, std::string_view b) { return !a.empty() && a == b; }

// The ALT that a record naming the allele ref and no ALT takes when paired
// with a record naming otherRef and otherAlt: the one allele of the other
// record that it lacks. A monomorphic record is often written with ALT ".",
// so that A>. against G>. is a fixed difference, read as A>G against G>A.
// None when the record names no REF, or when it lacks no allele or two of
// the other record's (three alleles, which no pairing keeps).
std::string_view takenAlt(std::string_view ref, std::string_view otherRef,
                          std::string_view otherAlt) {
  if (ref.empty()) return {};
  std::string_view taken;
  for (const std::string_view allele : {otherRef, otherAlt}) {
    if (allele.empty() || allele == ref || allele == taken) continue;
    if (!taken.empty()) return {};
    taken = allele;
  }
  return taken;
}

bool sameNames(const std::string& file1, const std::string& file2) {
  if (file1 != file2) return false;
  std::cout << "\nERROR: same two files under VCF format: " << file1 << " and " << file2 << "\n"
            << std::endl;
  return true;
}

// Reads every data line of a file into bit slots of `bits`; onLine decides
// for each accepted line whether its slot is kept.
template <typename OnLine>
void scanDataLines(std::ifstream& in, vcf::DataLineParser& parser, vcf::SiteBits& bits,
                   OnLine onLine) {
  vcf::LineReader reader(in);
  char* begin = nullptr;
  char* end = nullptr;
  while (reader.next(begin, end)) {
    std::uint64_t* slot = bits.next();
    if (parser.parse(begin, end, slot, slot + bits.half())) onLine(parser.line());
  }
  in.close();
}

// The first file of a pair, held whole until the second one is read: per site
// its position, REF and ALT texts and genotype bits.
class StoredFile {
 public:
  explicit StoredFile(int nSamples) : bits(nSamples) {}

  void add(const vcf::DataLine& line) {
    positions.push_back(line.position);
    text_.append(line.ref);
    ends_.push_back(text_.size());
    text_.append(line.alt);
    ends_.push_back(text_.size());
    bits.keep();
  }
  std::size_t size() const { return positions.size(); }
  std::string_view ref(std::size_t i) const { return piece(2 * i); }
  std::string_view alt(std::size_t i) const { return piece(2 * i + 1); }

  vcf::SiteBits bits;
  std::vector<double> positions;

 private:
  std::string_view piece(std::size_t n) const {
    return std::string_view(text_).substr(ends_[n], ends_[n + 1] - ends_[n]);
  }
  std::string text_;
  std::vector<std::size_t> ends_{0};
};

// Fills the rows [rowBase, rowBase + 2 * bits.samples()) of data and the
// population's frequencies. Output site k is the site siteOf(k) of bits; where
// flip[k] is set the allele 0 is the one coded 1. Sites are taken 64 at a time
// and transposed, so that each row receives a whole word of sites at once.
template <typename SiteOf>
void fillPopulation(const vcf::SiteBits& bits, SiteOf siteOf, const std::vector<char>& flip,
                    std::size_t rowBase, HaplotypeMatrix& data, std::vector<double>& freqs) {
  const std::size_t m = flip.size();
  const std::size_t samples = bits.samples();
  const std::size_t rows = 2 * samples;
  const std::size_t half = bits.half();
  const std::uint64_t* sites[64];
  std::uint64_t block[64];
  for (std::size_t k0 = 0; k0 < m; k0 += 64) {
    const std::size_t n = std::min<std::size_t>(64, m - k0);
    for (std::size_t t = 0; t < n; ++t) {
      sites[t] = bits.site(siteOf(k0 + t));
      std::size_t ones = countSetBits(sites[t], 2 * half);
      if (flip[k0 + t]) ones = rows - ones;
      freqs[k0 + t] = static_cast<double>(ones) / static_cast<double>(rows);
    }
    // Word g of a site holds the rows from firstRow on: the first haplotypes,
    // then (from word half on) the second ones.
    for (std::size_t g = 0; g < 2 * half; ++g) {
      const std::size_t sample0 = (g < half ? g : g - half) * 64;
      const std::size_t firstRow = (g < half ? 0 : samples) + sample0;
      const std::size_t groupRows = std::min<std::size_t>(64, samples - sample0);
      for (std::size_t t = 0; t < 64; ++t)
        block[t] = t < n ? sites[t][g] ^ (flip[k0 + t] ? ~std::uint64_t{0} : 0) : 0;
      vcf::transpose64(block);
      // k0 is a multiple of 64: row r's bits for these sites are one word.
      for (std::size_t r = 0; r < groupRows; ++r) data[rowBase + firstRow + r].setWord(k0 >> 6, block[r]);
    }
  }
}

// The common sites of a pair, in output order.
struct CommonSites {
  std::vector<std::size_t> site1;  // site of file 1 (empty: the k-th site)
  std::vector<double> pos1, pos2;
  std::vector<char> swapped;  // the pairing swaps the coding (AllelePairing::swapped)
};

// Fills the sample from the common sites: the population with fewer
// individuals (the one that is not pref) has its allele 0 coded 1 where the
// pairing is swapped, so that the same allele is coded 1 in both populations.
// Each file's genotype bits are freed once its population is filled, and a
// population's rows are made only then, so the sample and the genotypes of
// both files are never held whole at once.
void buildSample(vcf::SiteBits& bits1, vcf::SiteBits& bits2, const CommonSites& common,
                 int pref, bool reportPopulations, HaplotypeMatrix& data,
                 std::vector<std::vector<double>>& snpfreqs,
                 std::vector<std::vector<double>>& snpositions) {
  assert(pref == 0 || pref == 1);
  const std::size_t m = common.pos1.size();
  assert(common.pos2.size() == m && common.swapped.size() == m);
  if (snpfreqs.size() < 2) snpfreqs.resize(2);
  if (snpositions.size() < 2) snpositions.resize(2);
  snpfreqs[0].assign(m, 0.0);
  snpfreqs[1].assign(m, 0.0);
  snpositions[0] = common.pos1;
  snpositions[1] = common.pos2;
  const std::size_t rows1 = 2 * bits1.samples();
  const std::size_t rows2 = 2 * bits2.samples();
  HaplotypeMatrix().swap(data);
  data.resize(rows1 + rows2);

  const std::vector<char> noFlip(m, 0);
  const std::vector<char>& flip1 = pref == 1 ? common.swapped : noFlip;
  const std::vector<char>& flip2 = pref == 0 ? common.swapped : noFlip;
  const auto siteOf1 = [&common](std::size_t k) {
    return common.site1.empty() ? k : common.site1[k];
  };
  for (std::size_t r = 0; r < rows1; ++r) data[r] = BitRow(m);
  fillPopulation(bits1, siteOf1, flip1, 0, data, snpfreqs[0]);
  bits1.release();
  if (reportPopulations) std::cout << "\nParsed pop " << 1 << std::endl;
  for (std::size_t r = rows1; r < rows1 + rows2; ++r) data[r] = BitRow(m);
  fillPopulation(
      bits2, [](std::size_t k) { return k; }, flip2, rows1, data, snpfreqs[1]);
  bits2.release();
  if (reportPopulations) std::cout << "\nParsed pop " << 2 << std::endl;
}

void setSizesAndPref(int n1, int n2, std::vector<int>& samplesizes, int& pref) {
  samplesizes = {n1, n2};
  if (n1 != n2) pref = n1 > n2 ? 0 : 1;
}

// Says how many positions held by both files were left out because their
// two records name more than two alleles or share none, and the first of them.
void warnLeftOut(const std::string& file1, const std::string& file2, std::size_t count,
                 const std::string& firstPosition) {
  if (count == 0) return;
  const bool one = count == 1;
  printWarning(0, "\nWARNING: " + std::to_string(count) +
                      (one ? " position held by both " : " positions held by both ") + file1 +
                      " and " + file2 + (one ? " is" : " are") +
                      " left out because the two records name more than two alleles or share "
                      "none (REF and first ALT of each): " +
                      (one ? "position " : "the first is position ") + firstPosition + "\n");
}

// Says how many positions of each file the other file does not list: they
// make no site. A population taken out of a larger file by a tool that drops
// the records monomorphic in it loses these sites, fixed differences among
// them.
void warnOneFileOnly(const std::string& file1, const std::string& file2, std::size_t only1,
                     std::size_t only2) {
  if (only1 == 0 && only2 == 0) return;
  printWarning(0, "\nWARNING: only positions listed in both " + file1 + " and " + file2 +
                      " are sites: " + std::to_string(only1) +
                      (only1 == 1 ? " position listed in " : " positions listed in ") + file1 +
                      " only and " + std::to_string(only2) + " listed in " + file2 +
                      " only are left out. Keep the records that are monomorphic in one "
                      "population (when taking a population out of a larger VCF file, do not "
                      "drop the sites where it is monomorphic)\n");
}

bool phasedPair(const std::string& path, const std::string& file1, const std::string& file2,
                std::vector<int>& samplesizes, HaplotypeMatrix& data,
                std::vector<std::vector<double>>& snpfreqs,
                std::vector<std::vector<double>>& snpositions, int& pref,
                VcfPairFailure& failure) {
  const auto failed = [&failure](int file, const char* cause) {
    failure = VcfPairFailure{file, cause};
    return false;
  };
  std::ifstream in1, in2;
  std::vector<std::string> header1, header2;
  int n1 = 0, n2 = 0;
  std::size_t headerLine1 = 0, headerLine2 = 0;
  const char* cause = nullptr;
  if (!openWithHeader(path, file1, in1, header1, n1, headerLine1, cause)) return failed(0, cause);
  if (!openWithHeader(path, file2, in2, header2, n2, headerLine2, cause)) return failed(1, cause);

  vcf::DataLineParser parser1(file1, n1, headerLine1);
  StoredFile stored(n1);
  scanDataLines(in1, parser1, stored.bits,
                [&stored](const vcf::DataLine& line) { stored.add(line); });
  if (stored.size() == 0) return failed(0, noDataLine);

  // The second file is merged while it is read: its records meet those of the
  // first file in position order (each file holds a position once); a record
  // of either file at a position that the other lacks is passed over. Two
  // records at the same position are one site when they name two alleles at
  // most and share one (a record with ALT "." takes the other's allele);
  // every other position of both files is counted in a warning, and so are
  // the positions of one file only.
  vcf::DataLineParser parser2(file2, n2, headerLine2);
  vcf::SiteBits bits2(n2);
  CommonSites common;
  std::size_t inBoth = 0;   // positions listed in both files
  std::size_t leftOut = 0;  // of them, those that make no site
  std::string firstLeftOut;
  std::size_t i = 0;
  scanDataLines(in2, parser2, bits2, [&](const vcf::DataLine& line) {
    const double pos = line.position;
    while (i < stored.size() && pos > stored.positions[i]) ++i;
    if (i == stored.size() || stored.positions[i] > pos) return;
    ++inBoth;
    const std::string_view ref = stored.ref(i), alt = stored.alt(i);
    AllelePairing pairing = AllelePairing::kept;
    // Records written alike, the usual case, name the same alleles and share
    // their REF (unless it names none).
    if (ref != line.ref || alt != line.alt || namedAllele(ref).empty())
      pairing = pairAlleleCount(ref, alt, line.ref, line.alt) > 2
                    ? AllelePairing::unshared
                    : pairAlleles(ref, alt, line.ref, line.alt);
    if (pairing == AllelePairing::unshared) {
      if (leftOut++ == 0) firstLeftOut = std::string(line.pos);
    } else {
      common.site1.push_back(i);
      common.pos1.push_back(stored.positions[i]);
      common.pos2.push_back(pos);
      common.swapped.push_back(pairing == AllelePairing::swapped);
      bits2.keep();
    }
    ++i;
  });
  if (parser2.accepted() == 0) return failed(1, noDataLine);
  // Different chromosomes end the read here, so the pairs made above only
  // count for files on one chromosome.
  if (parser1.chromName() != parser2.chromName())
    fail("ERROR there are different chromosomes in file: " + file1 + " and file " + file2 +
         ". Bad VCF-Pravolin format.\n");
  printRead(file1);
  printRead(file2);
  warnLeftOut(file1, file2, leftOut, firstLeftOut);
  warnOneFileOnly(file1, file2, stored.size() - inBoth, parser2.accepted() - inBoth);
  setSizesAndPref(n1, n2, samplesizes, pref);

  const std::size_t m = common.pos1.size();
  if (m == 0) {
    std::cout << "ERROR: no common SNP positions with at least one shared allele were found "
                 "between files "
              << file1 << " and " << file2 << "\n"
              << std::endl;
    return false;
  }
  std::cout << "\nNumber of common SNPs retained is " << m << std::endl;
  std::cout << "\nSample sizes are " << n1 << " and " << n2 << std::endl;
  buildSample(stored.bits, bits2, common, pref, false, data, snpfreqs, snpositions);
  samplesizes = {2 * n1, 2 * n2};
  return true;
}

constexpr std::size_t maxSites = 2147483646;

std::string describeRecord(const vcf::DataLine& line) {
  return "File 2 -> CHROM=" + std::string(line.chrom) + ", POS=" + toString(line.position) +
         ", ID=" + std::string(line.id) + ", REF=" + std::string(line.ref) +
         ", ALT=" + std::string(line.alt) + "\n";
}

bool lockstepPair(const std::string& path, const std::string& file1, const std::string& file2,
                  std::vector<int>& samplesizes, HaplotypeMatrix& data,
                  std::vector<std::vector<double>>& snpfreqs,
                  std::vector<std::vector<double>>& snpositions, int& pref) {
  std::ifstream in1;
  if (!openReaderInput(path, file1, in1)) return false;
  std::vector<std::string> header1, header2;
  int n1 = 0, n2 = 0;
  std::size_t headerLine1 = 0, headerLine2 = 0;
  const char* cause = nullptr;
  if (!readHeaderLine(in1, file1, header1, n1, headerLine1, true, cause)) return false;
  vcf::DataLineParser parser1(file1, n1, headerLine1);
  StoredFile stored(n1);
  scanDataLines(in1, parser1, stored.bits, [&](const vcf::DataLine& line) {
    if (stored.size() == maxSites)
      fail("ERROR: There is an excessive number of SNPs in file " + file1 + "\n");
    stored.add(line);
  });
  if (stored.size() == 0) return false;
  printRead(file1);

  std::ifstream in2;
  if (!readVcfHeader(path, file2, in2, header2, n2, headerLine2)) return false;
  vcf::DataLineParser parser2(file2, n2, headerLine2);
  vcf::SiteBits bits2(n2);
  CommonSites common;
  scanDataLines(in2, parser2, bits2, [&](const vcf::DataLine& line) {
    const std::size_t k = bits2.size();
    if (line.chrom != parser1.chromName())
      fail("ERROR there are different chromosomes in file: " + file1 + " and file " + file2 +
           ". Bad VCF-Pravolin format.\n");
    if (k == stored.size())
      fail("ERROR: file " + file2 + " has more variant records than file " + file1 +
           ". First extra record:\n" + describeRecord(line));
    if (line.position != stored.positions[k])
      fail("ERROR: VCF position mismatch between files at record " + toString(k + 1) + ".\n" +
           "File 1 -> CHROM=" + parser1.chromName() + ", POS=" + toString(stored.positions[k]) +
           "\n" + describeRecord(line));
    common.swapped.push_back(pairAlleles(stored.ref(k), stored.alt(k), line.ref, line.alt) ==
                         AllelePairing::swapped);
    bits2.keep();
  });
  const std::size_t m = bits2.size();
  if (m < stored.size())
    fail("ERROR: file " + file2 + " has fewer variant records than file " + file1 +
         ". File 1 has " + toString(stored.size()) + " records, but file 2 has " + toString(m) +
         ".\n");
  printRead(file2);
  std::cout << "\nBegin to parse data\n" << std::endl;
  std::cout << "\n Number of SNPs is " << m << std::endl;
  std::cout << "\n Sample sizes are " << n1 << " and " << n2 << std::endl;
  setSizesAndPref(n1, n2, samplesizes, pref);
  common.pos1 = stored.positions;
  common.pos2 = stored.positions;
  buildSample(stored.bits, bits2, common, pref, true, data, snpfreqs, snpositions);
  samplesizes = {2 * n1, 2 * n2};
  return true;
}

}  // namespace

bool readVcfHeader(const std::string& path, const std::string& name, std::ifstream& in,
                   std::vector<std::string>& headerFields, int& nSamples,
                   std::size_t& headerLine) {
  const char* cause = nullptr;
  return openWithHeader(path, name, in, headerFields, nSamples, headerLine, cause);
}

bool readVcfHeader(const std::string& path, const std::string& name, std::ifstream& in,
                   std::vector<std::string>& headerFields, int& nSamples) {
  std::size_t headerLine = 0;
  return readVcfHeader(path, name, in, headerFields, nSamples, headerLine);
}

int pairAlleleCount(std::string_view ref1, std::string_view alt1, std::string_view ref2,
                 std::string_view alt2) {
  const std::string_view alleles[4] = {namedAllele(ref1), namedAllele(alt1), namedAllele(ref2),
                                       namedAllele(alt2)};
  int count = 0;
  for (int k = 0; k < 4; ++k) {
    bool before = false;
    for (int j = 0; j < k; ++j) before = before || alleles[j] == alleles[k];
    if (!before && !alleles[k].empty()) ++count;
  }
  return count;
}

AllelePairing pairAlleles(std::string_view ref1, std::string_view alt1, std::string_view ref2,
                          std::string_view alt2) {
  // An allele shared in the same role (REF and REF, or ALT and ALT) has the
  // same code in both files as read: the coding stays, whatever the others.
  ref1 = namedAllele(ref1);
  ref2 = namedAllele(ref2);
  if (sameAllele(ref1, ref2)) return AllelePairing::kept;
  alt1 = namedAllele(alt1);
  alt2 = namedAllele(alt2);
  const std::string_view given1 = alt1;
  if (alt1.empty()) alt1 = takenAlt(ref1, ref2, alt2);
  if (alt2.empty()) alt2 = takenAlt(ref2, ref1, given1);
  if (sameAllele(alt1, alt2)) return AllelePairing::kept;
  // Otherwise an allele shared at all is REF in one file and ALT in the
  // other (REF/ALT swapped, indels included: AT/A against A/AT).
  if (sameAllele(ref1, alt2) || sameAllele(alt1, ref2)) return AllelePairing::swapped;
  return AllelePairing::unshared;
}

bool readVcfRecords(std::ifstream& in, const std::string& fileName, int nSamples,
                    std::vector<VcfRecord>& out, int& chromosome, std::string& chromName,
                    std::size_t headerLine) {
  assert(nSamples >= 0);
  chromosome = 0;
  const std::size_t samples = static_cast<std::size_t>(nSamples);
  vcf::DataLineParser parser(fileName, nSamples, headerLine);
  vcf::LineReader reader(in);
  std::vector<std::uint64_t> firsts(parser.wordsPerHaplotype()), seconds(firsts.size());
  char* begin = nullptr;
  char* end = nullptr;
  while (reader.next(begin, end)) {
    if (!parser.parse(begin, end, firsts.data(), seconds.data())) continue;
    const vcf::DataLine& line = parser.line();
    VcfRecord record;
    record.chrom = parser.chromosome();
    record.pos = line.position;
    record.id.assign(line.id);
    record.ref.assign(line.ref);
    record.alt.assign(line.alt);
    record.hapA.assign(samples, '0');
    record.hapB.assign(samples, '0');
    for (std::size_t s = 0; s < samples; ++s) {
      record.hapA[s] = static_cast<char>('0' + ((firsts[s >> 6] >> (s & 63)) & 1));
      record.hapB[s] = static_cast<char>('0' + ((seconds[s >> 6] >> (s & 63)) & 1));
    }
    out.push_back(std::move(record));
  }
  chromosome = parser.chromosome();
  chromName = parser.chromName();
  return !out.empty();
}

bool readVcfRecords(std::ifstream& in, const std::string& fileName, int nSamples,
                    std::vector<VcfRecord>& out, int& chromosome, std::size_t headerLine) {
  std::string chromName;
  return readVcfRecords(in, fileName, nSamples, out, chromosome, chromName, headerLine);
}

bool readVcfPhasedPair(const std::string& path, const std::string& file1, const std::string& file2,
                       std::vector<int>& samplesizes, HaplotypeMatrix& data,
                       std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref,
                       VcfPairFailure& failure) {
  failure = VcfPairFailure{};
  if (sameNames(file1, file2)) return false;
  return guardedRead(
      [&] {
        return phasedPair(path, file1, file2, samplesizes, data, snpfreqs, snpositions, pref,
                          failure);
      },
      "VCF files", "VCF files");
}

bool readVcfPhasedPair(const std::string& path, const std::string& file1, const std::string& file2,
                       std::vector<int>& samplesizes, HaplotypeMatrix& data,
                       std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref) {
  VcfPairFailure failure;
  return readVcfPhasedPair(path, file1, file2, samplesizes, data, snpfreqs, snpositions, pref,
                           failure);
}

bool readVcfPairLockstep(const std::string& path, const std::string& file1,
                         const std::string& file2, std::vector<int>& samplesizes,
                         HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                         std::vector<std::vector<double>>& snpositions, int& pref) {
  if (sameNames(file1, file2)) return false;
  return guardedRead(
      [&] {
        return lockstepPair(path, file1, file2, samplesizes, data, snpfreqs, snpositions, pref);
      },
      file1, file2);
}
