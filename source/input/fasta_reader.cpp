#include "input/fasta_reader.hpp"

#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>

#include "input/base_coding.hpp"
#include "input/common.hpp"
#include "input/output_file.hpp"

namespace {

// Longest sequence accepted: positions are handed on as int-sized indices.
constexpr std::size_t maxSequenceLength = 2147483646;

struct FastaRecord {
  std::string header;    // as read, with its ">"
  std::string sequence;  // lines joined, spaces removed, upper-cased
};

// The tables a reader fills, gathered so that the shared steps take one argument.
struct FastaSample {
  std::vector<int>& samplesizes;
  HaplotypeMatrix& data;
  std::vector<std::vector<double>>& snpfreqs;
  std::vector<std::vector<double>>& snpositions;
};

// Symbol classes of the site coding: the bases 0..3 in the order of
// `nucleotides` (A, C, G, T, which is also the tie order of the major base),
// then every other symbol, then the gap, which counts as another symbol
// unless gaps drop their site.
enum : std::uint8_t { otherSymbol = 4, gapSymbol = 5, symbolClasses = 6 };

const std::array<std::uint8_t, 256>& symbolTable() {
  static const std::array<std::uint8_t, 256> table = [] {
    std::array<std::uint8_t, 256> t{};
    t.fill(otherSymbol);
    std::uint8_t code = 0;
    for (const std::string& base : nucleotides) t[static_cast<unsigned char>(base[0])] = code++;
    t[static_cast<unsigned char>('-')] = gapSymbol;
    return t;
  }();
  return table;
}

const std::array<char, 256>& upperTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c)
      t[static_cast<std::size_t>(c)] = static_cast<char>(std::toupper(c));
    return t;
  }();
  return table;
}

// Appends a sequence line to seq: only the space character is removed, the
// rest is upper-cased byte by byte (a tab stays and is a symbol of its own).
void appendSequenceLine(std::string& seq, const std::string& line) {
  const std::array<char, 256>& upper = upperTable();
  for (const char c : line)
    if (c != ' ') seq.push_back(upper[static_cast<unsigned char>(c)]);
}

bool isCommentLine(const std::string& line) {
  return line.compare(0, commentmarker.size(), commentmarker) == 0;
}

// Reads every record of path + file. Blank and comment lines may precede the
// first header; after it, lines are taken as they are. False, with a message
// where there is something to say, when the file is no usable FASTA file.
bool readRecords(const std::string& path, const std::string& file,
                 std::vector<FastaRecord>& records) {
  records.clear();
  std::ifstream in;
  if (!openInputFile(path, file, in, false)) return false;

  std::string line;
  bool content = false;
  while (readLine(in, line)) {
    ltrim(line, blankChars);
    if (line.empty() || isCommentLine(line)) continue;
    content = true;
    break;
  }
  // Nothing but blanks and comments, or a lone first line without a line end.
  if (!content || in.eof()) return false;
  if (line[0] != '>') {
    std::cout << "\nEmpty file or wrong format when reading fasta " << path << file << "\n"
              << std::endl;
    return false;
  }

  records.push_back({line, std::string()});
  while (readLine(in, line)) {
    if (line.empty()) continue;
    if (line[0] != '>') {
      appendSequenceLine(records.back().sequence, line);
      continue;
    }
    // Every record but the last must hold a sequence: an empty one would shift
    // the records that follow it into the wrong haplotype or population.
    if (records.back().sequence.empty()) {
      std::cout << "\nERROR: record " << records.size() << " (" << records.back().header
                << ") has no sequence in fasta file " << path << file << "\n"
                << std::endl;
      return false;
    }
    // Aligned records are as long as the one before; reserving that much
    // (not the first record's length) keeps a long first record followed by
    // many short ones from taking memory for sequences that are not there.
    const std::size_t previous = records.back().sequence.size();
    records.push_back({line, std::string()});
    records.back().sequence.reserve(previous);
  }
  if (in.bad()) {
    std::cout << "\nERROR: could not read fasta file " << path << file << " to its end\n"
              << std::endl;
    return false;
  }
  return true;
}

void checkSequenceLength(const std::string& sequence, const std::string& file) {
  if (sequence.size() > maxSequenceLength)
    fatalError(1, "ERROR: Sequence too large in file " + file + "\n");
}

std::vector<const std::string*> sequencesOf(const std::vector<const FastaRecord*>& records) {
  std::vector<const std::string*> sequences;
  sequences.reserve(records.size());
  for (const FastaRecord* record : records) sequences.push_back(&record->sequence);
  return sequences;
}

std::vector<const FastaRecord*> recordsOf(const std::vector<FastaRecord>& records) {
  std::vector<const FastaRecord*> pointers;
  pointers.reserve(records.size());
  for (const FastaRecord& record : records) pointers.push_back(&record);
  return pointers;
}

