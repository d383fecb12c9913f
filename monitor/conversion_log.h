// Ghostscript's own account of a conversion. The argument file sends
// Ghostscript's messages (-sstdout) to a log beside LastResult and runs the
// job through a PostScript fragment of its own: the fragment writes the job's
// page count as the log's last word when the job has run to its end, and
// when the job stops on an error it lets Ghostscript report it and quit. A
// log without that word is a conversion that failed, whatever PDF it left.
#ifndef MONITOR_CONVERSION_LOG_H_
#define MONITOR_CONVERSION_LOG_H_

#include <optional>
#include <string>

namespace plumeta {

// The log of the conversion whose PDF is `last_result`: the same path with
// ".log" for its extension.
std::string ConversionLogPath(const std::string& last_result);

// The PostScript the argument file gives after "-c": it runs the job from
// standard input (as "-" does, startjob included), then writes the page
// count. A job's "quit" ends the job, as on a printer.
extern const char kRunJobFragment[];

struct ConversionVerdict {
  bool completed = false;  // the job ran to its end with pages
  // Why not, for the user: Ghostscript's error line, or a sentence.
  std::string reason;
};

// What the log's text says.
ConversionVerdict ReadConversionLog(const std::string& log);

}  // namespace plumeta

#endif  // MONITOR_CONVERSION_LOG_H_
