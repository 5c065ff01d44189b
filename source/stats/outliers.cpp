#include "stats/outliers.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "input/log.hpp"

namespace {

// Orders records by FST; a value without a number sorts before every number,
// which keeps the selections and sorts well defined on any input.
bool lessFst(const Outlier& x, const Outlier& y) {
  if (std::isnan(x.FST)) return !std::isnan(y.FST);
  if (std::isnan(y.FST)) return false;
  return x.FST < y.FST;
}

}  // namespace

bool lessFstThenPosition(const Outlier& x, const Outlier& y) {
  if (lessFst(x, y)) return true;
  if (lessFst(y, x)) return false;
  return x.Pos < y.Pos;
}

bool higherFstThenPosition(const Outlier& x, const Outlier& y) {
  if (lessFst(y, x)) return true;
  if (lessFst(x, y)) return false;
  return x.Pos < y.Pos;
}

void selectFstOutliers(const std::vector<std::pair<double, double>>& perSnpFst,
                       const std::vector<double>& values, const std::vector<std::string>& names,
                       const double& k, std::vector<Outlier>& outliers) {
  const std::size_t n = perSnpFst.size();
  assert(values.size() == n && names.size() == n);
  std::vector<Outlier> records(n);
  for (std::size_t i = 0; i < n; ++i) {
    records[i].ID = names[i];
    records[i].Pos = values[i];
    records[i].FST = perSnpFst[i].first;
    records[i].pval = perSnpFst[i].second;
    records[i].weight = 1.0;
  }
  outliers.clear();
  outliers.reserve(static_cast<std::size_t>(static_cast<double>(n) * 0.25));
  if (n == 0) return;

  const std::size_t q1 = n / 4;
  const std::size_t q3 = n / 2 + n / 4;
  if (!std::is_sorted(records.begin(), records.end(), lessFst)) {
    std::nth_element(records.begin(), records.begin() + q1, records.end(), lessFst);
    // The second selection leaves the first quartile's record where it is.
    if (q3 > q1)
      std::nth_element(records.begin() + q1 + 1, records.begin() + q3, records.end(), lessFst);
  }
  const double Q1 = records[q1].FST;
  const double Q3 = records[q3].FST;
  const double fence = Q3 + k * (Q3 - Q1);
  for (std::size_t i = 1; i < n; ++i)
    if (records[i].FST > fence) outliers.push_back(records[i]);
}

void kmeans(std::vector<Outlier>& data, const std::vector<double>& limits,
            const double& threshold, bool keepTopCluster) {
  const int K = static_cast<int>(limits.size());
  if (K <= 1) {
    writeLog(K, "K equal or less than 1 in kmeans", "kmeans.log");
    endProcess(1);
  }
  const std::size_t n = data.size();
  if (n == 0) return;
  // Records of one FST value (fixed differences, say) would start every
  // centroid at that value and all join the lowest cluster: like a single
  // record, they are one cluster, the top one.
  const double firstFst = data[0].FST;
  if (std::all_of(data.begin(), data.end(),
                  [firstFst](const Outlier& o) { return o.FST == firstFst; })) {
    if (keepTopCluster && threshold > firstFst) data.clear();
    return;
  }
  const std::size_t k = n >= static_cast<std::size_t>(K) ? static_cast<std::size_t>(K) : n;

  std::vector<double> centroids(k);
  centroids[0] = data[0].FST;
  centroids[k - 1] = data[n - 1].FST;
  for (std::size_t i = 1; i + 1 < k; ++i) centroids[i] = data[i].FST;
  const double maxDist = limits.back() + 1.0;

  // Clusters hold record indices; the records move once, at the end.
  std::vector<std::vector<std::size_t>> clusters(k);
  bool changed = true;
  while (changed) {
    for (auto& cluster : clusters) cluster.clear();
    for (std::size_t r = 0; r < n; ++r) {
      const double fst = data[r].FST;
      double best = maxDist;
      std::size_t chosen = k;  // none closer than maxDist yet
      std::size_t nearest = 0;
      double nearestDist = std::fabs(fst - centroids[0]);
      for (std::size_t i = 0; i < k; ++i) {
        const double d = std::fabs(fst - centroids[i]);
        if (d < nearestDist) {
          nearest = i;
          nearestDist = d;
        }
        if (d < best) {
          chosen = i;
          if (fst == centroids[i]) break;
          best = d;
        }
      }
      // A record farther than maxDist from every centroid still joins the
      // nearest one (cluster 0 when no distance is a number).
      clusters[chosen < k ? chosen : nearest].push_back(r);
    }
    changed = false;
    for (std::size_t i = 0; i < k; ++i) {
      if (clusters[i].empty()) continue;
      double sum = 0.0;
      for (std::size_t r : clusters[i]) sum += data[r].FST;
      const double mean = sum / static_cast<double>(clusters[i].size());
      if (std::fabs(centroids[i] - mean) > 1e-6) {
        centroids[i] = mean;
        changed = true;
      }
    }
  }

  for (std::size_t i = 1; i < k; ++i)
    std::sort(clusters[i].begin(), clusters[i].end(), [&](std::size_t x, std::size_t y) {
      return lessFstThenPosition(data[x], data[y]);
    });

  std::vector<Outlier> kept;
  if (keepTopCluster) {
    const std::vector<std::size_t>& top = clusters[k - 1];
    const auto firstKept = std::find_if(top.begin(), top.end(),
                                        [&](std::size_t r) { return data[r].FST >= threshold; });
    for (auto it = firstKept; it != top.end(); ++it) kept.push_back(std::move(data[*it]));
  } else {
    for (const auto& cluster : clusters)
      for (std::size_t r : cluster) kept.push_back(std::move(data[r]));
  }
  data.swap(kept);
}
