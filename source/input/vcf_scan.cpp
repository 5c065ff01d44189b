#include "input/vcf_scan.hpp"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <ios>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PRAVOLIN_WIDE_GENOTYPES 1
#endif

#include "input/common.hpp"

namespace vcf {

namespace {

// The first block of a reader: larger than the lines of most files, small
// enough that a small file costs little.
constexpr std::size_t firstBlock = std::size_t{1} << 16;

}  // namespace

LineReader::LineReader(std::istream& in, std::size_t blockSize)
    : in_(in),
      blockSize_(std::max<std::size_t>(blockSize, 64)),
      buffer_(std::min(blockSize_, firstBlock)) {}

bool LineReader::next(char*& begin, char*& end) {
  std::size_t scanned = begin_;  // bytes before this index hold no line end
  for (;;) {
    char* base = buffer_.data();
    if (void* found = std::memchr(base + scanned, '\n', end_ - scanned)) {
      begin = base + begin_;
      end = static_cast<char*>(found);
      begin_ = static_cast<std::size_t>(end - base) + 1;
      return true;
    }
    if (atEnd_) {
      if (begin_ == end_) return false;
      begin = base + begin_;
      end = base + end_;
      begin_ = end_;
      return true;
    }
    scanned = end_ - begin_;  // refill moves the unread bytes to the front
    refill();
  }
}

void LineReader::refill() {
  const std::size_t rest = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, rest);
    begin_ = 0;
    end_ = rest;
  }
  if (end_ == buffer_.size())
    buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
  else if (readBefore_ && buffer_.size() < blockSize_)
    buffer_.resize(std::min(buffer_.size() * 2, blockSize_));  // the stream is more than a block
  in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  end_ += static_cast<std::size_t>(in_.gcount());
  // A failed read is no end of file: the lines after it would be lost.
  if (in_.bad()) throw std::ios_base::failure("read error in a VCF file");
  if (!in_) atEnd_ = true;
  readBefore_ = true;
}

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isAllele(char c) { return c == '0' || c == '1'; }

// The runtime's toupper of every byte, looked up.
struct UpperTable {
  char map[256];
  UpperTable() {
    for (int c = 0; c < 256; ++c) map[c] = static_cast<char>(std::toupper(c));
  }
};
const UpperTable upperTable;

// The blank-separated fields from p to end.
int countFields(const char* p, const char* end) {
  int fields = 0;
  while (p < end) {
    while (p < end && isSeparator(*p)) ++p;
    if (p == end) break;
    ++fields;
    while (p < end && !isSeparator(*p)) ++p;
  }
  return fields;
}

