#include "monitor/job_table.h"

namespace plumeta {

int JobTable::Find(std::uint32_t job_id) const {
  auto it = index_.find(job_id);
  return it == index_.end() ? -1 : it->second;
}

int JobTable::Append(const platform::PrintJob& job, JobTexts texts) {
  const int index = size();
  rows_.push_back(
      {std::make_unique<platform::PrintJob>(job), std::move(texts)});
  // A job id seen twice keeps its first row, as a scan from the top would.
  index_.emplace(job.job_id, index);
  text_assignments_ += kJobColumnCount;
  return index;
}

int JobTable::Refresh(int index, const JobTexts& texts) {
  int assigned = 0;
  for (int column = 0; column < kJobColumnCount; ++column) {
    std::string& text = rows_[index].texts[column];
    if (text != texts[column]) {
      text = texts[column];
      ++assigned;
    }
  }
  text_assignments_ += assigned;
  return assigned;
}

void JobTable::FreeJobRow(int index) {
  if (index >= 0 && index < size()) rows_[index].record.reset();
}

void JobTable::Clear() {
  rows_.clear();
  index_.clear();
}

}  // namespace plumeta
