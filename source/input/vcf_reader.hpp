// Reader of two phased VCF files, one population each, merged on shared sites.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "input/haplotypes.hpp"

// One accepted data line of a VCF file.
struct VcfRecord {
  int chrom = 0;
  double pos = 0.0;
  std::string id;
  std::string ref;
  std::string alt;
  std::vector<char> hapA;  // allele left of the bar, per sample ('0' or '1')
  std::vector<char> hapB;  // allele right of the bar, per sample
};

// Opens path + name and reads its header line: headerFields are its fields,
// nSamples the number of fields after FORMAT. False (after the opening
// messages) when the file cannot be opened or ends before its header line; a
// faulty header, or one without samples, ends the process.
bool readVcfHeader(const std::string& path, const std::string& name, std::ifstream& in,
                   std::vector<std::string>& headerFields, int& nSamples);
// The same, also giving the line number of the header line in the file.
bool readVcfHeader(const std::string& path, const std::string& name, std::ifstream& in,
                   std::vector<std::string>& headerFields, int& nSamples,
                   std::size_t& headerLine);

// Reads the data lines that follow the header line (line headerLine of the
// file, which the messages of faulty lines count from) and appends one record
// per line to out; chromosome is the number of their CHROM (0 when it is no
// number). False when out stays empty. A faulty line ends the process.
bool readVcfRecords(std::ifstream& in, const std::string& fileName, int nSamples,
                    std::vector<VcfRecord>& out, int& chromosome, std::size_t headerLine);
// The same, also giving the CHROM text (upper-cased) that all lines share.
bool readVcfRecords(std::ifstream& in, const std::string& fileName, int nSamples,
                    std::vector<VcfRecord>& out, int& chromosome, std::string& chromName,
                    std::size_t headerLine);

// The alleles two records name at one position, from their REF and ALT texts
// (upper-cased): each record's REF and the first allele of its ALT list (the
// allele its genotypes call 1); "." names none. Two records are one
// biallelic site only when they name two alleles at most.
int pairAlleleCount(std::string_view ref1, std::string_view alt1, std::string_view ref2,
                    std::string_view alt2);

// How two records at one position pair up, from the alleles they name (as
// pairAlleleCount counts them). A record with a REF and ALT "." (a
// monomorphic record) takes as its ALT the one allele of the other record
// that it lacks: A>. against G>. is A>G against G>A, a fixed difference.
enum class AllelePairing {
  unshared,  // no allele in common
  kept,      // each population codes its own allele 1
  swapped,   // the allele they share is REF in one file and ALT in the other:
             // the population that is not pref codes its allele 0, so that
             // the same allele is coded 1 in both
};

AllelePairing pairAlleles(std::string_view ref1, std::string_view alt1, std::string_view ref2,
                          std::string_view alt2);

// Why a pair read failed: the file (0 for file1, 1 for file2) and what it
// lacks, or file -1 and no cause when the pair as a whole failed (equal
// names, no common site, an exception), which the reader has reported.
struct VcfPairFailure {
  int file = -1;
  std::string cause;
};

// Reads file1 (population 0) and file2 (population 1), keeps the sites that
// both hold at the same position with an allele in common and two alleles at
// most (the other positions of both files are counted in one warning), and fills
// the sample: two rows per individual, the first haplotypes of a file's
// individuals before their second haplotypes. pref becomes the file with more
// individuals (unchanged on a tie); the alleles are coded as pairAlleles
// says. False when the names are equal, a file cannot be opened or holds no
// header line or no data line (failure says which), or no site is common. A
// position listed twice in one file ends the process.
bool readVcfPhasedPair(const std::string& path, const std::string& file1, const std::string& file2,
                       std::vector<int>& samplesizes, HaplotypeMatrix& data,
                       std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref,
                       VcfPairFailure& failure);
bool readVcfPhasedPair(const std::string& path, const std::string& file1, const std::string& file2,
                       std::vector<int>& samplesizes, HaplotypeMatrix& data,
                       std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref);

// Like readVcfPhasedPair, for two files that must hold the same sites in the
// same order: any difference in chromosome, position or number of sites ends
// the process. Every site is kept; the alleles are coded as pairAlleles says.
bool readVcfPairLockstep(const std::string& path, const std::string& file1,
                         const std::string& file2, std::vector<int>& samplesizes,
                         HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                         std::vector<std::vector<double>>& snpositions, int& pref);
