// Benchmark inputs: two populations of phased haplotypes, written as a VCF
// pair (one population per file), a merged VCF with its population lists for
// the peer tools, an MS file and, on request (--extra), the same data in the
// other input formats: a FASTA pair, a HapMap pair, a fastPHASE pair, a
// Genepop file, PLINK nucleotide and numeric map/ped pairs and a BayeScan
// file.
//
// The haplotypes come from a coalescent simulator's MS output (first `sites`
// segregating sites, the first `n` haplotypes as population 1 and the next
// `n` as population 2), or from the generator below when the input name is
// "-generate": founder haplotypes whose allele frequencies drift apart between
// the populations, copied in long stretches (so neighbouring sites are in
// linkage disequilibrium and haplotype blocks exist), with a few stretches
// where the populations carry different founders (FST outliers).
//
// Usage: simconvert <scrm-output | -generate> <sites> <haplotypes-per-population>
//                   <output-prefix> [--extra] [--seed N]
// Consecutive haplotypes of a population form one diploid individual, so n
// must be even. Positions are whole, unique and ascending. Every format but MS
// and VCF writes allele 0 as the base A and allele 1 as G (Genepop and
// numeric PLINK: allele numbers 1 and 2).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

[[noreturn]] void die(const std::string& message) {
  std::cerr << "simconvert: " << message << std::endl;
  std::exit(1);
}

// Haplotype h, site k.
struct Sample {
  std::size_t sites = 0;
  std::size_t haplotypes = 0;
  std::size_t words = 0;
  std::vector<std::uint64_t> bits;  // row-major, `words` words per haplotype
  std::vector<long long> positions;

  void init(std::size_t s, std::size_t h) {
    sites = s;
    haplotypes = h;
    words = (s + 63) / 64;
    bits.assign(words * h, 0);
  }
  void set(std::size_t h, std::size_t k) { bits[h * words + (k >> 6)] |= std::uint64_t{1} << (k & 63); }
  bool get(std::size_t h, std::size_t k) const { return (bits[h * words + (k >> 6)] >> (k & 63)) & 1; }
};

void readMs(const std::string& file, std::size_t sites, std::size_t n, Sample& sample) {
  std::ifstream in(file);
  if (!in) die("cannot open " + file);
  std::string line;
  std::size_t segsites = 0;
  while (std::getline(in, line)) {
    if (line.compare(0, 9, "segsites:") == 0) segsites = std::strtoull(line.c_str() + 9, nullptr, 10);
    if (line.compare(0, 10, "positions:") == 0) break;
  }
  if (segsites < sites)
    die(file + " has " + std::to_string(segsites) + " segregating sites, fewer than " +
        std::to_string(sites));
  sample.init(sites, 2 * n);
  // Positions in base pairs (scrm -SC abs), made whole, unique and ascending.
  const char* p = line.c_str() + 10;
  long long previous = 0;
  for (std::size_t k = 0; k < sites; ++k) {
    char* end = nullptr;
    const double x = std::strtod(p, &end);
    if (end == p) die("short positions line in " + file);
    p = end;
    const long long pos = std::max(previous + 1, static_cast<long long>(std::floor(x)) + 1);
    sample.positions.push_back(pos);
    previous = pos;
  }
  for (std::size_t h = 0; h < 2 * n; ++h) {
    if (!std::getline(in, line)) die(file + " has fewer than " + std::to_string(2 * n) + " haplotypes");
    if (line.size() < sites) die("short haplotype line in " + file);
    for (std::size_t k = 0; k < sites; ++k)
      if (line[k] == '1') sample.set(h, k);
  }
}

