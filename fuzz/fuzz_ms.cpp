// MS output, read by both MS readers. Options byte: bit 0 chooses the reader
// (one block per population, or both populations in the first block); bits
// 1-5 give the sample size (1..32), bit 6 makes the second population one
// larger and bit 7 gives a total that does not add up.
#include "fuzz_support.hpp"
#include "input/ms_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input input = fuzz::splitInput(data, size, 1);
  fuzz::writeFile("in.ms", input.parts[0]);
  const int o = input.options;
  HaplotypeMatrix rows;
  std::vector<std::vector<double>> positions;
  if ((o & 1) == 0) {
    int sample = 1 + ((o >> 1) & 31);
    if (!fuzz::runReader([&] { return readMsSamples("", "in.ms", sample, rows, positions); }))
      return 0;
    // Every block gives `sample` rows of its own site count.
    fuzz::requireFinite(positions);
    fuzz::require(rows.size() == positions.size() * static_cast<std::size_t>(sample),
                  "sample rows per block");
    for (std::size_t r = 0; r < rows.size(); ++r)
      fuzz::require(rows[r].size() == positions[r / static_cast<std::size_t>(sample)].size(),
                    "one cell per site of the block");
  } else {
    int first = 1 + ((o >> 1) & 31);
    int second = first + ((o >> 6) & 1);
    int total = first + second + ((o >> 7) & 1);
    if (!fuzz::runReader(
            [&] { return readMsTwoPops("", "in.ms", total, first, second, rows, positions); }))
      return 0;
    fuzz::require(rows.size() == static_cast<std::size_t>(total), "total rows");
    fuzz::require(positions.size() == 2 && positions[0] == positions[1], "one list per population");
    fuzz::requireFinite(positions);
    for (const BitRow& row : rows) fuzz::require(row.size() == positions[0].size(), "row length");
  }
  return 0;
}
