// Every reader reports a gzip-compressed input as such and ends with status 1.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "input/bayescan_reader.hpp"
#include "input/fasta_reader.hpp"
#include "input/fastphase_reader.hpp"
#include "input/genepop_reader.hpp"
#include "input/hapmap_reader.hpp"
#include "input/ms_reader.hpp"
#include "input/text.hpp"
#include "input/plink_reader.hpp"
#include "input/vcf_reader.hpp"
#include "test_support.hpp"

namespace {

// "hello\n" as written by gzip.
const std::string gzipped("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\x48\xcd\xc9\xc9\xe7\x02\x00"
                          "\x20\x30\x3a\x36\x06\x00\x00\x00",
                          26);

class GzipInput : public TempDirTest {
 protected:
  // read() must end with status 1 after naming `shown` as gzip-compressed.
  void expectRejected(const std::string& what, const std::string& shown, const std::string& how,
                      const std::function<void()>& read) {
    std::remove("Pravis_ERROR.log");
    testing::internal::CaptureStdout();
    int status = -1;
    try {
      read();
    } catch (const FatalExit& e) {
      status = e.status;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string message = "\nERROR: " + shown +
                                " is gzip-compressed: decompress it first (" + how +
                                " for bgzip files)\n";
    EXPECT_EQ(status, 1) << what;
    EXPECT_NE(out.find(message + "\n"), std::string::npos) << what << ": " << out;
    EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 1\n") << what;
  }

  std::vector<int> sizes;
  HaplotypeMatrix data;
  std::vector<std::vector<double>> freqs{2}, positions{2};
  int pref = 0;
  AlleleCountTable counts;
  MaxAlleleCountTable maxcounts;
  AlleleIdTable ids;
  std::vector<std::string> names;
};

}  // namespace

TEST_F(GzipInput, EveryReaderNamesTheCompressedFile) {
  std::filesystem::create_directory("in");
  writeFile("in/x.gz", gzipped);
  writeFile("in/plain.txt", "plain text\n");
  writeFile("in/ok.fa", ">a\nACGT\n>b\nACGA\n");
  const std::string gz = "gunzip in/x.gz, or bgzip -d in/x.gz";
  int sample = 10, total = 20, first = 10, second = 10, npops = 2;
  bool useFirst = true;

  expectRejected("MS", "in/x.gz", gz, [&] { readMsSamples("in/", "x.gz", sample, data, positions); });
  expectRejected("MS two populations", "in/x.gz", gz, [&] {
    readMsTwoPops("in/", "x.gz", total, first, second, data, positions);
  });
  expectRejected("FASTA halves", "in/x.gz", gz, [&] {
    readFastaHalves(false, "in/", "x.gz", sizes, data, freqs, positions);
  });
  // The second file of a pair is checked as well.
  expectRejected("FASTA two files", "in/x.gz", gz, [&] {
    readFastaTwoFiles(false, "in/", "ok.fa", "x.gz", sizes, data, freqs, positions, pref);
  });
  expectRejected("FASTA tag", "in/x.gz", gz, [&] {
    readFastaByTag("pop", false, false, "in/", "x.gz", sizes, data, freqs, positions, pref);
  });
  expectRejected("FASTA alternate", "in/x.gz", gz, [&] {
    readFastaAlternate(false, false, "in/", "x.gz", sizes, data, freqs, positions, pref);
  });
  expectRejected("VCF", "in/x.gz", gz, [&] {
    readVcfPhasedPair("in/", "x.gz", "plain.txt", sizes, data, freqs, positions, pref);
  });
  expectRejected("VCF lock-step", "in/x.gz", gz, [&] {
    readVcfPairLockstep("in/", "x.gz", "plain.txt", sizes, data, freqs, positions, pref);
  });
  RsidMap rsids;
  expectRejected("HapMap", "in/x.gz", gz, [&] {
    readHapMapPhased("in/", "x.gz", "", false, sizes, data, freqs, positions, rsids, pref);
  });
  expectRejected("fastPHASE", "in/x.gz", gz, [&] {
    readFastPhaseFiles("in/", "x.gz", "plain.txt", sizes, data, freqs, positions, pref, useFirst);
  });
  expectRejected("BayeScan", "in/x.gz", gz, [&] {
    readBayeScan("in/", "x.gz", npops, counts, maxcounts, true, names);
  });
  expectRejected("Genepop", "in/x.gz", gz, [&] {
    readGenepop("in/", "x.gz", sizes, counts, maxcounts, ids, true, names);
  });
  expectRejected("PLINK map", "in/x.gz", gz, [&] {
    readPlinkNucleotide("in/", "x.gz", "plain.txt", npops, positions, sizes, counts, maxcounts,
                        ids, true, names);
  });

  // A name without .gz is decompressed to standard output; a name found only
  // in lower case is named as opened.
  writeFile("in/x.ped", gzipped);
  writeFile("in/x.map", "1 snp1 0 100\n1 snp2 0 200\n");
  expectRejected("PLINK ped", "in/x.ped",
                 "gunzip -c in/x.ped > in/x.ped.txt, or bgzip -dc in/x.ped > in/x.ped.txt", [&] {
                   readPlinkNumeric("in/", "x.map", "X.ped", npops, positions, sizes, counts,
                                    maxcounts, ids, true, names);
                 });
}

TEST_F(GzipInput, OtherBinaryAndShortFilesAreNoGzip) {
  // One magic byte alone, or a file of one byte, is read as text.
  writeFile("one.txt", std::string(1, '\x1f'));
  writeFile("other.txt", std::string("\x1f\x8c rest\n"));
  std::ifstream in;
  testing::internal::CaptureStdout();
  EXPECT_TRUE(openInputFile("", "one.txt", in, false));
  EXPECT_TRUE(openInputFile("", "other.txt", in, false));
  testing::internal::GetCapturedStdout();
}
