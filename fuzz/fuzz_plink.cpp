// A PLINK map file and a ped file separated by the file separator, read with
// nucleotide alleles or (options bit 0) numeric alleles; a successful read
// goes on through the driver's locus filter and FST.
#include "analysis/allele_tables.hpp"
#include "fuzz_support.hpp"
#include "input/plink_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 2);
  fuzz::writeFile("in.map", input.parts[0]);
  fuzz::writeFile("in.ped", input.parts[1]);
  const bool numeric = (input.options & 1) != 0;
  int npops = 2;
  std::vector<std::vector<double>> positions;
  std::vector<int> sizes;
  AlleleCountTable counts;
  MaxAlleleCountTable maxcounts;
  AlleleIdTable ids;
  std::vector<std::string> names;
  const bool ok = fuzz::runReader([&] {
    return numeric ? readPlinkNumeric("", "in.map", "in.ped", npops, positions, sizes, counts,
                                      maxcounts, ids, true, names)
                   : readPlinkNucleotide("", "in.map", "in.ped", npops, positions, sizes, counts,
                                         maxcounts, ids, true, names);
  });
  if (!ok) return 0;
  fuzz::require(sizes.size() == 2 && sizes[0] > 0 && sizes[1] > 0, "two populations");
  fuzz::require(positions.size() == 2 && positions[0].size() == counts.size(),
                "one position per locus");
  fuzz::requireFinite(positions);
  fuzz::checkAlleleTables(2, counts, maxcounts, &ids, &names);
  const double maf = (input.options >> 1) / 128.0;
  fuzz::runReader([&] {
    fuzz::analyseAlleleTables(
        static_cast<int>(numeric ? CountFormat::PlinkNumeric : CountFormat::PlinkNucleotide), maf,
        counts, maxcounts, ids, names, positions);
    return true;
  });
  return 0;
}
