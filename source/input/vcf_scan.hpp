// Block reading and data-line parsing of phased VCF files.
//
// A VCF data line is checked and taken apart in one pass over its bytes: the
// nine fixed fields are upper-cased in place (only they are compared or
// kept), and the genotypes go straight into words of allele bits, so no
// per-field string is built for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace vcf {

// Hands out the lines of a stream one by one, reading it in large blocks.
// A line is given without its line end; the last line is given even when it
// has no line end. The bytes of a line may be changed by the caller until the
// next call. A read error throws std::ios_base::failure.
//
// The block starts small and doubles at each read that fills it, up to
// blockSize: a small file costs no large buffer, a large one is soon read in
// full blocks. A line longer than the block grows it further.
class LineReader {
 public:
  explicit LineReader(std::istream& in, std::size_t blockSize = std::size_t{1} << 22);
  bool next(char*& begin, char*& end);

 private:
  void refill();

  std::istream& in_;
  std::size_t blockSize_;
  std::vector<char> buffer_;
  bool readBefore_ = false;  // a read has filled the buffer: the stream goes on
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  bool atEnd_ = false;
};

// The fixed fields of the last accepted data line, upper-cased; the views
// point into the line and stay valid until the next line is read.
struct DataLine {
  std::string_view chrom, pos, id, ref, alt, format;
  double position = 0.0;
};

// How the genotypes of a data line are read: one by one; also two or four
// of the usual form "a|b" per step in 8- or 16-byte loads (SSE2 where
// built for it); also eight per step in 32-byte loads (AVX2). Wider scans
// read the same lines into the same bits and faults, only faster.
enum class GenotypeScan { oneByOne, words, avx2 };

// The widest scan this build and this processor can run.
GenotypeScan widestGenotypeScan();
// Caps the scan of the parsers made from now on (tests compare the scans);
// the cap is the widest scan unless set. A scan the processor cannot run is
// never used: the result is the scan the parsers will use.
GenotypeScan capGenotypeScan(GenotypeScan cap);

// What spoils a genotype: no two parts between the bars, or a part that is
// not the allele 0 or 1.
enum class GenotypeFault { none, nonPhased, unsupported };

// Checks the data lines of one file and takes them apart. Every line of the
// file after the first linesBefore ones is handed to parse(), skipped lines
// included, so that a fault can name its line.
class DataLineParser {
 public:
  DataLineParser(const std::string& fileName, int nSamples, std::size_t linesBefore = 0);

  // Words of nSamples bits that hold one allele of every sample.
  std::size_t wordsPerHaplotype() const { return words_; }

  // False for a line to skip (blank, or a comment). Otherwise the line is
  // accepted: bit s of firsts and of seconds (wordsPerHaplotype() words each,
  // all written) holds the allele left and right of the bar of sample s, and
  // line() describes the line. A faulty line ends the process, with the checks
  // in this order: field count (nine fixed fields and one genotype per
  // sample, no more), chromosome, FORMAT, genotypes, position (a finite
  // number as a whole word, above the previous one; a position equal to the
  // previous one ends with status 4).
  bool parse(char* p, char* end, std::uint64_t* firsts, std::uint64_t* seconds);

  const DataLine& line() const { return line_; }
  // Number and CHROM text of the first accepted line (0 and "" before it).
  int chromosome() const { return chromosome_; }
  const std::string& chromName() const { return chromName_; }
  std::size_t accepted() const { return accepted_; }

 private:
  int readGenotypes(char*& p, char* end, std::uint64_t* firsts, std::uint64_t* seconds,
                    GenotypeFault& fault) const;
  void accept(const std::string_view* fields, int found, int genotypes, GenotypeFault fault);

  std::string fileName_;
  int nSamples_;
  std::size_t words_;
  GenotypeScan scan_;
  int chromosome_ = 0;
  std::string chromName_;
  std::size_t accepted_ = 0;
  std::size_t lineNumber_;   // of the line being parsed, from 1
  std::string previousPos_;  // POS text of the previous accepted line
  std::size_t previousLine_ = 0;  // and its line number
  DataLine line_;
};

// Genotype bits of one population, one site after another. Rows of the
// population are the first haplotypes of its individuals, then their second
// haplotypes; a site holds the first haplotypes' bits in half() words, then
// the second haplotypes' bits in half() words.
class SiteBits {
 public:
  explicit SiteBits(int nSamples);

  // A slot for the next site, to be filled whole by the parser; keep() adds it
  // to the sites, otherwise the next call hands out the same slot again. The slot, and
  // the sites site() gives, may move at the next call.
  std::uint64_t* next();
  void keep() { ++size_; }

  const std::uint64_t* site(std::size_t k) const {
    return chunks_[k / perChunk_].data() + (k % perChunk_) * 2 * half_;
  }
  std::size_t size() const { return size_; }
  // Frees the sites (size() stays).
  void release() { std::vector<std::vector<std::uint64_t>>().swap(chunks_); }
  std::size_t samples() const { return samples_; }
  std::size_t half() const { return half_; }

 private:
  std::size_t samples_;
  std::size_t half_;
  std::size_t perChunk_;
  std::size_t size_ = 0;
  std::vector<std::vector<std::uint64_t>> chunks_;
};

// Transposes a 64 x 64 bit block: bit c of word r goes to bit r of word c.
void transpose64(std::uint64_t block[64]);

}  // namespace vcf
