#include "fuzz_support.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "analysis/allele_tables.hpp"

namespace {

// The private folder, kept open so that a signal handler can remove it with
// calls that are safe there (no allocation, no lock).
char folderPath[4096];
int folderFd = -1;

// Removes everything below the folder open as fd, folders included.
void emptyFolder(int fd) {
  alignas(dirent64) char buffer[4096];
  // Entries removed while the folder is read may move the others: read it
  // again from its start until a pass removes nothing.
  for (bool removed = true; removed;) {
    removed = false;
    if (::lseek(fd, 0, SEEK_SET) != 0) return;
    ssize_t n;
    while ((n = ::getdents64(fd, buffer, sizeof buffer)) > 0) {
      for (ssize_t at = 0; at < n;) {
        const dirent64* entry = reinterpret_cast<const dirent64*>(buffer + at);
        at += entry->d_reclen;
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (::unlinkat(fd, name, 0) == 0) {
          removed = true;
        } else if (errno == EISDIR) {
          const int inner = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
          if (inner < 0) continue;
          emptyFolder(inner);
          ::close(inner);
          removed = ::unlinkat(fd, name, AT_REMOVEDIR) == 0 || removed;
        }
      }
    }
  }
}

void removeFolder() {
  if (folderFd < 0) return;
  emptyFolder(folderFd);
  ::close(folderFd);
  folderFd = -1;
  ::rmdir(folderPath);
}

// What SIGINT and SIGTERM did before: libFuzzer's handlers, which end the
// process with _Exit, past the functions registered with atexit.
struct sigaction previousInt, previousTerm;

void removeFolderAndPassOn(int signal, siginfo_t* info, void* context) {
  const int interruptedErrno = errno;
  removeFolder();
  errno = interruptedErrno;
  const struct sigaction& previous = signal == SIGINT ? previousInt : previousTerm;
  if ((previous.sa_flags & SA_SIGINFO) != 0) {
    previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_DFL) {
    previous.sa_handler(signal);
  } else {
    ::sigaction(signal, &previous, nullptr);
    ::raise(signal);
  }
}

// An ignored signal stays ignored: the folder is still in use then.
void removeFolderOn(int signal, struct sigaction& previous) {
  if (::sigaction(signal, nullptr, &previous) != 0) return;
  if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN) return;
  struct sigaction action = {};
  action.sa_sigaction = removeFolderAndPassOn;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

namespace fuzz {

const std::string fileSeparator = "\n=====\n";

void initialize() {
  static bool done = false;
  if (done) return;
  done = true;
  // The system's temporary folder: TMPDIR, else /tmp.
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  const std::string folder = (base / "pravolin_fuzz_XXXXXX").string();
  if (error || folder.size() >= sizeof folderPath) {
    std::fprintf(stderr, "no temporary folder for the fuzz inputs: %s\n",
                 error ? error.message().c_str() : "its name is too long");
    std::abort();
  }
  std::memcpy(folderPath, folder.c_str(), folder.size() + 1);
  if (!::mkdtemp(folderPath)) {
    std::perror("mkdtemp");
    std::abort();
  }
  folderFd = ::open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) {
    std::perror(folderPath);
    std::abort();
  }
  std::filesystem::current_path(folderPath);
  // The folder goes when the fuzzer ends (libFuzzer calls exit at the end of
  // -runs or -max_total_time) or is stopped by SIGINT or SIGTERM; files of
  // a crashing input stay in it.
  std::atexit(removeFolder);
  removeFolderOn(SIGINT, previousInt);
  removeFolderOn(SIGTERM, previousTerm);
  // PRAVOLIN_FUZZ_STDOUT keeps the readers' messages, to look into one input.
  if (!std::getenv("PRAVOLIN_FUZZ_STDOUT") && !std::freopen("/dev/null", "w", stdout)) std::abort();
  std::ios::sync_with_stdio(true);
  setFatalThrows(true);
}

Input splitInput(const std::uint8_t* data, std::size_t size, std::size_t files) {
  initialize();
  Input input;
  if (size > 0) {
    input.options = data[0];
    ++data;
    --size;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::size_t at = 0;
  for (std::size_t k = 0; k + 1 < files; ++k) {
    const std::size_t cut = text.find(fileSeparator, at);
    if (cut == std::string::npos) break;
    input.parts.push_back(text.substr(at, cut - at));
    at = cut + fileSeparator.size();
  }
  input.parts.push_back(text.substr(at));
  input.parts.resize(files);
  return input;
}

void writeFile(const std::string& name, const std::string& content) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) std::abort();
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::cerr << "broken invariant: " << what << std::endl;
  std::abort();
}