void generate(std::size_t sites, std::size_t n, unsigned seed, Sample& sample) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  sample.init(sites, 2 * n);
  constexpr int founders = 12;
  // Founder alleles per population, region by region (60 sites): the
  // founders fall into two clades with a frequency shared by the populations
  // up to a little drift, and most sites of the region follow the clades, so
  // neighbouring sites are in strong linkage disequilibrium. In a diverged
  // region the populations carry opposite clades.
  std::vector<std::uint8_t> founder(2 * founders * sites);
  std::vector<std::uint8_t> clade(2 * founders);
  long long pos = 0;
  bool diverged = false;
  double q = 0.5;
  for (std::size_t k = 0; k < sites; ++k) {
    pos += 1 + static_cast<long long>(u(rng) * 19);
    sample.positions.push_back(pos);
    if (k % 2000 == 0) diverged = u(rng) < 0.15;
    if (k % 60 == 0) {
      q = 0.1 + 0.4 * u(rng);
      const bool split = diverged && (k / 60) % 3 == 0;
      for (int p = 0; p < 2; ++p) {
        double qp = split ? (p == 0 ? 0.05 : 0.9) : q + (u(rng) - 0.5) * 0.1;
        for (int c = 0; c < founders; ++c) clade[static_cast<std::size_t>(p * founders + c)] = u(rng) < qp;
      }
    }
    const bool follows = u(rng) < 0.8;
    for (int p = 0; p < 2; ++p)
      for (int c = 0; c < founders; ++c)
        founder[(static_cast<std::size_t>(p) * founders + c) * sites + k] =
            follows ? clade[static_cast<std::size_t>(p * founders + c)] : u(rng) < q;
  }
  // Each haplotype copies founders of its population in stretches of about
  // 150 sites, with rare new mutations.
  for (std::size_t h = 0; h < 2 * n; ++h) {
    const std::size_t p = h < n ? 0 : 1;
    int c = static_cast<int>(u(rng) * founders);
    for (std::size_t k = 0; k < sites; ++k) {
      if (u(rng) < 1.0 / 150) c = static_cast<int>(u(rng) * founders);
      bool allele = founder[(p * founders + c) * sites + k];
      if (u(rng) < 0.0005) allele = !allele;
      if (allele) sample.set(h, k);
    }
  }
}

// Buffered writer of large text files.
class Out {
 public:
  explicit Out(const std::string& name) : f_(std::fopen(name.c_str(), "wb")), name_(name) {
    if (!f_) die("cannot write " + name);
    buf_.reserve(1 << 22);
  }
  ~Out() {
    flush();
    if (std::fclose(f_) != 0) die("cannot write " + name_);
  }
  Out& operator<<(const std::string& s) { return put(s.data(), s.size()); }
  Out& operator<<(const char* s) { return put(s, std::strlen(s)); }
  Out& operator<<(char c) { return put(&c, 1); }
  Out& operator<<(long long v) { return *this << std::to_string(v); }
  Out& put(const char* s, std::size_t n) {
    buf_.append(s, n);
    if (buf_.size() >= (1u << 22)) flush();
    return *this;
  }

 private:
  void flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size())
      die("cannot write " + name_);
    buf_.clear();
  }
  std::FILE* f_;
  std::string name_;
  std::string buf_;
};

std::string sampleName(std::size_t pop, std::size_t individual) {
  return "p" + std::to_string(pop + 1) + "_" + std::to_string(individual);
}

// A VCF of the individuals of the listed populations.
void writeVcf(const Sample& s, std::size_t n, const std::vector<std::size_t>& pops,
              const std::string& name) {
  Out out(name);
  out << "##fileformat=VCFv4.2\n##source=simconvert\n##contig=<ID=1,length="
      << s.positions.back() + 1 << ">\n"
      << "##FORMAT=<ID=GT,Number=1,Type=String,Description=\"Genotype\">\n"
      << "#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT";
  for (std::size_t p : pops)
    for (std::size_t i = 0; i < n / 2; ++i) out << '\t' << sampleName(p, i);
  out << '\n';
  std::string line;
  for (std::size_t k = 0; k < s.sites; ++k) {
    line = "1\t" + std::to_string(s.positions[k]) + "\tsnp" + std::to_string(k + 1) +
           "\tA\tG\t.\tPASS\t.\tGT";
    for (std::size_t p : pops)
      for (std::size_t i = 0; i < n / 2; ++i) {
        const std::size_t h = p * n + 2 * i;
        line += '\t';
        line += s.get(h, k) ? '1' : '0';
        line += '|';
        line += s.get(h + 1, k) ? '1' : '0';
      }
    line += '\n';
    out << line;
  }
}

