#include "analysis/outlier_report.hpp"

#include <iomanip>
#include <sstream>

#include "input/common.hpp"
#include "input/output_file.hpp"

namespace {

const std::string stars(52, '*');

// Rows highest FST first: the lists are in ascending FST.
void writeRows(std::ostringstream& out, const std::vector<Outlier>& records) {
  out << "\n\t\t\tID\tPos\tFST\tpval(LK test)";
  for (auto it = records.rbegin(); it != records.rend(); ++it)
    out << "\n\t\t\t" << it->ID << "\t" << it->Pos << "\t" << it->FST << "\t" << it->pval;
}

}  // namespace

void writeOutlierReport(const std::string& fileName, const std::vector<FileRecord>& files,
                        const double& maf) {
  OutputFile file(fileName, OutputFile::Mode::Append);
  if (files.empty()) {
    file.close();
    return;
  }
  std::ostringstream out;
  std::size_t withEos = 0;
  std::size_t untested = 0;
  for (const FileRecord& f : files) {
    if (!f.fstOutliers.empty()) ++withEos;
    if (f.highFST) ++untested;
  }
  const double pct = static_cast<double>(withEos) / static_cast<double>(files.size()) * 100.0;
  out << "MAF = " << maf << "\n";
  out << "% FILES WITH K-MEANS EXTREME POSITIVE OUTLIERS = " << toString(pct) << "%\n";
  // Only when there are such files, so that the reports of tested files stay as they were.
  if (untested > 0) out << "FILES WITHOUT EOS TEST (MEAN FST ABOVE 0.5) = " << untested << "\n";
  out << std::setprecision(12);
  for (const FileRecord& f : files) {
    file.write(out.str());
    out.str(std::string());
    out << "\n" << stars << "\n";
    out << "FILE " << f.name << "\n";
    out << stars << "\n" << "\n";
    out << "#SNPs" << "\t" << f.nsnps << "\n";
    // A file without the test has no outlier count: NA, not a count of 0.
    if (f.highFST) out << "No EOS test: mean FST " << f.meanFST << " is above 0.5\n";
    out << "\n*************** Non-EOS FST OUTLIERS" << "\n";
    if (f.highFST)
      out << "NA" << "\n";
    else
      out << f.nonEosOutliers.size() << "\n";
    if (!f.nonEosOutliers.empty()) writeRows(out, f.nonEosOutliers);
    out << "\n";
    out << "\n*************** EOS FST OUTLIERS" << "\n";
    if (f.highFST) {
      out << "NA" << "\n";
    } else if (f.fstOutliers.empty()) {
      out << "0" << "\n";
    } else {
      out << f.fstOutliers.size() << "\n";
      writeRows(out, f.fstOutliers);
      out << "\n";
    }
  }
  file.write(out.str());
  file.close();
}
