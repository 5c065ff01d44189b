// Two phased VCF files, separated by the file separator, read by the merging
// pair reader or (options bit 0) the lock-step pair reader. Options bit 1 is
// the starting reference population; bits 2 and 3 cap the genotype scan: 0
// the widest the processor runs, 1 the word scan, 2 and 3 one by one.
#include "fuzz_support.hpp"
#include "input/vcf_reader.hpp"
#include "input/vcf_scan.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  fuzz::writeFile("a.vcf", input.parts[0]);
  fuzz::writeFile("b.vcf", input.parts[1]);
  fuzz::HaplotypeSample out((input.options >> 1) & 1);
  const bool lockstep = (input.options & 1) != 0;
  const int cap = (input.options >> 2) & 3;
  vcf::capGenotypeScan(cap == 0   ? vcf::GenotypeScan::avx2
                       : cap == 1 ? vcf::GenotypeScan::words
                                  : vcf::GenotypeScan::oneByOne);
  const bool ok = fuzz::runReader([&] {
    return lockstep ? readVcfPairLockstep("", "a.vcf", "b.vcf", out.sizes, out.rows, out.freqs,
                                          out.positions, out.pref)
                    : readVcfPhasedPair("", "a.vcf", "b.vcf", out.sizes, out.rows, out.freqs,
                                        out.positions, out.pref);
  });
  if (ok) out.check();
  return 0;
}
