// Phased HapMap tables: one file split in halves, or (options bit 0) two
// files separated by the file separator.
#include "fuzz_support.hpp"
#include "input/hapmap_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  const bool twoFiles = (input.options & 1) != 0;
  fuzz::writeFile("a.hm", input.parts[0]);
  if (twoFiles) fuzz::writeFile("b.hm", input.parts[1]);
  fuzz::HaplotypeSample out((input.options >> 1) & 1);
  RsidMap names;
  const bool ok = fuzz::runReader([&] {
    return readHapMapPhased("", "a.hm", "b.hm", twoFiles, out.sizes, out.rows, out.freqs,
                            out.positions, names, out.pref);
  });
  if (!ok) return 0;
  out.check();
  for (double position : out.positions[0])
    fuzz::require(names.count(position) == 1, "every site has a name");
  return 0;
}
