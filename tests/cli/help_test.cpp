#include "cli_harness.hpp"

TEST(CliSmoke, Placeholder) { SUCCEED(); }
