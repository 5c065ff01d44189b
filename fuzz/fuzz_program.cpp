// The whole program on fuzzed input files: the readers, then the pooling, the
// EOS test, the candidates, windows and JHac test, and the written reports.
//
// Options byte 1: bits 0-2 the format (MS, FASTA, VCF, HapMap, fastPHASE,
// BayeScan, Genepop, PLINK), bits 3-4 a variant of it (second MS sample,
// FASTA reader, HapMap two files, PLINK numeric alleles), bits 5-7 the sample
// size. Options byte 2: bit 0 -doEOS, bit 1 -useblocks 0, bits 2-3 the
// window (estimated, 3, 5 or 11 sites), bits 4-5 the maf (0.01, 0.05, 0.2,
// 0), bit 6 -minwin 3, bit 7 -onlyrsidInfo (with bit 1: a user site). The
// rest holds up to two files, separated by the file separator.
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/driver.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input = fuzz::splitInput(data, size, 2);
  const int o1 = input.options;
  int o2 = 0;
  if (!input.parts[0].empty()) {
    o2 = static_cast<unsigned char>(input.parts[0][0]);
    input.parts[0].erase(0, 1);
  }
  const int variant = (o1 >> 3) & 3;
  const std::string sample = std::to_string(3 + 2 * ((o1 >> 5) & 7));
  std::vector<std::string> args{"pravolin", "-fixseed", "1", "-input", "a.txt"};
  const auto add = [&args](std::initializer_list<const char*> words) {
    args.insert(args.end(), words.begin(), words.end());
  };
  bool second = false;
  switch (o1 & 7) {
    case 0:
      args.insert(args.end(), {"-sample", sample});
      if (variant & 1) args.insert(args.end(), {"-sample2", std::to_string(3 + variant)});
      break;
    case 1:
      add({"-format", "FASTA"});
      if (variant == 1) add({"-input2", "b.txt"}), second = true;
      if (variant == 2) add({"-tag", "pop"});
      if (variant == 3) add({"-tag", "rnd0"});
      break;
    case 2:
      add({"-format", "VCF", "-input2", "b.txt"});
      second = true;
      break;
    case 3:
      add({"-format", "HM"});
      if (variant & 1) add({"-input2", "b.txt", "-singlepopfile", "1"}), second = true;
      break;
    case 4:
      add({"-format", "FP", "-input2", "b.txt"});
      second = true;
      break;
    case 5:
      args.insert(args.end(), {"-format", "BS", "-sample", sample});
      break;
    case 6:
      add({"-format", "GP"});
      break;
    default:
      add({"-format", (variant & 1) ? "PL2" : "PL"});
      break;
  }
  if (o2 & 1) add({"-doEOS", "1"});
  if (o2 & 2) add({"-useblocks", "0"});
  const char* windows[] = {"0", "3", "5", "11"};
  add({"-window", windows[(o2 >> 2) & 3]});
  const char* mafs[] = {"0.01", "0.05", "0.2", "0"};
  add({"-maf", mafs[(o2 >> 4) & 3]});
  if (o2 & 64) add({"-minwin", "3"});
  if (o2 & 128) {
    if (o2 & 2)
      add({"-selectives", "2"});
    else
      add({"-onlyrsidInfo", "1"});
  }

  if ((o1 & 7) == 7) {
    fuzz::writeFile("a.txt.map", input.parts[0]);
    fuzz::writeFile("a.txt.ped", input.parts[1]);
  } else {
    fuzz::writeFile("a.txt", input.parts[0]);
    if (second) fuzz::writeFile("b.txt", input.parts[1]);
  }

  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  fuzz::runReader([&] {
    fuzz::require(runPravolin(static_cast<int>(argv.size()), argv.data()) == 0,
                  "a completed execution returns 0");
    return true;
  });
  // Result files are opened for appending: each input starts afresh.
  std::error_code ignored;
  std::filesystem::remove_all("Pravis_Results", ignored);
  return 0;
}
