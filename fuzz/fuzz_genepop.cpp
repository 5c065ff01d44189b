// Genepop files; a successful read goes on through the driver's locus filter
// and FST (options byte: the minor-allele-frequency threshold).
#include "analysis/allele_tables.hpp"
#include "fuzz_support.hpp"
#include "input/genepop_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 1);
  fuzz::writeFile("in.gen", input.parts[0]);
  std::vector<int> sizes;
  AlleleCountTable counts;
  MaxAlleleCountTable maxcounts;
  AlleleIdTable ids;
  std::vector<std::string> names;
  const bool ok = fuzz::runReader(
      [&] { return readGenepop("", "in.gen", sizes, counts, maxcounts, ids, true, names); });
  if (!ok) return 0;
  fuzz::require(!sizes.empty() && sizes.size() <= 2, "one or two populations");
  // The locus names are not compared with the loci here (the driver does).
  fuzz::checkAlleleTables(sizes.size(), counts, maxcounts, &ids, nullptr);
  fuzz::runReader([&] {
    fuzz::analyseAlleleTables(static_cast<int>(CountFormat::Genepop), input.options / 256.0, counts,
                              maxcounts, ids, names, {});
    return true;
  });
  return 0;
}