void writeMs(const Sample& s, const std::string& name) {
  Out out(name);
  out << "ms " << static_cast<long long>(s.haplotypes) << " 1\n1 2 3\n\n//\nsegsites: "
      << static_cast<long long>(s.sites) << "\npositions:";
  const double length = static_cast<double>(s.positions.back() + 1);
  char text[32];
  for (long long pos : s.positions) {
    std::snprintf(text, sizeof text, " %.9f", static_cast<double>(pos) / length);
    out << text;
  }
  out << '\n';
  std::string row(s.sites, '0');
  for (std::size_t h = 0; h < s.haplotypes; ++h) {
    for (std::size_t k = 0; k < s.sites; ++k) row[k] = s.get(h, k) ? '1' : '0';
    out << row << '\n';
  }
}

void writeFasta(const Sample& s, std::size_t n, std::size_t pop, const std::string& name) {
  Out out(name);
  std::string row(s.sites, 'A');
  for (std::size_t h = pop * n; h < (pop + 1) * n; ++h) {
    out << ">hap" << static_cast<long long>(h) << '\n';
    for (std::size_t k = 0; k < s.sites; ++k) row[k] = s.get(h, k) ? 'G' : 'A';
    out << row << '\n';
  }
}

void writeHapMap(const Sample& s, std::size_t n, std::size_t pop, const std::string& name) {
  Out out(name);
  out << "rsID\tposition";
  for (std::size_t h = 0; h < n; ++h) out << "\tp" << static_cast<long long>(pop + 1) << "_h" << static_cast<long long>(h);
  out << '\n';
  std::string line;
  for (std::size_t k = 0; k < s.sites; ++k) {
    line = "rs" + std::to_string(k + 1) + "\t" + std::to_string(s.positions[k]);
    for (std::size_t h = pop * n; h < (pop + 1) * n; ++h) {
      line += '\t';
      line += s.get(h, k) ? 'G' : 'A';
    }
    line += '\n';
    out << line;
  }
}

// fastPHASE output of one population: each individual a "# name" line and
// its two haplotypes, bases separated by blanks as that program writes them.
void writeFastPhase(const Sample& s, std::size_t n, std::size_t pop, const std::string& name) {
  Out out(name);
  out << "haplotypes of population " << static_cast<long long>(pop + 1)
      << " written by simconvert\nBEGIN GENOTYPES\n";
  std::string row(2 * s.sites - 1, ' ');
  for (std::size_t i = 0; i < n / 2; ++i) {
    out << "# " << sampleName(pop, i) << '\n';
    for (std::size_t h = pop * n + 2 * i; h < pop * n + 2 * i + 2; ++h) {
      for (std::size_t k = 0; k < s.sites; ++k) row[2 * k] = s.get(h, k) ? 'G' : 'A';
      out << row << '\n';
    }
  }
  out << "END GENOTYPES\n";
}

// Genepop, both populations: a title, the locus names one per line, then per
// population a "Pop" line and its individuals, each genotype two 2-digit
// alleles (01 for allele 0, 02 for allele 1).
void writeGenepop(const Sample& s, std::size_t n, const std::string& name) {
  Out out(name);
  out << "Genotypes written by simconvert\n";
  for (std::size_t k = 0; k < s.sites; ++k) out << "snp" << static_cast<long long>(k + 1) << '\n';
  std::string line;
  for (std::size_t pop = 0; pop < 2; ++pop) {
    out << "Pop\n";
    for (std::size_t i = 0; i < n / 2; ++i) {
      const std::size_t h = pop * n + 2 * i;
      line = sampleName(pop, i) + ",";
      for (std::size_t k = 0; k < s.sites; ++k) {
        line += s.get(h, k) ? " 02" : " 01";
        line += s.get(h + 1, k) ? "02" : "01";
      }
      line += '\n';
      out << line;
    }
  }
}

