// Two phased VCF files, separated by the file separator, read by the merging
// pair reader or (options bit 0) the lock-step pair reader.
#include "fuzz_support.hpp"
#include "input/vcf_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  fuzz::writeFile("a.vcf", input.parts[0]);
  fuzz::writeFile("b.vcf", input.parts[1]);
  std::vector<int> sizes;
  HaplotypeMatrix rows;
  std::vector<std::vector<double>> freqs(2), positions(2);
  int pref = (input.options >> 1) & 1;
  const bool lockstep = (input.options & 1) != 0;
  const bool ok = fuzz::runReader([&] {
    return lockstep ? readVcfPairLockstep("", "a.vcf", "b.vcf", sizes, rows, freqs, positions, pref)
                    : readVcfPhasedPair("", "a.vcf", "b.vcf", sizes, rows, freqs, positions, pref);
  });
  if (ok) fuzz::checkHaplotypeSample(sizes, rows, freqs, positions, pref);
  return 0;
}