// Takes the first nine fields (at most), upper-cased in place.
char* takeFixedFields(char* p, char* end, std::string_view* fields, int& found) {
  found = 0;
  while (found < 9) {
    while (p < end && isSeparator(*p)) ++p;
    if (p == end) break;
    char* start = p;
    for (; p < end && !isSeparator(*p); ++p) *p = upperTable.map[static_cast<unsigned char>(*p)];
    fields[found++] = std::string_view(start, static_cast<std::size_t>(p - start));
  }
  return p;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool wordLoads = true;
#else
constexpr bool wordLoads = false;
#endif

// Genotypes are read word by word: genotype t of the current word of 64
// samples puts its left allele in bit t of a and its right one in bit t of b.
struct GenotypeWord {
  std::uint64_t a = 0, b = 0;
  int t = 0;
  int count = 0;  // genotypes of this word
};

// Reads the genotype at p, in any form, after the separators before it; p
// moves past it. A genotype is cut at the bars into non-empty parts (so 0||1
// reads as 0|1); it must give exactly two parts, each the allele 0 or 1. A
// faulty genotype counts (its bits stay 0) and sets fault unless it is set
// already. False, with nothing read, when the line ends first.
bool readOneGenotype(char*& p, const char* end, GenotypeWord& g, GenotypeFault& fault) {
  while (p < end && isSeparator(*p)) ++p;
  if (p == end) return false;
  if (end - p >= 3 && isAllele(p[0]) && p[1] == '|' && isAllele(p[2]) &&
      (end - p == 3 || isSeparator(p[3]))) {
    g.a |= std::uint64_t(p[0] - '0') << g.t;
    g.b |= std::uint64_t(p[2] - '0') << g.t;
    p += end - p == 3 ? 3 : 4;  // with its separator: the next load starts at a field
    ++g.t;
    return true;
  }
  std::string_view parts[2];
  int found = 0;
  while (p < end && !isSeparator(*p)) {
    while (p < end && *p == '|') ++p;
    if (p == end || isSeparator(*p)) break;
    const char* start = p;
    while (p < end && *p != '|' && !isSeparator(*p)) ++p;
    if (found < 2) parts[found] = std::string_view(start, static_cast<std::size_t>(p - start));
    ++found;
  }
  GenotypeFault f = GenotypeFault::none;
  if (found != 2)
    f = GenotypeFault::nonPhased;
  else if (parts[0].size() != 1 || !isAllele(parts[0][0]) || parts[1].size() != 1 ||
           !isAllele(parts[1][0]))
    f = GenotypeFault::unsupported;
  if (f == GenotypeFault::none) {
    g.a |= std::uint64_t(parts[0][0] - '0') << g.t;
    g.b |= std::uint64_t(parts[1][0] - '0') << g.t;
  } else if (fault == GenotypeFault::none) {
    fault = f;
  }
  ++g.t;
  return true;
}

// Reads the genotypes of a line into firsts and seconds and returns how many
// it found (nSamples unless the line ends first). Before each genotype that
// is not taken otherwise, takeSeveral(p, end, g) may take several of the
// usual form "a|b" followed by a tab at once, and says whether it took any.
template <typename TakeSeveral>
int readGenotypeWords(char*& p, const char* end, int nSamples, std::uint64_t* firsts,
                      std::uint64_t* seconds, GenotypeFault& fault, TakeSeveral takeSeveral) {
  int s = 0;
  for (std::size_t w = 0; s < nSamples; ++w) {
    GenotypeWord g;
    g.count = std::min(64, nSamples - s);
    while (g.t < g.count) {
      if (takeSeveral(p, end, g)) continue;
      if (!readOneGenotype(p, end, g, fault)) {
        firsts[w] = g.a;
        seconds[w] = g.b;
        return s + g.t;
      }
    }
    firsts[w] = g.a;
    seconds[w] = g.b;
    s += g.count;
  }
  return s;
}

// "0|0\t0|0\t" with the allele bits cleared, as a little-endian word.
constexpr std::uint64_t twoGenotypes = 0x09307C3009307C30ull;
constexpr std::uint64_t alleleBits = 0x0001000100010001ull;

// Takes four usual genotypes in one 16-byte load (SSE2), else two in one
// 8-byte load, when as many are left in the word.
bool takeFourOrTwo(char*& p, const char* end, GenotypeWord& g) {
#if defined(__SSE2__)
  if (g.t + 3 < g.count && end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i cleared = _mm_and_si128(v, _mm_set1_epi32(~0x00010001));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(cleared, _mm_set1_epi32(0x09307C30))) == 0xFFFF) {
      // Bit i of `bits` is bit 0 of byte i: alleles sit in bytes 4j and 4j + 2.
      const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_slli_epi16(v, 7)));
      g.a |= std::uint64_t{(bits & 1) | ((bits >> 3) & 2) | ((bits >> 6) & 4) | ((bits >> 9) & 8)}
             << g.t;
      g.b |= std::uint64_t{((bits >> 2) & 1) | ((bits >> 5) & 2) | ((bits >> 8) & 4) |
                           ((bits >> 11) & 8)}
             << g.t;
      g.t += 4;
      p += 16;
      return true;
    }
  }
#endif
  if (g.t + 1 < g.count && end - p >= 8) {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    if ((x & ~alleleBits) == twoGenotypes) {
      g.a |= ((x & 1) | ((x >> 31) & 2)) << g.t;
      g.b |= (((x >> 16) & 1) | ((x >> 47) & 2)) << g.t;
      g.t += 2;
      p += 8;
      return true;
    }
  }
  return false;
}

int readGenotypesOneByOne(char*& p, const char* end, int nSamples, std::uint64_t* firsts,
                          std::uint64_t* seconds, GenotypeFault& fault) {
  return readGenotypeWords(p, end, nSamples, firsts, seconds, fault,
                           [](char*&, const char*, GenotypeWord&) { return false; });
}

int readGenotypesInWords(char*& p, const char* end, int nSamples, std::uint64_t* firsts,
                         std::uint64_t* seconds, GenotypeFault& fault) {
  return readGenotypeWords(p, end, nSamples, firsts, seconds, fault, takeFourOrTwo);
}

#if defined(PRAVOLIN_WIDE_GENOTYPES)