// A PLINK map/ped pair: name.map (chromosome, name, genetic distance,
// position) and name.ped, both populations, family ids pop1 and pop2, the two
// alleles of each locus written as allele0 and allele1.
void writePlink(const Sample& s, std::size_t n, const std::string& name, char allele0, char allele1) {
  {
    Out map(name + ".map");
    for (std::size_t k = 0; k < s.sites; ++k)
      map << "1 snp" << static_cast<long long>(k + 1) << " 0 " << s.positions[k] << '\n';
  }
  Out ped(name + ".ped");
  std::string line;
  for (std::size_t pop = 0; pop < 2; ++pop)
    for (std::size_t i = 0; i < n / 2; ++i) {
      const std::size_t h = pop * n + 2 * i;
      line = "pop" + std::to_string(pop + 1) + ' ' + sampleName(pop, i) + " 0 0 0 -9";
      for (std::size_t k = 0; k < s.sites; ++k) {
        line += ' ';
        line += s.get(h, k) ? allele1 : allele0;
        line += ' ';
        line += s.get(h + 1, k) ? allele1 : allele0;
      }
      line += '\n';
      ped << line;
    }
}

// BayeScan: per population and locus the gene copies (n), the number of
// alleles (2) and the copies of allele 0 and of allele 1.
void writeBayeScan(const Sample& s, std::size_t n, const std::string& name) {
  Out out(name);
  out << "[loci]=" << static_cast<long long>(s.sites) << "\n\n[populations]=2\n";
  const std::string copies = " " + std::to_string(n) + " 2 ";
  for (std::size_t pop = 0; pop < 2; ++pop) {
    out << "\n[pop]=" << static_cast<long long>(pop + 1) << '\n';
    for (std::size_t k = 0; k < s.sites; ++k) {
      long long ones = 0;
      for (std::size_t h = pop * n; h < (pop + 1) * n; ++h) ones += s.get(h, k);
      out << static_cast<long long>(k + 1) << copies << static_cast<long long>(n) - ones << ' ' << ones
          << '\n';
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) die("usage: simconvert <scrm-output|-generate> <sites> <haplotypes-per-pop> <prefix> [--extra] [--seed N]");
  const std::string input = argv[1];
  const std::size_t sites = std::strtoull(argv[2], nullptr, 10);
  const std::size_t n = std::strtoull(argv[3], nullptr, 10);
  const std::string prefix = argv[4];
  bool extra = false;
  unsigned seed = 1;
  for (int a = 5; a < argc; ++a) {
    if (std::strcmp(argv[a], "--extra") == 0) extra = true;
    else if (std::strcmp(argv[a], "--seed") == 0 && a + 1 < argc) seed = static_cast<unsigned>(std::atoi(argv[++a]));
    else die(std::string("unknown argument ") + argv[a]);
  }
  if (sites < 2 || n < 2 || n % 2 != 0) die("need at least 2 sites and an even number (>= 2) of haplotypes");

  Sample sample;
  if (input == "-generate")
    generate(sites, n, seed, sample);
  else
    readMs(input, sites, n, sample);

  writeVcf(sample, n, {0}, prefix + "_pop1.vcf");
  writeVcf(sample, n, {1}, prefix + "_pop2.vcf");
  writeVcf(sample, n, {0, 1}, prefix + "_merged.vcf");
  {
    Out p1(prefix + "_pop1.txt"), p2(prefix + "_pop2.txt"), ph(prefix + "_pheno.txt");
    ph << "#IID\tPOP\n";
    for (std::size_t i = 0; i < n / 2; ++i) {
      p1 << sampleName(0, i) << '\n';
      p2 << sampleName(1, i) << '\n';
      ph << sampleName(0, i) << "\tpop1\n" << sampleName(1, i) << "\tpop2\n";
    }
  }
  writeMs(sample, prefix + ".ms");
  if (extra) {
    writeFasta(sample, n, 0, prefix + "_pop1.fa");
    writeFasta(sample, n, 1, prefix + "_pop2.fa");
    writeHapMap(sample, n, 0, prefix + "_pop1.hap");
    writeHapMap(sample, n, 1, prefix + "_pop2.hap");
    writeFastPhase(sample, n, 0, prefix + "_pop1.fastphase");
    writeFastPhase(sample, n, 1, prefix + "_pop2.fastphase");
    writeGenepop(sample, n, prefix + ".gen");
    writePlink(sample, n, prefix + "_plink", 'A', 'G');
    writePlink(sample, n, prefix + "_plink12", '1', '2');
    writeBayeScan(sample, n, prefix + ".bayescan");
  }
  return 0;
}
