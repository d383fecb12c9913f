// The documents "Combine Jobs" collects for one combined PDF, in the order
// they were printed. Each job's PDF is moved into a folder of its own under
// the user's temporary folder, and a small list file there names them, so
// the collection survives Exit, a crash and a restart. The list is replaced
// whole: a crash leaves the old list or the new one, never half of one.
//
// The collected PDFs carry no passwords (see IntermediateSettings in
// response_file.h); the merge applies them.
#ifndef MONITOR_JOB_COLLECTION_H_
#define MONITOR_JOB_COLLECTION_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/error_codes.h"
#include "platform/files.h"

namespace plumeta {

struct CollectedDocument {
  std::string file;      // the PDF's name in the collection's folder
  std::string document;  // the print job's document name
  std::string user;      // the job's owner
  int pages = 0;         // 0: not known
  bool operator==(const CollectedDocument&) const = default;
};

// The number of pages of a PDF's text: the page objects it holds as plain
// objects. nullopt when it holds none that way, as when its pages lie in
// compressed object streams.
std::optional<int> CountPdfPages(const std::string& content);
// The same of a file, read in pieces.
std::optional<int> CountPdfFilePages(platform::Files& files,
                                     const std::string& path);

class JobCollection {
 public:
  // The collection's folder in the temporary folder (with or without its
  // trailing backslash), and the list file in it.
  static std::string FolderIn(const std::string& temp_folder);
  static constexpr char kListFileName[] = "documents.lst";

  JobCollection(platform::Files& files, std::string folder);

  // Reads the list file; documents whose PDF is gone are left out. An
  // absent list is an empty collection.
  void Load();
  // Moves the PDF at `pdf` into the collection as its last document and
  // writes the list. On failure nothing changed: the PDF is still at `pdf`.
  platform::ErrorCode Add(const std::string& pdf, const std::string& document,
                          const std::string& user);
  // Deletes the collected PDFs and the list.
  void Clear();

  const std::vector<CollectedDocument>& documents() const { return documents_; }
  bool empty() const { return documents_.empty(); }
  // The pages of the documents whose count is known.
  int pages() const;
  // The collected PDFs' full paths, in order.
  std::vector<std::string> Paths() const;
  const std::string& folder() const { return folder_; }

 private:
  std::string PathOf(const std::string& file) const;
  platform::ErrorCode WriteList(const std::vector<CollectedDocument>& list);

  platform::Files& files_;
  std::string folder_;
  std::vector<CollectedDocument> documents_;
};

}  // namespace plumeta

#endif  // MONITOR_JOB_COLLECTION_H_
