#include "stats/outliers.hpp"

void selectFstOutliers(const std::vector<std::pair<double, double>>&, const std::vector<double>&,
                       const std::vector<std::string>&, const double&, std::vector<Outlier>& outliers) {
  outliers.clear();
}
void kmeans(std::vector<Outlier>& data, const std::vector<double>&, const double&, bool) {
  data.clear();
}
