// The JobTable: one row per print job seen since start-up, in the order the
// jobs were first seen, each with its own copy of the job's record and the
// eight texts of lvMain's columns. Rows are only added while the monitor
// runs, so a row is found by job id through an index rather than a scan. A
// job that left the queue is forgotten: its row stays, but its id finds it no
// more, so an id the spooler hands out again makes a new row.
#ifndef MONITOR_JOB_TABLE_H_
#define MONITOR_JOB_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/spooler.h"

namespace plumeta {

// The columns: the caption, then the seven sub-texts.
enum JobColumn {
  kMachineNameColumn,
  kPrinterNameColumn,
  kDocumentNameColumn,
  kStatusColumn,
  kOwnerColumn,
  kSizeColumn,
  kPrintedColumn,
  kStartAtColumn,
  kJobColumnCount
};

using JobTexts = std::array<std::string, kJobColumnCount>;

class JobTable {
 public:
  struct Row {
    std::unique_ptr<platform::PrintJob> record;  // null once freed
    JobTexts texts;
  };

  // The row of the job; -1 when there is none.
  int Find(std::uint32_t job_id) const;
  // Appends a row for the job with its record and texts; its index.
  int Append(const platform::PrintJob& job, JobTexts texts);
  // Assigns each text that differs from the one in place; how many did.
  int Refresh(int index, const JobTexts& texts);
  // The job's row is found by its id no more.
  void Forget(std::uint32_t job_id) { index_.erase(job_id); }
  // Releases the record of the row when the index is one; else nothing.
  void FreeJobRow(int index);
  void Clear();

  int size() const { return static_cast<int>(rows_.size()); }
  const Row& row(int index) const { return rows_[index]; }
  // Text assignments since the table was made, appended rows included.
  std::uint64_t text_assignments() const { return text_assignments_; }

 private:
  std::vector<Row> rows_;
  std::unordered_map<std::uint32_t, int> index_;
  std::uint64_t text_assignments_ = 0;
};

}  // namespace plumeta

#endif  // MONITOR_JOB_TABLE_H_
