#include "input/log.hpp"

#include "test_support.hpp"

class LogFiles : public TempDirTest {};

TEST_F(LogFiles, MessageLogsKeepOnlyTheLastMessage) {
  logMessage(0, "first", false);
  logMessage(0, "second", false);
  EXPECT_EQ(readFile("Pravis.log"), "second\n");
  logMessage(5, "with code", false);
  EXPECT_EQ(readFile("Pravis.log"), "with code 5\n");
  writeValueToFile(12, "value.err");
  EXPECT_EQ(readFile("value.err"), "12\n");
}

TEST_F(LogFiles, FatalExitsLogTheStatusTheyUse) {
  EXPECT_FATAL_STATUS(logMessage(3, "bad\n", true), 3);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "bad\n 3\n");
  // A reader's format error never ends with status 0.
  EXPECT_FATAL_STATUS(errorExit("format\n"), 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "format\n 1\n");
  // Statuses computed from data are kept within 1..255.
  EXPECT_FATAL_STATUS(errorExitCode(0, "zero"), 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "zero 1\n");
  EXPECT_FATAL_STATUS(errorExitCode(4000, "big"), 255);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "big 255\n");
  EXPECT_FATAL_STATUS(valueExit(7, "one.err", 0), 1);
  EXPECT_EQ(readFile("one.err"), "7\n");
}

TEST_F(LogFiles, UnwritableLogIsReportedAndTheProgramGoesOn) {
  testing::internal::CaptureStderr();
  writeLog(0, "x", "no/such/folder/file.log");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: could not open log file: no/such/folder/file.log\n");
  EXPECT_FATAL_STATUS(libraryExit(9, "msg", "no/such/folder/t.log"), 9);
}

TEST_F(LogFiles, TheStepBeforeAFatalExitRunsOnceAndKeepsTheError) {
  int calls = 0;
  setStepBeforeFatalExit([&calls] {
    ++calls;
    errorExitCode(1, "the step failed");
  });
  EXPECT_FATAL_STATUS(errorExitCode(4, "first"), 4);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "first 4\n");
  EXPECT_FATAL_STATUS(errorExitCode(3, "second"), 3);
  EXPECT_EQ(calls, 1);
}
