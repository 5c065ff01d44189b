// Hand-over of a coded sample to the caller's tables.
#include "input/coded_sample.hpp"

#include <utility>

void CodedSample::moveTo(std::vector<int>& samplesizes, HaplotypeMatrix& data,
                         std::vector<std::vector<double>>& snpfreqs,
                         std::vector<std::vector<double>>& snpositions, int& pref) {
  samplesizes.assign(sizes, sizes + 2);
  data = std::move(rows);
  snpfreqs.resize(2);
  snpositions.resize(2);
  snpositions[0] = positions;
  snpositions[1] = std::move(positions);
  snpfreqs[0] = std::move(freqs[0]);
  snpfreqs[1] = std::move(freqs[1]);
  pref = reference;
}
