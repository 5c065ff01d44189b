// The genotype scans of the data-line parser (one by one, in words, with
// AVX2) must read the same lines alike: the same bits, the same lines taken or
// passed over, and the same fatal messages on the same faulty lines. The
// same random files, from a fixed seed, go through each scan; each scan the
// processor can run is compared with the one-by-one scan.
#include <gtest/gtest.h>

#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "input/vcf_scan.hpp"
#include "test_support.hpp"

namespace {

// One data line and what the generator knows of it.
struct GeneratedLine {
  std::string text;
  bool faulty = false;      // a fault was put in on purpose: the file must end on it
  bool mutated = false;     // bytes were changed at random: anything may follow
  bool passedOver = false;  // blank or comment
  std::string a, b;         // the alleles, when the line is sound
};

struct GeneratedFile {
  int samples = 0;
  std::vector<GeneratedLine> lines;
};

// What the parser made of one line.
struct LineOutcome {
  bool taken = false;
  int status = 0;  // the status of a fatal exit, 0 when the line was read
  std::string message;
  std::vector<std::uint64_t> firsts, seconds;
  std::string fields;  // the fixed fields kept, and the chromosome
  bool operator==(const LineOutcome& o) const {
    return taken == o.taken && status == o.status && message == o.message && firsts == o.firsts &&
           seconds == o.seconds && fields == o.fields;
  }
};

std::ostream& operator<<(std::ostream& out, const LineOutcome& o) {
  out << (o.taken ? "taken" : "passed over") << " status " << o.status << " " << o.message
      << " fields " << o.fields << " bits";
  for (std::size_t w = 0; w < o.firsts.size(); ++w)
    out << " " << o.firsts[w] << "/" << o.seconds[w];
  return out;
}

const int sampleCounts[] = {1, 2, 7, 8, 9, 31, 33, 63, 64, 65, 127, 129, 200, 1000};

using namespace std::string_literals;

// Genotypes that spoil a line, each as the one genotype of a sample: no two
// parts between the bars, or a part that is not an allele.
const std::string badGenotypes[] = {
    "0/1"s,   "1/0"s,     "."s,      ".|."s,  "0|2"s,  "2|0"s,  "0|1|1"s, "|"s,    "||"s,
    "0|1:35"s, "00|1"s,   "0|10"s,   "0|"s,   "|1"s,   "0|\0"s, "\0|1"s,  "1|0\0"s, "0\x0b|1"s,
    "0|1\x0b"s, "0|}"s,   "\x08|1"s, "1|1/"s, "a|b"s,  "-1|0"s, "0|-1"s, "1|01"s, "0\0"s,
    "01"s,    "1"s,       "0|1\x89"s};

// Bytes that a random change writes: alleles, bars, separators and bytes
// that differ from them in one bit.
const std::string changeBytes = "012|/.\t \r\n\0\x0b}~\x08\x19p\x89"s;

std::string fixedFields(const std::string& chrom, int pos) {
  return chrom + "\t" + std::to_string(pos) + "\trs" + std::to_string(pos) +
         "\ta\tc\t.\tPASS\t.\tGT";
}

// A line of sound genotypes, of the usual form "a|b" after a tab (the form
// the wide loads take), or (when otherForms) now and then in the other forms
// the parser accepts.
GeneratedLine soundLine(std::mt19937& rng, int samples, int pos, bool otherForms) {
  GeneratedLine line;
  line.text = fixedFields("chr7", pos);
  const bool plain = !otherForms;
  for (int s = 0; s < samples; ++s) {
    const char a = static_cast<char>('0' + rng() % 2), b = static_cast<char>('0' + rng() % 2);
    line.a += a;
    line.b += b;
    const int form = plain ? 99 : static_cast<int>(rng() % 24);
    line.text += form == 0 ? " " : form == 1 ? "\t\t" : form == 2 ? " \t " : "\t";
    line.text += form == 3 ? "|" : "";
    line.text += std::string(1, a) + (form == 4 ? "||" : "|") + b + (form == 5 ? "|" : "");
  }
  // Line ends: none, CR (a CRLF file) or separators.
  const char* const ends[] = {"", "", "", "\r", "\t", " \t\r"};
  line.text += ends[rng() % 6];
  return line;
}

// Flips one bit of a byte after FORMAT: a near miss of the wide loads.
void flipOneBit(std::mt19937& rng, std::string& text) {
  const std::size_t start = text.find("\tGT") + 3;
  text[start + rng() % (text.size() - start)] ^= static_cast<char>(1 << (rng() % 8));
}

// Where genotype `index` of a sound line starts and ends.
std::pair<std::size_t, std::size_t> genotypeAt(const std::string& text, int index) {
  std::size_t begin = text.find("\tGT") + 3;
  for (int s = 0;; ++s) {
    begin = text.find_first_not_of(" \t", begin);
    const std::size_t end = std::min(text.find_first_of(" \t\r", begin), text.size());
    if (s == index) return {begin, end};
    begin = end;
  }
}

// Spoils the genotypes of a sound line in one of the ways the parser
// rejects, or changes bytes at random (the line may then be sound or not).
void spoilGenotypes(std::mt19937& rng, GeneratedLine& line, int samples) {
  const int kind = static_cast<int>(rng() % 13);
  const int at = static_cast<int>(rng() % static_cast<unsigned>(samples));
  if (kind < 5) {  // one bad genotype among the others
    const auto [begin, end] = genotypeAt(line.text, at);
    line.text.replace(begin, end - begin, badGenotypes[rng() % std::size(badGenotypes)]);
    line.faulty = true;
  } else if (kind == 5) {  // a short line: the genotypes from `at` on are missing
    line.text.resize(at == 0 ? line.text.find("\tGT") + 3 : genotypeAt(line.text, at - 1).second);
    line.faulty = true;
  } else if (kind == 6) {  // a NUL byte, or a comma, for the separators before genotype `at`
    const std::size_t begin = genotypeAt(line.text, at).first;
    const std::size_t from = line.text.find_last_not_of(" \t", begin - 1) + 1;
    line.text.replace(from, begin - from, rng() % 2 ? "\0"s : ","s);
    line.faulty = true;  // two genotypes in one, or FORMAT no longer GT
  } else if (kind == 12) {  // fields after the last sample's genotype
    const std::string extra[] = {"\t0|1\t1|0", "\tjunk\t0/1\r", " 1|1",
                                 "\t" + std::string(5000 + rng() % 20000, 'x')};
    line.text += extra[rng() % 4];
    line.faulty = true;
  } else if (kind < 9) {  // one bit flipped in a few bytes
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) flipOneBit(rng, line.text);
    line.mutated = true;
  } else {  // bytes changed, inserted or removed after FORMAT
    const std::size_t start = line.text.find("\tGT") + 3;
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
      const std::size_t pos = start + rng() % (line.text.size() - start);
      const char byte = changeBytes[rng() % changeBytes.size()];
      const int how = static_cast<int>(rng() % 3);
      if (how == 0) line.text[pos] = byte;
      if (how == 1) line.text.insert(pos, 1, byte);
      if (how == 2) line.text.erase(pos, 1);
    }
    line.mutated = true;
  }
}