// Takes usual genotypes eight (32 bytes) per step, for processors with AVX2,
// while eight are left in the word; stops at the first group of eight that
// is not all of the usual form. p moves past the genotypes taken.
__attribute__((target("avx2"))) void takeEightAtATime(char*& p, const char* end, GenotypeWord& g) {
  const __m256i clear = _mm256_set1_epi32(~0x00010001);
  const __m256i pattern = _mm256_set1_epi32(0x09307C30);
  // Per 16-byte half: the left alleles (bytes 0, 4, 8, 12), then the right
  // ones (bytes 2, 6, 10, 14), in its first eight bytes.
  const __m256i gather = _mm256_setr_epi8(0, 4, 8, 12, 2, 6, 10, 14, -1, -1, -1, -1, -1, -1, -1, -1,
                                          0, 4, 8, 12, 2, 6, 10, 14, -1, -1, -1, -1, -1, -1, -1, -1);
  while (g.t + 8 <= g.count && end - p >= 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i cleared = _mm256_and_si256(v, clear);
    if (static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(cleared, pattern))) !=
        0xFFFFFFFFu)
      break;
    // Bit i of `bits` is bit 0 of gathered byte i.
    const unsigned bits = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_slli_epi16(_mm256_shuffle_epi8(v, gather), 7)));
    g.a |= std::uint64_t{(bits & 0xFu) | ((bits >> 12) & 0xF0u)} << g.t;
    g.b |= std::uint64_t{((bits >> 4) & 0xFu) | ((bits >> 16) & 0xF0u)} << g.t;
    g.t += 8;
    p += 32;
  }
}

int readGenotypesAvx2(char*& p, const char* end, int nSamples, std::uint64_t* firsts,
                      std::uint64_t* seconds, GenotypeFault& fault) {
  return readGenotypeWords(p, end, nSamples, firsts, seconds, fault,
                           [](char*& q, const char* stop, GenotypeWord& g) {
                             if (g.t + 8 <= g.count) {
                               takeEightAtATime(q, stop, g);
                               // Fewer than four left: the narrower steps take them.
                               if (g.t + 3 >= g.count) return true;
                             }
                             return takeFourOrTwo(q, stop, g);
                           });
}

bool processorHasAvx2() {
  __builtin_cpu_init();  // static initialisers may run before the runtime's own
  return __builtin_cpu_supports("avx2") != 0;
}
#endif

GenotypeScan widestScan() {
#if defined(PRAVOLIN_WIDE_GENOTYPES)
  if (processorHasAvx2()) return GenotypeScan::avx2;
#endif
  return wordLoads ? GenotypeScan::words : GenotypeScan::oneByOne;
}

// The scan new parsers may use at most; the widest kind caps nothing.
std::atomic<GenotypeScan> scanCap{GenotypeScan::avx2};

}  // namespace

GenotypeScan widestGenotypeScan() {
  static const GenotypeScan widest = widestScan();
  return widest;
}

GenotypeScan capGenotypeScan(GenotypeScan cap) {
  scanCap = cap;
  return std::min(cap, widestGenotypeScan());
}

DataLineParser::DataLineParser(const std::string& fileName, int nSamples,
                               std::size_t linesBefore)
    : fileName_(fileName),
      nSamples_(nSamples),
      words_((static_cast<std::size_t>(nSamples) + 63) / 64),
      scan_(std::min(scanCap.load(), widestGenotypeScan())),
      lineNumber_(linesBefore) {}

int DataLineParser::readGenotypes(char*& p, char* end, std::uint64_t* firsts,
                                  std::uint64_t* seconds, GenotypeFault& fault) const {
#if defined(PRAVOLIN_WIDE_GENOTYPES)
  if (scan_ == GenotypeScan::avx2)
    return readGenotypesAvx2(p, end, nSamples_, firsts, seconds, fault);
#endif
  if (scan_ == GenotypeScan::words)
    return readGenotypesInWords(p, end, nSamples_, firsts, seconds, fault);
  return readGenotypesOneByOne(p, end, nSamples_, firsts, seconds, fault);
}

bool DataLineParser::parse(char* p, char* end, std::uint64_t* firsts, std::uint64_t* seconds) {
  ++lineNumber_;
  while (p < end && blankChars.find(*p) != std::string::npos) ++p;
  if (p == end || *p == commentmarker[0]) return false;
  std::string_view fields[9];
  int found = 0;
  p = takeFixedFields(p, end, fields, found);
  GenotypeFault fault = GenotypeFault::none;
  int genotypes = 0;
  if (found == 9) {
    genotypes = readGenotypes(p, end, firsts, seconds, fault);
    // Fields after the last sample's genotype have no sample: the line does
    // not fit its header. Usually only the line end (or a CR) is left.
    while (p < end && isSeparator(*p)) ++p;
    if (p != end) genotypes += countFields(p, end);
  }
  accept(fields, found, genotypes, fault);
  return true;
}

