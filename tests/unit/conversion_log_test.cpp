#include "monitor/conversion_log.h"

#include <gtest/gtest.h>

namespace plumeta {
namespace {

// Logs as Ghostscript 10 writes them with the argument file's options.
TEST(ConversionLogTest, TheLogsLastWordOrErrorLineDecides) {
  const struct {
    const char* label;
    const char* log;
    bool completed;
    const char* reason;
  } kRows[] = {
      {"ran to its end", "job output\n%%[ Plumeta: 87 pages ]%%\n", true, ""},
      {"no pages", "%%[ Plumeta: 0 pages ]%%\n", false,
       "The document has no pages."},
      {"PostScript error",
       "Error: /undefined in nosuchoperator\nOperand stack:\n\nExecution "
       "stack:\n   %interp_exit   .runexec2\nCurrent allocation mode is "
       "local\n",
       false, "Ghostscript: Error: /undefined in nosuchoperator"},
      {"setting refused at the device's start",
       "Unrecoverable error: rangecheck in setscreen\r\nOperand stack:\r\n"
       "    0.0624961  0  --nostringval--\r\n",
       false, "Ghostscript: Unrecoverable error: rangecheck in setscreen"},
      {"the job's own error handler", "%%[ Error: undefined ]%%\n", false,
       "Ghostscript: %%[ Error: undefined ]%%"},
      {"a message without the word", "Unknown device: nosuchdevice", false,
       "Ghostscript: Unknown device: nosuchdevice"},
      {"stopped without a word", "", false,
       "Ghostscript did not finish the document."},
      {"a marker of another shape", "%%[ Plumeta: pages ]%%\n", false,
       "Ghostscript: %%[ Plumeta: pages ]%%"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    const ConversionVerdict verdict = ReadConversionLog(row.log);
    EXPECT_EQ(verdict.completed, row.completed);
    EXPECT_EQ(verdict.reason, row.reason);
  }
}

TEST(ConversionLogTest, BesideLastResult) {
  EXPECT_EQ(ConversionLogPath("C:\\Temp\\1024.pdf"), "C:\\Temp\\1024.log");
  EXPECT_EQ(ConversionLogPath("C:\\a.b\\1024"), "C:\\a.b\\1024.log");
}

}  // namespace
}  // namespace plumeta