// Faults of the fixed fields: too few fields, FORMAT not GT, a position that
// is no number, and after an accepted line another chromosome or a position
// that goes down.
void spoilFixedFields(std::mt19937& rng, GeneratedLine& line, bool acceptedBefore) {
  const std::size_t posStart = line.text.find('\t') + 1;
  const std::size_t posLength = line.text.find('\t', posStart) - posStart;
  switch (rng() % (acceptedBefore ? 5 : 3)) {
    case 0: line.text.resize(line.text.find('\t', posStart + posLength + 1)); break;
    case 1: line.text.replace(line.text.find("\tGT"), 3, "\tGT:DP"); break;
    case 2: line.text.replace(posStart, posLength, rng() % 2 ? "nan" : "-inf"); break;
    case 3: line.text.replace(0, posStart - 1, "chrOther"); break;
    default: line.text.replace(posStart, posLength, "7"); break;
  }
  line.faulty = true;
}

std::vector<GeneratedFile> generateFiles() {
  std::mt19937 rng(20240611);
  std::vector<GeneratedFile> files;
  for (int round = 0; round < 3; ++round) {
    for (int samples : sampleCounts) {
      for (int f = 0; f < 12; ++f) {
        GeneratedFile file;
        file.samples = samples;
        const int lines = 1 + static_cast<int>(rng() % 5);
        bool acceptedBefore = false;  // every line before a faulty one is accepted
        for (int k = 0, pos = 100; k < lines; ++k, pos += 1 + static_cast<int>(rng() % 50)) {
          const int kind = static_cast<int>(rng() % 16);
          if (kind == 0) {
            GeneratedLine skipped;
            skipped.text = rng() % 2 ? "#a comment\t0|1" : " \t\r";
            skipped.passedOver = true;
            file.lines.push_back(skipped);
            continue;
          }
          GeneratedLine line = soundLine(rng, samples, pos, rng() % 3 == 0);
          if (kind >= 8 && kind < 14) spoilGenotypes(rng, line, samples);
          if (kind == 14) spoilFixedFields(rng, line, acceptedBefore);
          file.lines.push_back(line);
          acceptedBefore = true;
        }
        files.push_back(file);
      }
    }
  }
  // Near misses of the wide loads in number: lines of the usual form with
  // one bit flipped.
  for (int samples : {7, 9, 31, 33, 63, 65, 127, 129}) {
    for (int f = 0; f < 250; ++f) {
      GeneratedFile file;
      file.samples = samples;
      GeneratedLine line = soundLine(rng, samples, 100, false);
      flipOneBit(rng, line.text);
      line.mutated = true;
      file.lines.push_back(line);
      files.push_back(file);
    }
  }
  return files;
}

