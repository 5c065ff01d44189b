// Shared pieces of the reader fuzz targets.
//
// Every target takes one fuzz input as one or more files: the readers take
// file names, so each input is written to files in a private folder under
// the system's temporary folder (TMPDIR, else /tmp), which is also the working
// directory (the fatal path writes its error log there) and is removed when
// the fuzzer ends or is stopped by SIGINT or SIGTERM. Fatal exits throw FatalExit, which ends one input, not the fuzzer.
// Standard output goes to /dev/null (unless PRAVOLIN_FUZZ_STDOUT is set): the
// readers report on it.
//
// After a successful read a target checks what the reader hands on; a broken
// invariant aborts, which the fuzzer reports as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/allele_counts.hpp"
#include "input/haplotypes.hpp"
#include "input/log.hpp"

namespace fuzz {

// The byte sequence that separates the files of a multi-file input.
extern const std::string fileSeparator;

// Prepares the process once (folder, standard output, fatal exits).
void initialize();

// The input: its first byte (0 when empty) chooses the reader's options, the
// rest is split at fileSeparator into `files` parts (the last part takes the
// rest, missing parts are empty).
struct Input {
  std::uint8_t options = 0;
  std::vector<std::string> parts;
};
Input splitInput(const std::uint8_t* data, std::size_t size, std::size_t files);

// Writes content to name in the working folder, replacing it.
void writeFile(const std::string& name, const std::string& content);

// Runs read(); a fatal exit ends the input, but must carry a status in 1..255.
// Returns read()'s result, false after a fatal exit.
template <typename Read>
bool runReader(Read read) {
  try {
    return read();
  } catch (const FatalExit& e) {
    if (e.status < 1 || e.status > 255) __builtin_trap();
  }
  return false;
}

// Aborts with a message on standard error when ok is false.
void require(bool ok, const char* what);

// Every position must be a finite number.
void requireFinite(const std::vector<std::vector<double>>& positions);

// What a haplotype reader fills; pref starts as given.
struct HaplotypeSample {
  explicit HaplotypeSample(int pref) : pref(pref) {}
  std::vector<int> sizes;
  HaplotypeMatrix rows;
  std::vector<std::vector<double>> freqs{2}, positions{2};
  int pref;

  // Checks two populations: sizes, rows of one length, positions and
  // frequencies per site, and each frequency equal to the share of the
  // population's rows coded 1.
  void check() const;
};

// Checks allele-count tables of `pops` populations: shapes, counts, largest
// counts and, when given, allele codes and one locus name per locus.
void checkAlleleTables(std::size_t pops, const AlleleCountTable& counts,
                       const MaxAlleleCountTable& maxcounts, const AlleleIdTable* ids,
                       const std::vector<std::string>* locnames);

// Runs what the driver does next with allele-count tables (the locus filter,
// heterozygosities and FST) and checks its results. format is a CountFormat;
// snpositions are the reader's positions (PLINK), else empty.
void analyseAlleleTables(int format, double maf, AlleleCountTable& counts,
                         MaxAlleleCountTable& maxcounts, AlleleIdTable& ids,
                         std::vector<std::string>& locnames,
                         std::vector<std::vector<double>> snpositions);

}  // namespace fuzz
