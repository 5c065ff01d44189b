// Micro-benchmarks of the kernels that dominate a run: per-site FST, LD of
// neighbouring sites, HAC values of a window, per-site allele counts, the
// site filter and the parsing of a VCF data line. The sample is random
// haplotypes of two populations (rows x sites given by the arguments).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "input/haplotypes.hpp"
#include "input/vcf_scan.hpp"
#include "stats/frequencies.hpp"
#include "stats/fst.hpp"
#include "stats/hac.hpp"
#include "stats/linkage.hpp"

namespace {

struct Sample {
  HaplotypeMatrix P;
  std::vector<int> sizes;
  std::vector<double> freq0;
};

Sample makeSample(std::size_t perPop, std::size_t sites) {
  std::mt19937_64 rng(1);
  std::bernoulli_distribution bit(0.3);
  Sample s;
  s.sizes = {static_cast<int>(perPop), static_cast<int>(perPop)};
  for (std::size_t r = 0; r < 2 * perPop; ++r) {
    BitRow row(sites);
    for (std::size_t j = 0; j < sites; ++j)
      if (bit(rng)) row.set(j);
    s.P.push_back(std::move(row));
  }
  computePopFreqs(s.P, 0, s.sizes, s.freq0);
  return s;
}

void perSiteFst(benchmark::State& state) {
  const Sample s = makeSample(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  std::vector<std::pair<double, double>> fst(static_cast<std::size_t>(state.range(1)));
  double mean = 0.0;
  for (auto _ : state) {
    computeFst(s.P, s.sizes, 0, fst.size(), fst, mean);
    benchmark::DoNotOptimize(mean);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2 * state.range(1));
}

void neighbourLd(benchmark::State& state) {
  const Sample s = makeSample(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  const std::vector<PopReference> refs = computePopReferences(s.P, s.sizes);
  std::vector<double> Dprime, r2;
  const int pop = 0;
  for (auto _ : state) {
    computeSeqDrsq(refs[0], s.P, s.sizes, pop, s.freq0, Dprime, r2);
    benchmark::DoNotOptimize(r2.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void windowHacs(benchmark::State& state) {
  const Sample s = makeSample(static_cast<std::size_t>(state.range(0)), 100000);
  const std::vector<PopReference> refs = computePopReferences(s.P, s.sizes);
  const int width = static_cast<int>(state.range(1));
  std::vector<double> hacs;
  int candidate = 5000;
  const int first = 0, rows = static_cast<int>(s.P.size());
  for (auto _ : state) {
    const int ini = candidate - width / 2, end = ini + width;
    computePopHacs(first, rows, candidate, s.P, refs[0], ini, end, hacs);
    benchmark::DoNotOptimize(hacs.data());
    candidate = candidate + 7 < 90000 ? candidate + 7 : 5000;
  }
  state.SetItemsProcessed(state.iterations() * rows);
}

void siteCounts(benchmark::State& state) {
  const Sample s = makeSample(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  for (auto _ : state) {
    std::vector<double> freqs;
    computeGlobalFreqs(s.P, freqs);
    benchmark::DoNotOptimize(freqs.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2 * state.range(1));
}

void siteFilter(benchmark::State& state) {
  const Sample s = makeSample(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  std::vector<std::size_t> kept;
  for (std::size_t j = 0; j < static_cast<std::size_t>(state.range(1)); ++j)
    if (j % 7 != 3) kept.push_back(j);
  for (auto _ : state) {
    const CellSelection selection(kept, static_cast<std::size_t>(state.range(1)));
    for (const BitRow& row : s.P) benchmark::DoNotOptimize(selection.apply(row));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2 * state.range(1));
}

// Arguments: samples, then the genotype scan (0 one by one, 1 words, 2 AVX2).
void vcfLine(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  std::mt19937 rng(2);
  std::string line = "1\t12345\tsnp1\tA\tG\t.\tPASS\t.\tGT";
  for (int s = 0; s < samples; ++s) line += std::string("\t") + char('0' + rng() % 2) + '|' + char('0' + rng() % 2);
  const auto scan = static_cast<vcf::GenotypeScan>(state.range(1));
  const bool runs = vcf::capGenotypeScan(scan) == scan;
  vcf::DataLineParser parser("bench.vcf", samples);
  vcf::capGenotypeScan(vcf::GenotypeScan::avx2);  // the parser keeps its scan
  if (!runs) {
    state.SkipWithError("the processor cannot run this genotype scan");
    return;
  }
  std::vector<std::uint64_t> a(parser.wordsPerHaplotype()), b(a.size());
  std::string work = line;
  for (auto _ : state) {
    // The parser upper-cases the fixed fields in place and positions must
    // not go down: the same line serves every iteration.
    benchmark::DoNotOptimize(parser.parse(&work[0], &work[0] + work.size(), a.data(), b.data()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}

}  // namespace

BENCHMARK(perSiteFst)->Args({500, 100000})->Args({1000, 100000});
BENCHMARK(neighbourLd)->Args({500, 100000})->Args({1000, 100000});
BENCHMARK(windowHacs)->Args({1000, 11})->Args({1000, 101})->Args({1000, 1001});
BENCHMARK(siteCounts)->Args({500, 100000})->Args({1000, 100000});
BENCHMARK(siteFilter)->Args({500, 100000})->Args({1000, 100000});
BENCHMARK(vcfLine)->ArgsProduct({{250, 500}, {0, 1, 2}});

BENCHMARK_MAIN();