// Codes the alignment `sequences` (samplesize1 rows of population 1, then
// those of population 2) into out: every column is a site, coded against the
// major base of the larger population (population 1 on a tie), which is
// returned. Sites where that population's missing symbols and gaps together
// outnumber its major base, and with noGaps every site with a gap in that
// population, are dropped from both populations. The
// first are counted in one warning naming the coding population's file
// (popFiles[0] or popFiles[1]): an alignment written as 0/1 loses every
// column. Gapped columns dropped at the user's request are not counted.
int codeSites(const std::vector<const std::string*>& sequences, std::size_t samplesize1,
              bool noGaps, const std::string& misalignedMessage,
              const std::string (&popFiles)[2], FastaSample& out) {
  const std::size_t length = sequences.front()->size();
  for (const std::string* sequence : sequences)
    if (sequence->size() != length) fatalError(1, misalignedMessage);

  const std::size_t total = sequences.size();
  const std::size_t sizes[2] = {samplesize1, total - samplesize1};
  const int ref = sizes[1] > sizes[0] ? 1 : 0;
  const std::size_t refBegin = ref == 0 ? 0 : samplesize1;
  const std::size_t refEnd = ref == 0 ? samplesize1 : total;
  const std::array<std::uint8_t, 256>& symbol = symbolTable();

  std::vector<std::array<std::uint32_t, symbolClasses>> counts(length);
  for (std::size_t i = refBegin; i < refEnd; ++i) {
    const std::string& sequence = *sequences[i];
    for (std::size_t s = 0; s < length; ++s)
      ++counts[s][symbol[static_cast<unsigned char>(sequence[s])]];
  }

  // Kept sites and their major base; ties go to the earlier of A, C, G, T,
  // and to any base over the other symbols.
  std::vector<std::size_t> keptSites;
  std::vector<std::uint8_t> keptMajor;
  LeftOutSites leftOut(
      "the coding population's missing symbols and gaps there, counted together, outnumber its "
      "most frequent base (A, C, G or T; a tie keeps the site)");
  for (std::size_t s = 0; s < length; ++s) {
    const std::array<std::uint32_t, symbolClasses>& c = counts[s];
    if (noGaps && c[gapSymbol] > 0) continue;
    std::uint8_t major = 0;
    for (std::uint8_t b = 1; b < otherSymbol; ++b)
      if (c[b] > c[major]) major = b;
    if (std::uint64_t{c[otherSymbol]} + c[gapSymbol] > c[major]) {
      leftOut.add([&] {
        std::string column;
        for (std::size_t i = refBegin; i < refEnd; ++i) column.push_back((*sequences[i])[s]);
        return column;
      });
      continue;
    }
    keptSites.push_back(s);
    keptMajor.push_back(major);
  }
  counts = {};
  leftOut.warn(popFiles[ref]);

  const std::size_t kept = keptSites.size();
  out.snpfreqs.assign(2, std::vector<double>(kept, 0.0));
  out.snpositions.assign(2, std::vector<double>(keptSites.begin(), keptSites.end()));
  out.data.assign(total, BitRow(kept));
  for (std::size_t i = 0; i < total; ++i) {
    const std::string& sequence = *sequences[i];
    BitRow& row = out.data[i];
    std::vector<double>& freqs = out.snpfreqs[i < samplesize1 ? 0 : 1];
    for (std::size_t j = 0; j < kept; ++j) {
      const std::uint8_t code = symbol[static_cast<unsigned char>(sequence[keptSites[j]])];
      if (code < otherSymbol && code != keptMajor[j]) {
        row.set(j);
        freqs[j] += 1.0;
      }
    }
  }
  for (int p = 0; p < 2; ++p)
    for (double& f : out.snpfreqs[p]) f /= static_cast<double>(sizes[p]);
  return ref;
}

// The input name without its extension: up to the last "." of its last path
// component (a dot in a folder name is no extension).
std::string storedBaseName(const std::string& file) {
  const std::size_t slash = file.find_last_of('/');
  const std::size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file;
  return file.substr(0, dot);
}

// Writes one population's records, each header followed by its whole sequence
// on one line; a file that cannot be written ends the process.
void storePopulation(const std::string& name, const std::vector<const FastaRecord*>& records) {
  OutputFile out(name, OutputFile::Mode::Replace);
  for (const FastaRecord* record : records) {
    out.write(record->header);
    out.write("\n");
    out.write(record->sequence);
    out.write("\n");
  }
  out.close();
}

// What the two readers that split one file differ in.
struct SplitRule {
  std::string separationError;   // message when a population stays empty
  std::string separationPrefix;  // start of the counts line that follows it
  std::string storedSuffix1;     // stored file names: base name + suffix
  std::string storedSuffix2;
};

