#include "monitor/conversion_log.h"

#include <cstring>

#include "common/text.h"

namespace plumeta {
namespace {

constexpr char kMarkerStart[] = "%%[ Plumeta: ";
constexpr char kMarkerEnd[] = " pages ]%%";

std::string Trimmed(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

const char kRunJobFragment[] =
    "userdict /quit { stop } put"
    " { { (%stdin) (r) file cvx } .runexec } stopped"
    " $error /newerror get and"
    " { /handleerror .systemvar exec flush 1 .quit } if"
    " (%%[ Plumeta: ) print currentpagedevice /PageCount get =only"
    " ( pages ]%%) = flush";

std::string ConversionLogPath(const std::string& last_result) {
  std::string path = last_result;
  const std::size_t dot = path.find_last_of(".\\");
  if (dot != std::string::npos && path[dot] == '.') path.erase(dot);
  return path + ".log";
}

ConversionVerdict ReadConversionLog(const std::string& log) {
  std::optional<std::string> pages;
  std::string error_line;
  std::string last_line;
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    const std::string line = Trimmed(log.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (line.rfind(kMarkerStart, 0) == 0 &&
        line.size() > std::strlen(kMarkerStart) + std::strlen(kMarkerEnd) &&
        line.compare(line.size() - (sizeof(kMarkerEnd) - 1),
                     sizeof(kMarkerEnd) - 1, kMarkerEnd) == 0) {
      pages = line.substr(
          sizeof(kMarkerStart) - 1,
          line.size() - (sizeof(kMarkerStart) - 1) - (sizeof(kMarkerEnd) - 1));
      continue;
    }
    if (error_line.empty() &&
        AsciiLower(line).find("error") != std::string::npos) {
      error_line = line;
    }
    last_line = line;
  }
  if (pages && pages->find_first_not_of("0123456789") == std::string::npos) {
    if (*pages != "0") return {true, ""};
    return {false, "The document has no pages."};
  }
  if (!error_line.empty()) return {false, "Ghostscript: " + error_line};
  if (!last_line.empty()) return {false, "Ghostscript: " + last_line};
  return {false, "Ghostscript did not finish the document."};
}

}  // namespace plumeta
