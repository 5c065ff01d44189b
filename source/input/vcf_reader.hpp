// Reader of two phased VCF files, one population each, merged on shared sites.
#pragma once

#include <fstream>
#include <string>
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

bool readVcfHeader(const std::string& path, const std::string& name, std::ifstream& in,
                   std::vector<std::string>& headerFields, int& nSamples);

bool readVcfRecords(std::ifstream& in, const std::string& fileName, int nSamples,
                    std::vector<VcfRecord>& out, int& chromosome);

bool readVcfPhasedPair(const std::string& path, const std::string& file1,
                       const std::string& file2, std::vector<int>& samplesizes,
                       HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref);

bool readVcfPairLockstep(const std::string& path, const std::string& file1,
                         const std::string& file2, std::vector<int>& samplesizes,
                         HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                         std::vector<std::vector<double>>& snpositions, int& pref);
