#include "monitor/job_collection.h"

#include <cstdlib>
#include <string_view>

namespace plumeta {
namespace {

constexpr char kFolderName[] = "Plumeta Combined";
// More names than any collection needs; a bound on the search for a free one.
constexpr int kMaxDocuments = 99999;

bool IsPdfDelimiter(char c) {
  return c == '/' || c == '<' || c == '>' || c == '[' || c == ']' || c == '(' ||
         c == ')' || c == ' ' || c == '\r' || c == '\n' || c == '\t' ||
         c == '\f' || c == '\0' || c == '%';
}

// A list line's field: control characters would break the line apart.
std::string Field(const std::string& text) {
  std::string field;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20) field += c;
  }
  return field;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// "/Type /Page" with any white space between, and not "/Pages", starting
// before `starts_before`.
int CountPageObjects(std::string_view content, std::size_t starts_before) {
  static constexpr std::string_view kType = "/Type";
  int pages = 0;
  for (std::size_t at = content.find(kType);
       at != std::string_view::npos && at < starts_before;
       at = content.find(kType, at + 1)) {
    std::size_t i = at + kType.size();
    if (i < content.size() && !IsPdfDelimiter(content[i])) continue;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\r' ||
                                  content[i] == '\n' || content[i] == '\t')) {
      ++i;
    }
    if (content.compare(i, 5, "/Page") != 0) continue;
    if (i + 5 < content.size() && !IsPdfDelimiter(content[i + 5])) continue;
    ++pages;
  }
  return pages;
}

}  // namespace

std::optional<int> CountPdfPages(const std::string& content) {
  const int pages = CountPageObjects(content, content.size());
  if (pages == 0) return std::nullopt;
  return pages;
}

// In pieces, so a large PDF is counted in little memory; each piece reads a
// little past its end, so a name cut at its end is still seen whole.
std::optional<int> CountPdfFilePages(platform::Files& files,
                                     const std::string& path) {
  static constexpr std::size_t kPiece = 1 << 20;
  static constexpr std::size_t kOverlap = 64;
  int pages = 0;
  for (std::uint64_t offset = 0;; offset += kPiece) {
    const std::optional<std::string> piece =
        files.ReadPart(path, offset, kPiece + kOverlap);
    if (!piece) return std::nullopt;
    pages += CountPageObjects(*piece, kPiece);
    if (piece->size() <= kPiece) break;
  }
  if (pages == 0) return std::nullopt;
  return pages;
}

std::string JobCollection::FolderIn(const std::string& temp_folder) {
  std::string folder = temp_folder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + "\\" + kFolderName;
}

JobCollection::JobCollection(platform::Files& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

std::string JobCollection::PathOf(const std::string& file) const {
  return folder_ + "\\" + file;
}

void JobCollection::Load() {
  documents_.clear();
  const std::optional<std::string> text =
      files_.ReadFile(PathOf(kListFileName));
  if (!text) return;
  std::size_t start = 0;
  while (start < text->size()) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string_view line(text->data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() != 4 || fields[0].empty()) continue;
    CollectedDocument document{fields[0], fields[3], fields[2],
                               std::atoi(fields[1].c_str())};
    if (files_.Exists(PathOf(document.file))) {
      documents_.push_back(std::move(document));
    }
  }
}

platform::ErrorCode JobCollection::WriteList(
    const std::vector<CollectedDocument>& list) {
  std::string text;
  for (const CollectedDocument& document : list) {
    text += document.file + "\t" + std::to_string(document.pages) + "\t" +
            document.user + "\t" + document.document + "\r\n";
  }
  const std::string path = PathOf(kListFileName);
  const std::string fresh = path + ".new";
  platform::ErrorCode code =
      files_.WriteTextFile(fresh, text, platform::FileProtection::kInherited);
  if (code == platform::kSuccess) code = files_.Replace(fresh, path);
  if (code != platform::kSuccess) files_.Delete(fresh);
  return code;
}

platform::ErrorCode JobCollection::Add(const std::string& pdf,
                                       const std::string& document,
                                       const std::string& user) {
  if (!files_.IsFolder(folder_)) {
    const platform::ErrorCode code = files_.CreateFolder(folder_);
    if (code != platform::kSuccess && !files_.IsFolder(folder_)) return code;
  }
  CollectedDocument added{"", Field(document), Field(user), 0};
  added.pages = CountPdfFilePages(files_, pdf).value_or(0);
  // A free number: a name a former run left behind is never taken over.
  platform::ErrorCode code = platform::kErrorFileExists;
  for (int number = static_cast<int>(documents_.size()) + 1;
       (code == platform::kErrorFileExists ||
        code == platform::kErrorAlreadyExists) &&
       number <= kMaxDocuments;
       ++number) {
    added.file = std::to_string(number) + ".pdf";
    code = files_.MoveNew(pdf, PathOf(added.file));
  }
  if (code != platform::kSuccess) return code;
  std::vector<CollectedDocument> list = documents_;
  list.push_back(added);
  code = WriteList(list);
  if (code != platform::kSuccess) {
    files_.MoveNew(PathOf(added.file), pdf);
    return code;
  }
  documents_ = std::move(list);
  return platform::kSuccess;
}

void JobCollection::Clear() {
  for (const CollectedDocument& document : documents_) {
    files_.Delete(PathOf(document.file));
  }
  files_.Delete(PathOf(kListFileName));
  documents_.clear();
}

int JobCollection::pages() const {
  int pages = 0;
  for (const CollectedDocument& document : documents_) pages += document.pages;
  return pages;
}

std::vector<std::string> JobCollection::Paths() const {
  std::vector<std::string> paths;
  for (const CollectedDocument& document : documents_) {
    paths.push_back(PathOf(document.file));
  }
  return paths;
}

}  // namespace plumeta