// The steps shared by the readers that split one file into pops[0] and pops[1].
bool codeSplitFile(const std::array<std::vector<const FastaRecord*>, 2>& pops,
                   const SplitRule& rule, bool store, bool noGaps, const std::string& path,
                   const std::string& file, FastaSample& out, int& pref) {
  const std::size_t n1 = pops[0].size(), n2 = pops[1].size();
  out.samplesizes = {static_cast<int>(n1), static_cast<int>(n2)};
  std::vector<const FastaRecord*> ordered(pops[0]);
  ordered.insert(ordered.end(), pops[1].begin(), pops[1].end());
  const std::vector<const std::string*> sequences = sequencesOf(ordered);
  checkSequenceLength(*sequences.front(), file);
  if (n1 == 0 || n2 == 0) {
    std::cout << rule.separationError << std::endl;
    std::cout << rule.separationPrefix << n1 << '\t' << n2 << '\t' << sequences.size() << std::endl;
    return false;
  }
  pref = codeSites(sequences, n1, noGaps, "ERROR: sequences must be aligned in " + file + "\n",
                   {file, file}, out);
  if (store) {
    const std::string base = path + storedBaseName(file);
    storePopulation(base + rule.storedSuffix1, pops[0]);
    storePopulation(base + rule.storedSuffix2, pops[1]);
  }
  return true;
}

}  // namespace

bool readFastaHalves(const bool& noGaps, const std::string& path, const std::string& file,
                     std::vector<int>& samplesizes, HaplotypeMatrix& data,
                     std::vector<std::vector<double>>& snpfreqs,
                     std::vector<std::vector<double>>& snpositions) {
  std::vector<FastaRecord> records;
  if (!readRecords(path, file, records)) return false;
  checkSequenceLength(records.front().sequence, file);
  const std::size_t n = records.size();
  samplesizes = {static_cast<int>(n / 2), static_cast<int>(n - n / 2)};
  if (n <= 3) {
    std::cout << "\nERROR: low sample size found " << n / 2 << "\n" << std::endl;
    return false;
  }
  FastaSample out{samplesizes, data, snpfreqs, snpositions};
  // The larger half, population 2 for an odd count, gives the major bases;
  // this reader reports no reference population of its own.
  codeSites(sequencesOf(recordsOf(records)), n / 2, noGaps,
            "ERROR: sequences must be aligned in " + file + "\n", {file, file}, out);
  return true;
}

bool readFastaTwoFiles(const bool& noGaps, const std::string& path, const std::string& file1,
                       const std::string& file2, std::vector<int>& samplesizes,
                       HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref,
                       int* failedFile) {
  std::vector<FastaRecord> first, second;
  if (!readRecords(path, file1, first)) {
    if (failedFile != nullptr) *failedFile = 0;
    return false;
  }
  checkSequenceLength(first.front().sequence, file1);
  if (!readRecords(path, file2, second)) {
    if (failedFile != nullptr) *failedFile = 1;
    return false;
  }
  checkSequenceLength(second.back().sequence, file2);

  std::vector<const FastaRecord*> ordered = recordsOf(first);
  const std::vector<const FastaRecord*> pop2 = recordsOf(second);
  ordered.insert(ordered.end(), pop2.begin(), pop2.end());
  samplesizes = {static_cast<int>(first.size()), static_cast<int>(second.size())};
  FastaSample out{samplesizes, data, snpfreqs, snpositions};
  pref = codeSites(
      sequencesOf(ordered), first.size(), noGaps,
      "ERROR: sequences must be of the same length in files " + file1 + " and " + file2 + "\n",
      {file1, file2}, out);
  return true;
}

bool readFastaByTag(const std::string& tag, const bool& store, const bool& noGaps,
                    const std::string& path, const std::string& file, std::vector<int>& samplesizes,
                    HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                    std::vector<std::vector<double>>& snpositions, int& pref) {
  std::vector<FastaRecord> records;
  if (!readRecords(path, file, records)) return false;
  // Headers are matched in lower case, so the tag is too.
  const std::string lowerTag = toLower(tag);
  std::array<std::vector<const FastaRecord*>, 2> pops;
  for (const FastaRecord& record : records)
    pops[toLower(record.header).find(lowerTag) != std::string::npos ? 0 : 1].push_back(&record);
  const SplitRule rule{"\nERROR: The tag did not separate two populations\n", lowerTag + "\t",
                       "_" + lowerTag + ".fas", "_NON_" + lowerTag + ".fas"};
  FastaSample out{samplesizes, data, snpfreqs, snpositions};
  return codeSplitFile(pops, rule, store, noGaps, path, file, out, pref);
}

bool readFastaAlternate(const bool& store, const bool& noGaps, const std::string& path,
                        const std::string& file, std::vector<int>& samplesizes,
                        HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                        std::vector<std::vector<double>>& snpositions, int& pref) {
  std::vector<FastaRecord> records;
  if (!readRecords(path, file, records)) return false;
  std::array<std::vector<const FastaRecord*>, 2> pops;
  for (std::size_t i = 0; i < records.size(); ++i) pops[i % 2].push_back(&records[i]);
  const SplitRule rule{"\nERROR: Did not separate two populations\n", "", "_rndPop1.fas",
                       "_rndPop2_.fas"};
  FastaSample out{samplesizes, data, snpfreqs, snpositions};
  return codeSplitFile(pops, rule, store, noGaps, path, file, out, pref);
}
