// Small deterministic input files for end-to-end tests.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// A linear congruential generator: the same numbers on every platform.
class TestRandom {
 public:
  explicit TestRandom(std::uint64_t seed) : state_(seed * 6364136223846793005ULL + 1) {}
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  double uniform() { return next() / 2147483648.0; }

 private:
  std::uint64_t state_;
};

// MS output with one block per population (read with -sample n): the same
// sites in both blocks; population 1's allele-1 frequency at a site is
// freq1, population 2's is freq2 (with some noise).
inline std::string msTwoBlocks(int sites, int n, std::uint64_t seed, double shift = 0.0) {
  TestRandom rnd(seed);
  std::vector<double> positions;
  std::vector<double> f1, f2;
  for (int s = 0; s < sites; ++s) {
    positions.push_back((s + 0.5) / sites);
    const double f = 0.1 + 0.8 * rnd.uniform();
    f1.push_back(f);
    double g = f + shift * (rnd.uniform() - 0.5) * 2.0;
    if (g < 0.05) g = 0.05;
    if (g > 0.95) g = 0.95;
    f2.push_back(g);
  }
  std::ostringstream text;
  text << "ms " << 2 * n << " 2 -t 10\n1 2 3\n";
  for (int pop = 0; pop < 2; ++pop) {
    text << "\n//\nsegsites: " << sites << "\npositions:";
    for (double p : positions) text << " " << p;
    text << "\n";
    // Haplotypes drawn in linked blocks: a few founder haplotypes per population.
    std::vector<std::string> founders;
    for (int k = 0; k < 4; ++k) {
      std::string h;
      for (int s = 0; s < sites; ++s)
        h += rnd.uniform() < (pop == 0 ? f1[s] : f2[s]) ? '1' : '0';
      founders.push_back(h);
    }
    for (int i = 0; i < n; ++i) {
      std::string h = founders[rnd.next() % 4];
      for (int s = 0; s < sites; ++s)
        if (rnd.uniform() < 0.02) h[s] = h[s] == '1' ? '0' : '1';
      text << h << "\n";
    }
  }
  return text.str();
}

// Two populations over `sites` sites, `haplotypes` haplotypes each: population
// 1 mostly A, population 2 mostly G, written in each haplotype format.
struct TwoPopulations {
  int sites = 12;
  int haplotypes = 10;  // per population
  long long firstPosition = 100;  // VCF position of site 0
  long long step = 100;           // VCF positions between neighbouring sites

  // Base of haplotype i of population pop at site s.
  char base(int pop, int i, int s) const {
    const bool rare = (i + s) % 5 == 0;
    return (pop == 0) == rare ? 'G' : 'A';
  }
  std::string haplotype(int pop, int i) const {
    std::string h;
    for (int s = 0; s < sites; ++s) h += base(pop, i, s);
    return h;
  }
  // Phased VCF, one sample per two haplotypes, site s at position
  // firstPosition + step s (100 (s + 1) by default).
  std::string vcf(int pop) const {
    std::string text =
        "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT";
    for (int k = 0; k < haplotypes / 2; ++k) text += "\ts" + std::to_string(k);
    text += "\n";
    for (int s = 0; s < sites; ++s) {
      text += "7\t" + std::to_string(firstPosition + step * s) + "\t.\tA\tG\t.\tPASS\t.\tGT";
      for (int k = 0; k < haplotypes / 2; ++k) {
        text += "\t";
        text += base(pop, 2 * k, s) == 'G' ? '1' : '0';
        text += "|";
        text += base(pop, 2 * k + 1, s) == 'G' ? '1' : '0';
      }
      text += "\n";
    }
    return text;
  }
  // fastPHASE output: both haplotypes of an individual are the same.
  std::string fastPhase(int pop) const {
    std::string text = "fastPHASE\nBEGIN GENOTYPES\n";
    for (int i = 0; i < haplotypes; ++i)
      text += "# id" + std::to_string(i) + "\n" + haplotype(pop, i) + "\n" + haplotype(pop, i) +
              "\n";
    return text + "END GENOTYPES\n";
  }
  std::string fasta(int pop) const {
    std::string text;
    for (int i = 0; i < haplotypes; ++i)
      text += ">h" + std::to_string(i) + "\n" + haplotype(pop, i) + "\n";
    return text;
  }
  static std::string hapMapHeader(int columns) {
    std::string text = "rsid pos";
    for (int c = 0; c < columns; ++c) text += " h" + std::to_string(c);
    return text + "\n";
  }
  // Phased HapMap table of the given populations side by side, site s named
  // rs<s> at position 1000 (s + 1).
  std::string hapMap(const std::vector<int>& pops) const {
    std::string text = hapMapHeader(haplotypes * static_cast<int>(pops.size()));
    for (int s = 0; s < sites; ++s) {
      text += "rs" + std::to_string(s) + " " + std::to_string(1000 * (s + 1));
      for (int pop : pops)
        for (int i = 0; i < haplotypes; ++i) text += std::string(" ") + base(pop, i, s);
      text += "\n";
    }
    return text;
  }
};

// One "//" block of MS output with its segsites, positions and haplotype lines.
inline std::string msBlock(const std::string& positions, const std::vector<std::string>& rows) {
  std::size_t sites = positions.empty() ? 0 : 1;
  for (char c : positions) sites += c == ' ';
  std::string text =
      "\n//\nsegsites: " + std::to_string(sites) + "\npositions: " + positions + "\n";
  for (const std::string& r : rows) text += r + "\n";
  return text;
}

// n haplotypes of the given sites copied from a few founders, so that the
// analysis finds linked sites and blocks.
inline std::vector<std::string> linkedRows(int n, int sites, std::uint64_t seed) {
  TestRandom rnd(seed);
  std::vector<std::string> founders(4);
  for (std::string& f : founders)
    for (int s = 0; s < sites; ++s) f += rnd.uniform() < 0.5 ? '1' : '0';
  std::vector<std::string> rows;
  for (int i = 0; i < n; ++i) {
    std::string h = founders[rnd.next() % 4];
    for (char& c : h)
      if (rnd.uniform() < 0.02) c = c == '1' ? '0' : '1';
    rows.push_back(h);
  }
  return rows;
}

// The positions (s + 0.5) / sites of an MS positions line, s = 0 .. sites - 1.
inline std::string evenPositions(int sites) {
  std::string text;
  for (int s = 0; s < sites; ++s)
    text += (s == 0 ? "" : " ") + std::to_string((s + 0.5) / sites).substr(0, 8);
  return text;
}
