// The malformed-input corpus (tests/data/malformed, written by its
// make_corpus.py) run end to end, one test per row of cases.tsv: the program
// must end with the expected status and message, never with a crash signal or
// a sanitizer report, and an error exit must log its own status.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_harness.hpp"

namespace {

struct MalformedCase {
  std::string name;
  std::vector<std::string> files;  // a name ending in "/" is a folder
  std::vector<std::string> args;
  int status = 0;
  std::string message;  // expected on standard output
};

// Failures name the case, not its bytes.
void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

std::vector<MalformedCase> loadCases() {
  std::vector<MalformedCase> cases;
  std::ifstream in(std::string(PRAVOLIN_TEST_DATA) + "/malformed/cases.tsv", std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream columns(line);
    std::string field;
    while (std::getline(columns, field, '\t')) fields.push_back(field);
    if (fields.size() != 5) {
      ADD_FAILURE() << "cases.tsv: a row needs 5 columns: " << line;
      continue;
    }
    cases.push_back({fields[0], splitAt(fields[1], ','), splitAt(fields[2], ' '),
                     std::stoi(fields[3]), unescape(fields[4])});
  }
  return cases;
}

std::string identifier(std::string name) {
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

class Malformed : public CliTest, public ::testing::WithParamInterface<MalformedCase> {
 protected:
  // One folder per case, named without the "/" of the parameterized suite name.
  void SetUp() override {
    dir_ = freshTestFolder("pravolin_malformed_", identifier(GetParam().name));
  }
};

}  // namespace

TEST_P(Malformed, EndsAsDocumented) {
  const MalformedCase& c = GetParam();
  for (const std::string& file : c.files) {
    if (file.back() == '/')
      std::filesystem::create_directory(dir_ / file);
    else
      copyData("malformed/" + file, file);
  }
  const RunResult r = run(c.args);
  EXPECT_LT(r.status, 128) << "ended by a signal";
  EXPECT_EQ(r.status, c.status) << r.out;
  EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
  if (c.status == 0) {
    EXPECT_FALSE(exists("Pravis_ERROR.log"));
  } else {
    const std::string log = read("Pravis_ERROR.log");
    const std::string tail = " " + std::to_string(r.status) + "\n";
    EXPECT_TRUE(log.size() > tail.size() && log.compare(log.size() - tail.size(), tail.size(), tail) == 0)
        << "Pravis_ERROR.log: " << log;
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, Malformed, ::testing::ValuesIn(loadCases()),
                         [](const ::testing::TestParamInfo<MalformedCase>& info) {
                           return identifier(info.param.name);
                         });
