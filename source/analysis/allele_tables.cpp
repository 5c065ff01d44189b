#include "analysis/allele_tables.hpp"

#include <algorithm>
#include <cassert>
#include <iostream>

#include "analysis/pooling.hpp"
#include "input/common.hpp"

namespace {

void sortDistinct(std::vector<std::int32_t>& codes) {
  std::sort(codes.begin(), codes.end(), codeLess);
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
}

}  // namespace

template <typename Skip>
void distinctValuesExcept(const std::vector<std::vector<std::int32_t>>& rows, const Skip& skip,
                          std::vector<std::int32_t>& out) {
  std::vector<std::int32_t> work;
  std::vector<std::int32_t> row;
  for (const auto& source : rows) {
    row = source;
    sortDistinct(row);
    for (const std::int32_t code : row)
      if (static_cast<Skip>(static_cast<std::uint32_t>(code)) != skip) work.push_back(code);
  }
  sortDistinct(work);
  out.swap(work);
}

template void distinctValuesExcept<std::int32_t>(const std::vector<std::vector<std::int32_t>>&,
                                                 const std::int32_t&, std::vector<std::int32_t>&);
template void distinctValuesExcept<std::uint64_t>(const std::vector<std::vector<std::int32_t>>&,
                                                  const std::uint64_t&, std::vector<std::int32_t>&);

