#include "recorder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::string log_text;
int results[3] = {0, 0, 0};

bool Valid(int entry_point) { return entry_point >= 0 && entry_point < 3; }

}  // namespace

extern "C" {

void FakeGsReset(void) {
  log_text.clear();
  for (int& result : results) result = 0;
}

void FakeGsSetResult(int entry_point, int result) {
  if (Valid(entry_point)) results[entry_point] = result;
}

int FakeGsResult(int entry_point) {
  return Valid(entry_point) ? results[entry_point] : 0;
}

void FakeGsRecord(const char* event) {
  log_text += event;
  log_text += '\n';
}

int FakeGsLog(char* buffer, int size) {
  if (buffer != nullptr && size > 0) {
    const std::size_t count =
        std::min(log_text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, log_text.data(), count);
    buffer[count] = '\0';
  }
  return static_cast<int>(log_text.size());
}
}
