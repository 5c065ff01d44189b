// The benchmark script's pravolin part at its smallest size, without peers or
// timings: its input generator builds, its inputs read, and both analyses
// (with haplotype blocks, and the EOS test alone) write their results.
#include <fstream>
#include <sstream>

#include "cli_harness.hpp"

TEST_F(CliTest, BenchmarkScriptSmokeRun) {
  const std::string repo = std::string(PRAVOLIN_EXAMPLES) + "/..";
  const std::string data = (dir_ / "data").string();
  const std::string command = "PRAVOLIN=" + quote(PRAVOLIN_EXE) + " BENCH_DATA=" + quote(data) +
                              " BENCH_GENERATOR=own bash " + quote(repo + "/bench/run.sh") +
                              " --smoke > " + quote((dir_ / "smoke.txt").string()) + " 2>&1";
  const int raw = std::system(command.c_str());
  std::ifstream in(dir_ / "smoke.txt");
  std::stringstream out;
  out << in.rdbuf();
  ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << out.str();
  EXPECT_NE(out.str().find("smoke: 100x10000 ok (generator own)"), std::string::npos) << out.str();
}