namespace {

constexpr int expectedPopulations = 2;

bool isPlink(CountFormat format) {
  return format == CountFormat::PlinkNucleotide || format == CountFormat::PlinkNumeric;
}

// Single-precision expected heterozygosity within one population:
// 1 - sum of (c / n)^2 over its allele counts c, n its allele copies.
float homozygosity(const std::vector<float>& counts, float copies) {
  float s = 0.0f;
  for (const float c : counts) {
    const float q = c / copies;
    s += q * q;
  }
  return s;
}

// Expected heterozygosity over the pooled populations of a PLINK or Genepop
// locus: alleles matched by their codes.
double pooledHeterozygosityByCode(CountFormat format, const std::vector<std::vector<float>>& counts,
                                  const std::vector<std::vector<std::int32_t>>& ids, float total) {
  std::vector<std::int32_t> codes;
  if (format == CountFormat::Genepop)
    distinctValuesExcept(ids, std::uint64_t{0}, codes);
  else
    distinctValuesExcept(
        ids, format == CountFormat::PlinkNucleotide ? std::int32_t{'N'} : std::int32_t{0}, codes);
  // Each population's codes ascend like the pooled list: one cursor each.
  std::vector<std::size_t> cursor(ids.size(), 0);
  float t = 0.0f;
  for (const std::int32_t code : codes) {
    float x = 0.0f;
    for (std::size_t p = 0; p < ids.size(); ++p) {
      const std::vector<std::int32_t>& own = ids[p];
      std::size_t& at = cursor[p];
      while (at < own.size() && codeLess(own[at], code)) ++at;
      if (at < own.size() && own[at] == code) x += counts[p][at];
    }
    x = x / total;
    t += x * x;
  }
  return static_cast<double>(1.0f - t);
}

// Expected heterozygosity over the pooled populations of a BayeScan locus:
// alleles matched by their place in each population's list.
double pooledHeterozygosityByPlace(const std::vector<std::vector<float>>& counts, float total) {
  std::size_t alleles = 0;
  for (const auto& own : counts) alleles = std::max(alleles, own.size());
  float t = 0.0f;
  for (std::size_t a = 0; a < alleles; ++a) {
    double x = 0.0;
    for (const auto& own : counts)
      if (own.size() > a) x += own[a];
    x = x / static_cast<double>(total);
    t = static_cast<float>(static_cast<double>(t) + x * x);
  }
  return static_cast<double>(1.0f - t);
}

// FST of a retained locus from its heterozygosities, in [0, 1]; 0 where it is
// undefined (no pooled diversity: one allele in both populations).
double locusFst(const std::vector<std::vector<double>>& hs, std::size_t k, double ht) {
  if (!(ht > 0.0)) return 0.0;
  float h = 0.0f;
  for (const auto& own : hs) h = static_cast<float>(static_cast<double>(h) + own[k]);
  h = h / static_cast<float>(hs.size());
  double fst = 1.0 - static_cast<double>(h) / ht;
  if (!(fst > 0.0)) fst = 0.0;  // also when not a number
  if (fst > 1.0) fst = 1.0;
  return static_cast<double>(static_cast<float>(fst));
}

template <typename T>
void release(T& table) {
  T().swap(table);
}

// The population count (fatal when not two), one name per locus (fatal when
// fewer or more: the names would no longer be those of their loci) and the
// shapes of the tables; the position and frequency lists that
// the format fills get one list per population. Returns the population count.
std::size_t checkCountTables(CountFormat format, const std::string& inputName,
                             const AlleleCountTable& allelecounts,
                             const MaxAlleleCountTable& maxallelecounts,
                             const AlleleIdTable& alleleids,
                             const std::vector<std::string>& filelocnames,
                             std::vector<std::vector<double>>& snpositions,
                             std::vector<std::vector<double>>& snpfreqs) {
  const std::size_t loci = allelecounts.size();
  const bool plink = isPlink(format);
  const std::size_t numpops = loci > 0 ? allelecounts[0].size() : expectedPopulations;
  requirePopulationCount(inputName, numpops, expectedPopulations);
  if (filelocnames.size() != loci)
    fatalError(1, "\nERROR: In file " + inputName + "\nThe number of locus names " +
                      toString(filelocnames.size()) + " is " +
                      (filelocnames.size() < loci ? "smaller" : "larger") +
                      " than the number of loci " + toString(loci) + "\n");
  assert(maxallelecounts.size() == loci);
  assert(format == CountFormat::BayeScan || alleleids.size() == loci);
  assert(!plink || (!snpositions.empty() && snpositions[0].size() >= loci));
  // PLINK and BayeScan append frequencies, Genepop and BayeScan locus indices.
  if (format != CountFormat::Genepop && snpfreqs.size() < numpops) snpfreqs.resize(numpops);
  if (!plink && snpositions.size() < numpops) snpositions.resize(numpops);
  return numpops;
}

enum class LocusFate { Kept, CommonAllele, MissingCopies, NoCopies };

// Kept when every population holds the locus (PLINK, Genepop: fewer than n - 1
// of its 2n copies missing; BayeScan: gene copies) and its most common allele
// has a share of at most 1 - maf in each; else the reason of the first
// population that fails. Sets each population's allele copies and share of
// the commonest allele, up to that population.
LocusFate locusFate(bool bayescan, double maf, const std::vector<std::vector<float>>& counts,
                    const std::vector<float>& maxcounts, std::vector<float>& copies,
                    std::vector<float>& shares) {
  for (std::size_t p = 0; p < copies.size(); ++p) {
    float n = 0.0f;
    double exact = 0.0;  // the maf test's copies, free of single-precision rounding
    for (const float c : counts[p]) {
      n += c;
      exact += static_cast<double>(c);
    }
    copies[p] = n;
    if (!bayescan && maxcounts[p] == unusableLocus) return LocusFate::MissingCopies;
    // A population without copies has no diversity to measure (PLINK and
    // Genepop mark it unusable already).
    if (!(exact > 0.0)) return bayescan ? LocusFate::NoCopies : LocusFate::MissingCopies;
    shares[p] = maxcounts[p] / n;
    if (mostCommonAboveMaf(exact, static_cast<double>(maxcounts[p]), maf))
      return LocusFate::CommonAllele;
  }
  return LocusFate::Kept;
}

// Heterozygosities of the retained loci: Hs of each population and Ht over
// the pooled populations.
struct Heterozygosities {
  explicit Heterozygosities(std::size_t numpops) : hs(numpops) {}
  std::vector<std::vector<double>> hs;
  std::vector<double> ht;
};

void addLocusHeterozygosities(CountFormat format, const std::vector<std::vector<float>>& counts,
                              const AlleleIdTable& alleleids, std::size_t i,
                              const std::vector<float>& copies, Heterozygosities& het) {
  const bool genepop = format == CountFormat::Genepop;
  float total = 0.0f;
  for (std::size_t p = 0; p < copies.size(); ++p) {
    total += copies[p];
    const float s = homozygosity(counts[p], copies[p]);
    het.hs[p].push_back(genepop ? 1.0 - static_cast<double>(s) : static_cast<double>(1.0f - s));
  }
  if (format == CountFormat::BayeScan)
    het.ht.push_back(pooledHeterozygosityByPlace(counts, total));
  else
    het.ht.push_back(pooledHeterozygosityByCode(format, counts, alleleids[i], total));
}

// The FST of every retained locus and their mean.
void fillFstDistribution(const Heterozygosities& het,
                         std::vector<std::pair<double, double>>& fstdistrib, double& meanFst) {
  const std::size_t m = het.ht.size();
  fstdistrib.assign(m, {0.0, 0.0});
  double sum = 0.0;
  for (std::size_t k = 0; k < m; ++k) {
    fstdistrib[k].first = locusFst(het.hs, k, het.ht[k]);
    sum += fstdistrib[k].first;
  }
  meanFst = m > 0 ? sum / static_cast<double>(m) : 0.0;
}

// Whether population p has two gene copies or more at some locus.
bool hasTwoCopiesSomewhere(const AlleleCountTable& allelecounts, std::size_t p) {
  for (const auto& locus : allelecounts) {
    if (p >= locus.size()) continue;
    double copies = 0.0;
    for (const float c : locus[p]) copies += c;
    if (copies >= 2.0) return true;
  }
  return false;
}

// A file of no locus: fatal, naming it and what is needed.
[[noreturn]] void endWithoutLocus(const std::string& inputName, const std::string& need) {
  fatalError(1, "\nERROR: \n" + inputName + " has no locus: " + need + "\n");
}

}  // namespace

