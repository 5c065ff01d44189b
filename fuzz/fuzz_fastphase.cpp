// Two fastPHASE output files separated by the file separator. Options bit 0
// reads the second haplotype of every individual instead of the first.
#include "fuzz_support.hpp"
#include "input/fastphase_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  fuzz::writeFile("a.out", input.parts[0]);
  fuzz::writeFile("b.out", input.parts[1]);
  fuzz::HaplotypeSample out((input.options >> 1) & 1);
  bool useFirst = (input.options & 1) == 0;
  const bool ok = fuzz::runReader([&] {
    return readFastPhaseFiles("", "a.out", "b.out", out.sizes, out.rows, out.freqs, out.positions,
                              out.pref, useFirst);
  });
  if (ok) out.check();
  return 0;
}