void requireFinite(const std::vector<std::vector<double>>& positions) {
  for (const std::vector<double>& list : positions)
    for (double position : list) require(std::isfinite(position), "finite positions");
}

void HaplotypeSample::check() const {
  require(sizes.size() == 2, "two sample sizes");
  require(sizes[0] > 0 && sizes[1] > 0, "both populations have rows");
  require(pref == 0 || pref == 1, "reference population 0 or 1");
  require(rows.size() == static_cast<std::size_t>(sizes[0]) + static_cast<std::size_t>(sizes[1]),
          "one row per haplotype");
  require(freqs.size() == 2 && positions.size() == 2, "two frequency and position lists");
  const std::size_t sites = positions[0].size();
  for (int p = 0; p < 2; ++p) {
    require(positions[p].size() == sites, "both populations have the same sites");
    require(freqs[p].size() == sites, "one frequency per site");
  }
  for (const BitRow& row : rows) require(row.size() == sites, "every row has one cell per site");
  requireFinite(positions);

  std::size_t row = 0;
  for (int p = 0; p < 2; ++p) {
    std::vector<std::size_t> ones(sites, 0);
    for (int r = 0; r < sizes[p]; ++r, ++row)
      rows[row].forEachSetBit([&ones](std::size_t j) { ++ones[j]; });
    for (std::size_t j = 0; j < sites; ++j) {
      const double f = freqs[p][j];
      require(f >= 0.0 && f <= 1.0, "frequencies within 0..1");
      const double expected = static_cast<double>(ones[j]) / sizes[p];
      require(std::fabs(f - expected) < 1e-9, "frequency equals the share of rows coded 1");
    }
  }
}

void checkAlleleTables(std::size_t pops, const AlleleCountTable& counts,
                       const MaxAlleleCountTable& maxcounts, const AlleleIdTable* ids,
                       const std::vector<std::string>* locnames) {
  const std::size_t loci = counts.size();
  require(maxcounts.size() == loci, "one largest-count entry per locus");
  if (locnames) require(locnames->size() == loci, "one name per locus");
  if (ids) require(ids->size() == loci, "one allele-id entry per locus");
  for (std::size_t i = 0; i < loci; ++i) {
    require(counts[i].size() == pops && maxcounts[i].size() == pops,
            "one entry per population at every locus");
    for (std::size_t p = 0; p < pops; ++p) {
      const std::vector<float>& c = counts[i][p];
      for (float v : c) require(std::isfinite(v) && v >= 0.0f, "counts finite and not negative");
      const float m = maxcounts[i][p];
      require(m == unusableLocus || (c.empty() && m == 0.0f) ||
                  std::find(c.begin(), c.end(), m) != c.end(),
              "largest count is a count or the unusable mark");
      if (ids) {
        const std::vector<std::int32_t>& codes = (*ids)[i][p];
        require(codes.size() == c.size(), "one code per count");
        require(std::is_sorted(codes.begin(), codes.end(), codeLess) &&
                    std::adjacent_find(codes.begin(), codes.end()) == codes.end(),
                "codes ascending and distinct");
      }
    }
  }
}

void analyseAlleleTables(int format, double maf, AlleleCountTable& counts,
                         MaxAlleleCountTable& maxcounts, AlleleIdTable& ids,
                         std::vector<std::string>& locnames,
                         std::vector<std::vector<double>> snpositions) {
  std::vector<std::vector<double>> snpfreqs(2);
  std::vector<double> metapop;
  std::vector<int> numsnps;
  std::vector<std::pair<double, double>> fst;
  double meanFst = 0.0;
  const CountFormat countFormat = static_cast<CountFormat>(format);
  buildAlleleCountSites(countFormat, maf, "fuzz", counts, maxcounts, ids, locnames, snpositions,
                        snpfreqs, metapop, numsnps, fst, meanFst);
  const std::size_t m = locnames.size();
  require(numsnps.size() == 1 && numsnps[0] == static_cast<int>(m), "site count");
  require(fst.size() == m && metapop.size() == m, "one FST and one position per site");
  for (const auto& f : fst) require(f.first >= 0.0 && f.first <= 1.0, "FST within 0..1");
  require(std::isfinite(meanFst), "finite mean FST");
  if (countFormat != CountFormat::Genepop)
    for (const auto& freqs : snpfreqs) {
      require(freqs.size() == m, "one frequency per site");
      for (double f : freqs) require(f >= 0.0 && f <= 1.0, "frequencies within 0..1");
    }
}

}  // namespace fuzz
