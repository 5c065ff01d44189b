// BayeScan allele-count files; a successful read goes on through the driver's
// locus filter and FST (options byte: the minor-allele-frequency threshold).
#include "analysis/allele_tables.hpp"
#include "fuzz_support.hpp"
#include "input/bayescan_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 1);
  fuzz::writeFile("in.bs", input.parts[0]);
  int npops = 2;
  AlleleCountTable counts;
  MaxAlleleCountTable maxcounts;
  AlleleIdTable ids;
  std::vector<std::string> names;
  const bool ok = fuzz::runReader(
      [&] { return readBayeScan("", "in.bs", npops, counts, maxcounts, true, names); });
  if (!ok) return 0;
  fuzz::checkAlleleTables(2, counts, maxcounts, nullptr, &names);
  fuzz::runReader([&] {
    fuzz::analyseAlleleTables(static_cast<int>(CountFormat::BayeScan), input.options / 256.0,
                              counts, maxcounts, ids, names, {});
    return true;
  });
  return 0;
}
