#include "analysis/results_table.hpp"

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "input/common.hpp"
#include "input/output_file.hpp"

std::string resultsName(const Execution& exec) {
  const Options& o = exec.options;
  if (o.onlyEOS) return exec.resultsPrefix + "EOS_" + "_MAF" + toString(exec.maf);
  const bool refPop = exec.referenceCopy >= 0 && !exec.noReferenceStep;
  std::string name = exec.resultsPrefix + (refPop ? "RefPop" : "AutoRefPop") +
                     toString(o.reference + 1) + "_MAF_" + toString(exec.maf);
  if (o.runs > 1) name += "_NF" + toString(o.runs);
  if (o.old) name += "_OldSweep";
  if (o.useblocks) name += "_Blocks";
  if (o.nogaps) name += "_NoGaps";
  if (o.tag == "rnd0") name += "_RND";
  if (o.window > 0) name += "_W" + toString(o.window);
  return name;
}

namespace {

// Accumulators of the significant rows of one candidate rank.
struct RankSummary {
  double count = 0.0;
  double positionSum = 0.0;
  double widthSum = 0.0;
};

// The row of candidate k (from 0) of file f, with its line end, written
// through row (set to 12 significant digits; reused from row to row).
std::string resultRow(std::ostringstream& row, const FileRecord& f, std::size_t k, bool namesSnps,
                      bool significant) {
  const CandidateResult& r = f.results[k];
  row.str(std::string());
  row << f.name << "\t" << f.nsnps << "\t" << k + 1 << "\t";
  if (namesSnps) {
    const auto name = f.rsidmap.find(r.position);
    row << (name != f.rsidmap.end() ? name->second : std::string()) << "\t";
  }
  row << r.position << "\t" << r.Wide << "\t" << r.Ini[0] << "\t" << r.End[0] << "\t"
      << r.NCLASSES << "\t";
  // A value that no test produced reads NA (missing), never a number that
  // looks like a result. Above a mean FST of 0.5 the FST values are
  // computed but no Lewontin-Krakauer test runs.
  if (!f.eosRan) {
    row << "NA\tNA\tNA\tNA";
  } else {
    row << f.meanFST << "\t" << r.FST << "\t" << r.FSTindex << "\t";
    if (f.highFST) {
      row << "NA";
    } else {
      row << r.fstPval;
    }
  }
  row << "\t" << (f.samplesizes.size() > 0 ? f.samplesizes[0] : 0) << "\t"
      << (f.samplesizes.size() > 1 ? f.samplesizes[1] : 0) << "\t";
  // A candidate that was not tested has no result: NA.
  if (r.tested) {
    row << r.JHac << "\t" << r.Pval << (significant ? "\t*" : "\tns") << "\n";
  } else {
    row << "NA\tNA\tNA\n";
  }
  return row.str();
}

// The summary of several analysed files: per candidate rank, the share of
// files whose candidate of that rank is significant and its mean width and
// position. One file has no summary but its blank line.
std::string summaryText(const std::vector<RankSummary>& ranks, std::size_t analysed,
                        std::uint64_t nRuns, std::size_t longest, double segsites) {
  const double F = static_cast<double>(analysed);
  std::ostringstream summary;
  summary << std::setprecision(12);
  summary << "\n";
  if (analysed < 2) return summary.str();
  summary << "SegSites\tCandidate\tMean_size\tMean_pos\t%PowerJ\t%FPJJ" << "\n";
  summary << segsites;
  for (std::size_t c = 0; c < ranks.size(); ++c) {
    const RankSummary& s = ranks[c];
    const double power = s.count * 100 / F;
    const double fpjj = s.count * 100 / static_cast<double>(nRuns);
    double meanSize = 0.0;
    double meanPos = -1.0;
    if (s.count > 0) {
      meanSize = s.widthSum / s.count;
      meanPos = s.positionSum / s.count;
    }
    const std::size_t rank = c + 1 <= longest ? c + 1 : 0;
    summary << "\t" << rank << "\t" << meanSize << "\t" << meanPos << "\t" << power << "\t"
            << fpjj << "\n";
  }
  return summary.str();
}

}  // namespace

void writeResults(const std::vector<FileRecord>& files, std::uint64_t nRuns,
                  const std::string& outname, double alpha, double& segsites, bool namesSnps,
                  std::uint64_t maxcandidates) {
  OutputFile out(outname, OutputFile::Mode::Append);
  OutputFile sig(cutAtPattern(outname, ".", true, true) + "_SIG.tsv", OutputFile::Mode::Append);
  std::size_t analysed = 0;
  for (const FileRecord& f : files)
    if (f.analysed) ++analysed;
  if (analysed == 0) {
    out.close();
    sig.close();
    return;
  }

  const std::string header =
      namesSnps ? "File\t#SNPs\tCandidate\trsid\tPos\tWide\tIni\tEnd\tNCLASSES\tMeanFST\tFST\t"
                  "FSTindex\tfstPval\tn1\tn2\tJHac\tPval\tSig\n"
                : "File\t#SNPs\tCandidate\tSNP\tWide\tIni\tEnd\tNCLASSES\tMeanFST\tFST\tFSTindex\t"
                  "fstPval\tn1\tn2\tJHac\tPval\tSig\n";
  out.write(header);
  sig.write(header);

  std::vector<RankSummary> ranks(maxcandidates);
  std::size_t longest = 0;
  std::ostringstream row;
  row << std::setprecision(12);
  for (const FileRecord& f : files) {
    if (!f.analysed) continue;
    if (f.highFST) {
      const std::string warning =
          "\nWARNING: THE AVERAGE FST WAS GREATER THAN 0.5 IN FILE " + f.name + "\n\n";
      out.write(warning);
      sig.write(warning);
    }
    longest = std::max(longest, f.results.size());
    for (std::size_t k = 0; k < f.results.size(); ++k) {
      const CandidateResult& r = f.results[k];
      // An untested candidate is never significant.
      const bool significant = r.tested && r.Pval <= alpha;
      const std::string text = resultRow(row, f, k, namesSnps, significant);
      out.write(text);
      if (!significant) continue;
      sig.write(text);
      if (k < ranks.size()) {
        ranks[k].count += 1.0;
        ranks[k].positionSum += r.position;
        ranks[k].widthSum += r.Wide;
      }
    }
  }

  segsites = segsites / static_cast<double>(analysed);
  out.write(summaryText(ranks, analysed, nRuns, longest, segsites));
  out.close();
  sig.close();
}
