// The upper outlier fence of an FST distribution and one-dimensional k-means.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One site of an FST distribution.
struct Outlier {
  std::string ID;       // site name
  double Pos = 0.0;     // site position
  double FST = 0.0;     // site FST
  double pval = 0.0;    // Lewontin-Krakauer p-value
  double weight = 1.0;  // set when the record is made; read by nothing
};

// The order of outliers wherever they are sorted or selected: ascending FST (a
// value without a number first), equal FST by ascending position, so that no
// result depends on how the standard library orders equal elements.
bool lessFstThenPosition(const Outlier& x, const Outlier& y);
// The same for the highest values first: descending FST, equal FST by
// ascending position.
bool higherFstThenPosition(const Outlier& x, const Outlier& y);

// Sites whose FST lies strictly above Q3 + k (Q3 - Q1); none for no site. A
// site whose FST is not a number ranks below every other and is never kept.
void selectFstOutliers(const std::vector<std::pair<double, double>>& perSnpFst,
                       const std::vector<double>& values, const std::vector<std::string>& names,
                       const double& k, std::vector<Outlier>& outliers);

// Clusters data on FST in K = limits.size() clusters; with keepTopCluster data
// becomes the records of the top cluster from the first one at or above threshold.
// Without it data keeps every record, grouped by cluster in cluster order (the
// first cluster in data order, the others by FST), and the threshold is not used.
// A record farther than limits.back() + 1 from every centroid joins the nearest.
void kmeans(std::vector<Outlier>& data, const std::vector<double>& limits,
            const double& threshold, bool keepTopCluster);