namespace {

[[noreturn]] void fail(const std::string& message) { fatalError(1, message); }

// The POS text as a number, as parsePosition reads it. Plain digit strings of
// up to 15 digits, by far the usual case, are below 2^53 and are converted
// directly (exactly).
PositionFault positionOf(std::string_view text, double& position) {
  std::int64_t value = 0;
  if (parseDigits(text, 15, value)) {
    position = static_cast<double>(value);
    return PositionFault::none;
  }
  return parsePosition(text, position);
}

// "n word" or "n words".
std::string counted(int n, const std::string& word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

void DataLineParser::accept(const std::string_view* fields, int found, int genotypes,
                            GenotypeFault fault) {
  // Each genotype field belongs to the sample of its column in the header: a
  // line with fewer or more of them cannot be matched to the samples.
  if (found < 9 || genotypes != nSamples_) {
    const std::string head = "ERROR: malformed VCF line in file " + fileName_ + " at line " +
                             std::to_string(lineNumber_) + ": ";
    const std::string samples = counted(nSamples_, "sample") + " in the header\n";
    if (found < 9)
      fail(head + counted(found, "field") + " found, fewer than the 9 fixed fields (CHROM to " +
           "FORMAT) before the genotypes of the " + samples);
    fail(head + counted(genotypes, "genotype field") + " found, " + samples);
  }
  // The chromosome is told by its CHROM text: chr1 and chr2 differ although
  // both read as number 0.
  if (accepted_ == 0) {
    chromName_ = std::string(fields[0]);
    chromosome_ = toInt(chromName_);
  } else if (fields[0] != chromName_) {
    fail("ERROR there is more than one chromosome in the file: Bad VCF-Pravolin format in file " +
         fileName_ + "\n");
  }
  const std::string posText(fields[1]);
  if (fields[8] != "GT")
    fail("ERROR: FORMAT is not GT in file " + fileName_ + " at position " + posText + "\n");
  if (fault == GenotypeFault::nonPhased)
    fail("ERROR: non-phased or malformed genotype in file " + fileName_ + " at position " +
         posText + "\n");
  if (fault == GenotypeFault::unsupported)
    fail("ERROR: unsupported genotype state in file " + fileName_ + " at position " + posText +
         ". Expected only phased biallelic GT values 0|0, 0|1, 1|0 or 1|1.\n");
  // Sites are paired by walking both files in position order: a position that
  // is no number (read as 0, or cut at its first bad character), one beyond
  // 2^53 (where two positions can read as one), or one below its predecessor,
  // would put sites at wrong places or silently lose them.
  double position = 0.0;
  const PositionFault positionFault = positionOf(fields[1], position);
  if (positionFault != PositionFault::none)
    fail("ERROR: position " + positionFaultText(positionFault) + " in file " + fileName_ + " at line " +
         std::to_string(lineNumber_) + ", position " + posText + "\n");
  if (accepted_ > 0 && position <= line_.position) {
    // A second record at one position (a multi-allelic site split into
    // biallelic records, or a repeat) cannot be paired with the other file's
    // record at that position: which of them is the site is unknown.
    if (position == line_.position)
      fatalError(4, "ERROR: position " + posText + " is listed twice in file " + fileName_ +
                        ", at lines " + std::to_string(previousLine_) + " and " +
                        std::to_string(lineNumber_) +
                        ". One biallelic record per position is read: give a multi-allelic site "
                        "as one record, or reduce it to one biallelic record\n");
    fail("ERROR: positions are not in ascending order in file " + fileName_ + " at line " +
         std::to_string(lineNumber_) + ": position " + posText + " follows position " +
         previousPos_ + "\n");
  }
  previousPos_ = posText;
  previousLine_ = lineNumber_;
  line_ = DataLine{fields[0], fields[1], fields[2], fields[3], fields[4], fields[8], position};
  ++accepted_;
}

SiteBits::SiteBits(int nSamples)
    : samples_(static_cast<std::size_t>(nSamples)),
      half_((samples_ + 63) / 64),
      perChunk_(
          std::max<std::size_t>((std::size_t{1} << 16) / std::max<std::size_t>(half_, 1), 1)) {}

std::uint64_t* SiteBits::next() {
  const std::size_t slot = 2 * half_;
  if (size_ == chunks_.size() * perChunk_) chunks_.emplace_back();
  std::vector<std::uint64_t>& chunk = chunks_.back();
  const std::size_t at = (size_ % perChunk_) * slot;
  if (chunk.size() == at) {
    // The first chunk doubles from 64 sites, so that a small file costs no
    // full chunk; the later ones come whole at once.
    if (chunk.capacity() == at)
      chunk.reserve(chunks_.size() > 1 ? perChunk_ * slot
                                       : std::min(std::max(2 * at, 64 * slot), perChunk_ * slot));
    chunk.resize(at + slot);
  }
  return chunk.data() + at;
}

void transpose64(std::uint64_t block[64]) {
  // Swaps the off-diagonal sub-blocks of size 32, then 16, ... down to 1.
  std::uint64_t mask = 0x00000000FFFFFFFFull;
  for (unsigned j = 32; j != 0; j >>= 1, mask ^= mask << j) {
    for (unsigned k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const std::uint64_t t = ((block[k] >> j) ^ block[k | j]) & mask;
      block[k] ^= t << j;
      block[k | j] ^= t;
    }
  }
}

}  // namespace vcf