class GenotypeScansTest : public TempDirTest,
                          public testing::WithParamInterface<vcf::GenotypeScan> {
 protected:
  void TearDown() override {
    vcf::capGenotypeScan(vcf::GenotypeScan::avx2);  // no cap: the widest scan again
    TempDirTest::TearDown();
  }

  // Reads a file with parsers of the given scan, line by line, until its
  // end or its first fatal exit. Each line lies alone in a buffer of its own
  // length, so that a load past its end is a sanitizer report.
  static std::vector<LineOutcome> read(vcf::GenotypeScan scan, const GeneratedFile& file) {
    EXPECT_EQ(vcf::capGenotypeScan(scan), scan);
    vcf::DataLineParser parser("scan.vcf", file.samples);
    std::vector<LineOutcome> outcomes;
    std::ostringstream console;
    std::streambuf* previous = std::cout.rdbuf(console.rdbuf());
    for (const GeneratedLine& line : file.lines) {
      LineOutcome o;
      o.firsts.assign(parser.wordsPerHaplotype(), 0x5A5A5A5A5A5A5A5Aull);
      o.seconds = o.firsts;
      std::vector<char> bytes(line.text.begin(), line.text.end());
      try {
        o.taken = parser.parse(bytes.data(), bytes.data() + bytes.size(), o.firsts.data(),
                               o.seconds.data());
      } catch (const FatalExit& e) {
        o.status = e.status;
      }
      o.message = console.str();
      console.str("");
      if (o.taken) {
        const vcf::DataLine& d = parser.line();
        std::ostringstream fields;
        fields << d.chrom << " " << d.pos << " " << d.id << " " << d.ref << " " << d.alt << " "
               << d.format << " " << d.position << " " << parser.chromosome() << " "
               << parser.chromName() << " " << parser.accepted();
        o.fields = fields.str();
      } else if (o.status == 0) {
        o.firsts.clear();  // a line passed over writes no bits
        o.seconds.clear();
      }
      outcomes.push_back(o);
      if (o.status != 0) break;
    }
    std::cout.rdbuf(previous);
    return outcomes;
  }
};

const char* nameOf(vcf::GenotypeScan scan) {
  switch (scan) {
    case vcf::GenotypeScan::oneByOne: return "OneByOne";
    case vcf::GenotypeScan::words: return "Words";
    case vcf::GenotypeScan::avx2: return "Avx2";
  }
  return "?";
}

std::string bitsOf(const std::vector<std::uint64_t>& words, int samples) {
  std::string bits;
  for (int s = 0; s < samples; ++s)
    bits += static_cast<char>('0' + ((words[s / 64] >> (s % 64)) & 1));
  return bits;
}

}  // namespace

TEST_P(GenotypeScansTest, ReadTheSameFilesAsTheOneByOneScan) {
  const vcf::GenotypeScan scan = GetParam();
  if (scan > vcf::widestGenotypeScan())
    GTEST_SKIP() << "this processor (or build) cannot run the " << nameOf(scan)
                 << " genotype scan; the widest it runs is " << nameOf(vcf::widestGenotypeScan());
  const std::vector<GeneratedFile> files = generateFiles();
  int faultyEnds = 0, soundLines = 0;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const GeneratedFile& file = files[f];
    const std::vector<LineOutcome> reference = read(vcf::GenotypeScan::oneByOne, file);
    const std::vector<LineOutcome> outcomes = read(scan, file);
    ASSERT_EQ(outcomes.size(), reference.size()) << "file " << f;
    for (std::size_t k = 0; k < reference.size(); ++k)
      ASSERT_EQ(outcomes[k], reference[k]) << "file " << f << " line " << k << ": "
                                           << testing::PrintToString(file.lines[k].text);
    // The reference itself: sound lines give their alleles, lines passed
    // over give nothing, a line spoiled on purpose ends the file.
    for (std::size_t k = 0; k < reference.size(); ++k) {
      const GeneratedLine& line = file.lines[k];
      const LineOutcome& o = reference[k];
      if (line.passedOver) {
        EXPECT_FALSE(o.taken) << "file " << f << " line " << k;
        EXPECT_EQ(o.status, 0) << "file " << f << " line " << k;
      } else if (line.faulty) {
        EXPECT_EQ(o.status, 1) << "file " << f << " line " << k << ": "
                               << testing::PrintToString(line.text);
        ++faultyEnds;
      } else if (!line.mutated) {
        ASSERT_TRUE(o.taken) << "file " << f << " line " << k << ": " << o.message;
        EXPECT_EQ(bitsOf(o.firsts, file.samples), line.a) << "file " << f << " line " << k;
        EXPECT_EQ(bitsOf(o.seconds, file.samples), line.b) << "file " << f << " line " << k;
        ++soundLines;
      }
    }
  }
  // The generator made both kinds of lines in number.
  EXPECT_GT(faultyEnds, 100);
  EXPECT_GT(soundLines, 300);
}

INSTANTIATE_TEST_SUITE_P(Scans, GenotypeScansTest,
                         testing::Values(vcf::GenotypeScan::words, vcf::GenotypeScan::avx2),
                         [](const testing::TestParamInfo<vcf::GenotypeScan>& info) {
                           return std::string(nameOf(info.param));
                         });
