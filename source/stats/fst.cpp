#include "stats/fst.hpp"

#include <cmath>
#include <string>

#include "input/log.hpp"
#include "input/text.hpp"
#include "stats/frequencies.hpp"

namespace {

// Rows of one population as used by the diversity sums.
struct PopRows {
  std::size_t first = 0;
  std::size_t count = 0;
  std::vector<int> setCells;  // per site, rows of the range carrying allele 1
};

// Ends the run when the matrix does not hold the rows the sample sizes name:
// reading them would go past the last row.
[[noreturn]] void missingRowsExit(const HaplotypeMatrix& P) {
  valueExit(P.size(), "FSTdT_Error5.log", 1);
}

[[noreturn]] void rowLengthExit(std::size_t L, std::size_t L2) {
  libraryExit(2, "L1 = " + toString(L) + "; L2 = " + toString(L2) + "\n", "FSTdT_Error2.log");
}

}  // namespace

void computeFst(const HaplotypeMatrix& P, const std::vector<int>& sizes, std::size_t ini,
                std::size_t end, std::vector<std::pair<double, double>>& perSnpFst, double& fst) {
  const std::size_t npop = sizes.size();
  const std::size_t R = P.size();
  if (npop == 0) valueExit(R, "FSTdT_Error1.log", 1);
  if (npop == 1) {
    writeValueToFile(R, "FSTdT.log");
    return;
  }

  // Row offset of every population; each first row must exist before its
  // length can be compared.
  std::vector<long long> offsets(npop, 0);
  for (std::size_t p = 1; p < npop; ++p) offsets[p] = offsets[p - 1] + sizes[p - 1];
  if (R == 0) missingRowsExit(P);
  for (std::size_t p = 1; p < npop; ++p)
    if (offsets[p] < 0 || static_cast<std::size_t>(offsets[p]) >= R) missingRowsExit(P);

  const std::size_t L = P[0].size();
  for (std::size_t p = 1; p < npop; ++p) {
    const std::size_t L2 = P[static_cast<std::size_t>(offsets[p])].size();
    if (L2 != L) rowLengthExit(L, L2);
  }

  if (end > L) end = L;
  if (end <= ini) valueExit(ini, "FSTdT_Error3.log", 3);
  const std::size_t nsnps = end - ini;
  if (nsnps > perSnpFst.size()) valueExit(nsnps - perSnpFst.size(), "FSTdT_Error4.log", 4);

  // Rows of every population and their allele-1 counts per site. A pair of
  // rows differs at a site exactly when one carries allele 1 and the other
  // not, so c set cells among n rows give c (n - c) differing pairs.
  std::vector<PopRows> pops(npop);
  for (std::size_t p = 0; p < npop; ++p) {
    const int n = sizes[p];
    if (n < 2) valueExit(n, "Theta_Pi_Error.log", 1);
    PopRows& rows = pops[p];
    rows.count = static_cast<std::size_t>(n);
    rows.first = static_cast<std::size_t>(offsets[p]);
    // A matrix shorter than the population: its first rows stand in for it.
    if (R < rows.count) {
      rows.first = 0;
      rows.count = R;
    }
    if (rows.first + rows.count > R) missingRowsExit(P);
    if (P[rows.first].empty()) valueExit(2, "Theta_Pi_Error.log", 2);
    for (std::size_t r = rows.first; r < rows.first + rows.count; ++r)
      if (P[r].size() != L) rowLengthExit(L, P[r].size());
    rows.setCells = countSetCells(P, rows.first, rows.count, L);
  }
  for (std::size_t a = 0; a + 1 < npop; ++a)
    if (a >= R || P[a].empty()) valueExit(1, "ThetaPia_Error.log", 1);

  const double npopD = static_cast<double>(npop);
  double sumHw = 0.0;
  double sumHt = 0.0;
  for (std::size_t s = 0; s < nsnps; ++s) {
    const std::size_t j = ini + s;
    double sumPi = 0.0;
    for (const PopRows& rows : pops) {
      const long long n = static_cast<long long>(rows.count);
      const long long c = rows.setCells[j];
      const long long pairs = n * (n - 1) / 2;
      sumPi += static_cast<double>(c * (n - c)) / static_cast<double>(pairs);
    }
    const double Hw = sumPi / npopD;

    double sumD = 0.0;
    for (std::size_t a = 0; a < npop; ++a)
      for (std::size_t b = a + 1; b < npop; ++b) {
        const long long na = static_cast<long long>(pops[a].count);
        const long long nb = static_cast<long long>(pops[b].count);
        const long long ca = pops[a].setCells[j];
        const long long cb = pops[b].setCells[j];
        const long long differing = ca * (nb - cb) + (na - ca) * cb;
        const long long divisor = static_cast<long long>(sizes[a]) * sizes[b];
        sumD += static_cast<double>(differing) / static_cast<double>(divisor);
      }
    const double Ht = Hw / npopD + 2.0 * sumD / static_cast<double>(npop * npop);

    double siteFst = 0.0;
    if (Ht > 0.0) {
      const double value = 1.0 - Hw / Ht;
      if (value >= 0.0) siteFst = value;
    }
    perSnpFst[s].first = siteFst;
    sumHw += Hw;
    sumHt += Ht;
  }
  fst = 1.0 - sumHw / sumHt;
  if (fst < 0.0 || std::isnan(fst)) fst = 0.0;
}
