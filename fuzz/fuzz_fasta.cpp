// FASTA alignments, read by the four FASTA readers. Options byte: bits 0-1
// choose the reader (halves, two files, tag split, alternation), bit 2 drops
// gapped sites, bit 3 stores the split populations. Two files are separated
// by the file separator.
#include "fuzz_support.hpp"
#include "input/fasta_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  const int o = input.options;
  const bool noGaps = (o & 4) != 0;
  const bool store = (o & 8) != 0;
  fuzz::writeFile("in.fa", input.parts[0]);
  fuzz::HaplotypeSample out((o >> 4) & 1);
  bool ok = false;
  switch (o & 3) {
    case 0:
      ok = fuzz::runReader([&] {
        return readFastaHalves(noGaps, "", "in.fa", out.sizes, out.rows, out.freqs, out.positions);
      });
      break;
    case 1:
      fuzz::writeFile("in2.fa", input.parts[1]);
      ok = fuzz::runReader([&] {
        return readFastaTwoFiles(noGaps, "", "in.fa", "in2.fa", out.sizes, out.rows, out.freqs,
                                 out.positions, out.pref);
      });
      break;
    case 2:
      ok = fuzz::runReader([&] {
        return readFastaByTag("pop", store, noGaps, "", "in.fa", out.sizes, out.rows, out.freqs,
                              out.positions, out.pref);
      });
      break;
    default:
      ok = fuzz::runReader([&] {
        return readFastaAlternate(store, noGaps, "", "in.fa", out.sizes, out.rows, out.freqs,
                                  out.positions, out.pref);
      });
      break;
  }
  if (ok) out.check();
  return 0;
}