void requireLocusAndTwoIndividualsOrCopies(CountFormat format, const std::string& inputName,
                                           const std::vector<int>& samplesizes,
                                           const AlleleCountTable& allelecounts) {
  if (format != CountFormat::BayeScan) {
    requireTwoInEachPopulation(inputName, samplesizes, "individual");
    // Individuals that type no locus leave nothing to analyse: a run that
    // would end with empty results and status 0 fails instead.
    if (format == CountFormat::Genepop && allelecounts.empty())
      endWithoutLocus(inputName, "its individuals' lines hold no genotype, and one locus at least "
                                 "is needed");
    return;
  }
  // Without a locus no population has gene copies to measure.
  if (allelecounts.empty())
    endWithoutLocus(inputName, "at least 2 gene copies per population at one locus are needed");
  for (std::size_t p = 0; p < allelecounts[0].size(); ++p)
    if (!hasTwoCopiesSomewhere(allelecounts, p))
      populationTooSmall(inputName, p, "fewer than 2 gene copies at every locus", "gene copies");
}

bool mostCommonAboveMaf(double copies, double mostCommon, double maf) {
  return (copies - mostCommon) / copies < maf;
}

std::string locusFilterLine(CountFormat format, const std::string& inputName, double maf,
                            const LocusFilterCounts& counts) {
  const std::size_t leftOut = counts.read - counts.kept;
  std::string line = "\nLoci of " + std::string(isPlink(format) ? "files " : "file ") +
                     inputName + ": " + toString(counts.read) + " read, " +
                     toString(counts.kept) + " kept, " + toString(leftOut) + " left out (" +
                     toString(counts.commonAllele) + " with a most common allele above 1 - " +
                     toString(maf) + " of the copies in a population, ";
  if (format == CountFormat::BayeScan)
    line += toString(counts.noCopies) + " without gene copies in a population";
  else
    line += toString(counts.missingCopies) +
            " with n - 1 or more of the 2n copies missing in a population of n individuals";
  return line + ")\n";
}

LocusFilterCounts buildAlleleCountSites(
    CountFormat format, const double& maf, const std::string& inputName,
    AlleleCountTable& allelecounts, MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
    std::vector<std::string>& filelocnames, std::vector<std::vector<double>>& snpositions,
    std::vector<std::vector<double>>& snpfreqs, std::vector<double>& metapopsnpositions,
    std::vector<int>& numsnps, std::vector<std::pair<double, double>>& fstdistrib,
    double& meanFst) {
  const bool plink = isPlink(format);
  const bool bayescan = format == CountFormat::BayeScan;
  const bool genepop = format == CountFormat::Genepop;
  const std::size_t numpops = checkCountTables(format, inputName, allelecounts, maxallelecounts,
                                               alleleids, filelocnames, snpositions, snpfreqs);
  std::vector<std::string> names;
  Heterozygosities het(numpops);
  std::vector<float> copies(numpops), shares(numpops);
  LocusFilterCounts tally;
  tally.read = allelecounts.size();
  metapopsnpositions.clear();
  for (std::size_t i = 0; i < allelecounts.size(); ++i) {
    const std::vector<std::vector<float>>& counts = allelecounts[i];
    assert(counts.size() == numpops && maxallelecounts[i].size() == numpops);
    assert(bayescan || alleleids[i].size() == numpops);
    if (genepop && verbose) std::cout << "\nLOCUS " << i + 1 << std::endl;
    const LocusFate fate = locusFate(bayescan, maf, counts, maxallelecounts[i], copies, shares);
    if (fate != LocusFate::Kept) {
      ++(fate == LocusFate::CommonAllele    ? tally.commonAllele
         : fate == LocusFate::MissingCopies ? tally.missingCopies
                                            : tally.noCopies);
      if (genepop && verbose) std::cout << "deleted." << std::endl;
      continue;
    }
    // The retained locus: frequency of its other alleles, position (PLINK's,
    // else its index) and name.
    for (std::size_t p = 0; p < numpops; ++p) {
      if (!genepop) snpfreqs[p].push_back(1.0 - static_cast<double>(shares[p]));
      if (!plink) snpositions[p].push_back(static_cast<double>(i));
    }
    names.push_back(filelocnames[i]);
    if (plink) metapopsnpositions.push_back(snpositions[0][i]);
    addLocusHeterozygosities(format, counts, alleleids, i, copies, het);
    if (genepop && verbose) std::cout << "read." << std::endl;
  }

  filelocnames.swap(names);
  const std::size_t m = filelocnames.size();
  assert(het.ht.size() == m);
  for (const auto& own : het.hs) assert(own.size() == m);
  assert(!plink || metapopsnpositions.size() == m);
  if (numsnps.empty()) numsnps.resize(1);
  numsnps[0] = static_cast<int>(m);
  tally.kept = m;
  // Other formats place their sites evenly in [0, 1).
  if (!plink)
    for (std::size_t k = 0; k < m; ++k)
      metapopsnpositions.push_back(
          static_cast<double>(static_cast<float>(k) / static_cast<float>(m)));
  fillFstDistribution(het, fstdistrib, meanFst);

  release(allelecounts);
  release(maxallelecounts);
  release(alleleids);
  return tally;
}
