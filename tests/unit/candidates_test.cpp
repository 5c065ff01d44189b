// Candidate choice on a small pooled sample whose linkage is known: where the
// candidates come from, which population's LD gives each window, and how the
// run's window and the too-small or empty cases end.
#include "analysis/candidates.hpp"

#include "analysis/run_state.hpp"
#include "test_support.hpp"

namespace {

// Three columns of eight haplotypes, pairwise independent (D = 0): a run of
// equal columns is fully linked, alternating columns are not linked at all.
const char* const linkedColumn = "11110000";
const char* const otherColumns[2] = {"11001100", "10101010"};

constexpr int kSites = 20;

}  // namespace

class Candidates : public TempDirTest {
 protected:
  // Population p (8 haplotypes) is fully linked over sites [first[p], last[p])
  // and not linked elsewhere; site i lies at position 100 + 10 i.
  void setUpSample(const int first[2], const int last[2]) {
    exec = Execution();
    run = RunData();
    windows.clear();
    run.samplesizes = {8, 8};
    run.metapopdata.assign(16, BitRow(kSites));
    run.snpfreqs.assign(2, std::vector<double>(kSites, 0.5));
    for (int p = 0; p < 2; ++p) {
      int other = 0;
      for (int site = 0; site < kSites; ++site) {
        const bool linked = site >= first[p] && site < last[p];
        const char* column = linked ? linkedColumn : otherColumns[other++ % 2];
        for (int r = 0; r < 8; ++r)
          if (column[r] == '1') run.metapopdata[static_cast<std::size_t>(8 * p + r)].set(site);
      }
    }
    for (int site = 0; site < kSites; ++site) run.metapopsnpositions.push_back(100 + 10 * site);
    run.genomesize = kSites;
    exec.numsnps[0] = kSites;
    exec.options.inputfile = "in.vcf";
    exec.options.minwin = 5;
    exec.format = InputFormat::VCF;
  }
  // Population 0 linked over sites 0..11, population 1 over sites 8..19.
  void reset() {
    const int first[2] = {0, 8}, last[2] = {12, 20};
    setUpSample(first, last);
  }
  void SetUp() override {
    TempDirTest::SetUp();
    reset();
  }
  CandidateOutcome choose() {
    testing::internal::CaptureStdout();
    const CandidateOutcome outcome = chooseCandidates(exec, run, windows);
    out = testing::internal::GetCapturedStdout();
    return outcome;
  }
  // "snp iniw endw K m refPop" of every window.
  std::string windowText() const {
    std::string text;
    for (const CandidateWindow& w : windows)
      text += (text.empty() ? "" : ", ") + std::to_string(w.snp) + " " + std::to_string(w.iniw) +
              " " + std::to_string(w.endw) + " " + std::to_string(w.K) + " " +
              std::to_string(w.m) + " " + std::to_string(w.refPop);
    return text;
  }
  Execution exec;
  RunData run;
  std::vector<CandidateWindow> windows;
  std::string out;
};

TEST_F(Candidates, OutlierCentresTakeTheLdWindowOfTheReferenceOrTheOtherPopulation) {
  // Outliers at a site's position and between two sites (the next site is taken).
  exec.options.useblocks = false;
  run.outlierpositions = {150, 245};
  exec.pref = 0;
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(run.candidates, (std::vector<int>{5, 15}));
  EXPECT_EQ(exec.options.reference, 0);
  EXPECT_TRUE(exec.noReferenceStep);
  // Site 15 is not linked in population 0: the automatic reference lets
  // population 1's window stand in.
  EXPECT_EQ(windowText(), "5 0 12 12 13 0, 15 7 20 13 14 1");
  // Mean D' of the pairs inside each population's window: none linked in
  // population 0; all but the first linked in population 1.
  EXPECT_DOUBLE_EQ(windows[1].meanDprime, 0.0);
  EXPECT_DOUBLE_EQ(windows[1].otherMeanDprime, 11.0 / 12.0);

  // A given reference keeps its own window, widened to the minimum window and
  // moved back inside the sites when it passes their end.
  reset();
  exec.options.useblocks = false;
  exec.options.reference = 0;
  run.outlierpositions = {250, 290};
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_FALSE(exec.noReferenceStep);
  EXPECT_EQ(windowText(), "15 13 18 5 6 0, 19 15 20 5 6 0");
  EXPECT_NE(readFile("Pravis.log").find("\nPrav ERROR: window end 22 out of the genome range and "
                                        "changed to 20.\n"),
            std::string::npos);
}

TEST_F(Candidates, BlockCentresAndUserSitesTakeTheirBlocksOrEstimatedWindows) {
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(windowText(), "6 0 12 12 13 0");

  // Without a block in the automatic reference, the other population's blocks.
  const int first[2] = {0, 8}, last[2] = {0, 20};
  setUpSample(first, last);
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(windowText(), "14 8 20 12 13 1");

  // User sites: the reference's LD window, the other population's when the
  // reference is automatic, else the site alone.
  reset();
  exec.options.selectives = {150, 250};
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(windowText(), "5 0 12 12 13 0, 15 7 20 13 14 1");
  reset();
  exec.options.selectives = {150, 250};
  exec.options.reference = 0;
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(windowText(), "5 0 12 12 13 0, 15 15 16 1 2 0");
}

TEST_F(Candidates, FixedWindowsAreCentredInsideTheSites) {
  exec.options.selectives = {110, 200, 290};
  exec.window = 5;
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(windowText(), "1 0 6 5 6 0, 10 8 14 5 6 0, 19 14 20 5 6 0");

  // A fixed window wider than the sample shrinks to it.
  reset();
  exec.options.selectives = {250};
  exec.window = 30;
  exec.logtext.clear();
  ASSERT_EQ(choose(), CandidateOutcome::Windows);
  EXPECT_EQ(exec.window, kSites);
  EXPECT_EQ(windowText(), "15 0 20 20 20 0");
  EXPECT_NE(exec.logtext.find("\nFixed Window size is: 30.\nIn metapopulation 1 only 20 true SNPs "
                              "in the sample. The window size is changed for file in.vcf. New "
                              "window size is: "),
            std::string::npos);
}

TEST_F(Candidates, NoCandidateOrTooFewSitesEndTheRun) {
  // No outlier.
  exec.options.useblocks = false;
  ASSERT_EQ(choose(), CandidateOutcome::NoSelection);
  EXPECT_EQ(out, "\n***NO SELECTION DETECTED IN THIS FILE.***\n\n");
  EXPECT_FALSE(run.candidatesLineDue);
  EXPECT_TRUE(windows.empty());

  // No block in either population.
  reset();
  exec.options.minwin = 13;
  exec.logtext.clear();
  ASSERT_EQ(choose(), CandidateOutcome::NoSelection);
  EXPECT_EQ(exec.logtext,
            "\n\n******* No blocks detected in file in.vcf. The HAC method cannot detect selection "
            "without haplotype blocks.*******\n\n");
  EXPECT_FALSE(run.candidatesLineDue);

  // Fewer pooled sites than the minimum window: the run no longer counts.
  reset();
  exec.options.selectives = {150};
  exec.options.minwin = 21;
  exec.nRuns = 1;
  run.countedInNRuns = true;
  ASSERT_EQ(choose(), CandidateOutcome::TooFewSites);
  EXPECT_EQ(out, "\nNot enough snps (20) in metapopulation 0 in file in.vcf\n");
  EXPECT_EQ(exec.nRuns, 0u);
  EXPECT_TRUE(windows.empty());
}
