// Two phased VCF files, separated by the file separator, read by the merging
// pair reader or (options bit 0) the lock-step pair reader.
#include "fuzz_support.hpp"
#include "input/vcf_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  fuzz::writeFile("a.vcf", input.parts[0]);
  fuzz::writeFile("b.vcf", input.parts[1]);
  fuzz::HaplotypeSample out((input.options >> 1) & 1);
  const bool lockstep = (input.options & 1) != 0;
  const bool ok = fuzz::runReader([&] {
    return lockstep ? readVcfPairLockstep("", "a.vcf", "b.vcf", out.sizes, out.rows, out.freqs,
                                          out.positions, out.pref)
                    : readVcfPhasedPair("", "a.vcf", "b.vcf", out.sizes, out.rows, out.freqs,
                                        out.positions, out.pref);
  });
  if (ok) out.check();
  return 0;
}
