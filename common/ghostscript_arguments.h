// Ghostscript's argument-file syntax ("gswin32c @file"): how to write one
// argument so that Ghostscript reads back exactly that argument, whatever the
// value holds, and how the lines of such a file are laid out.
//
// Ghostscript splits an argument file at any whitespace outside quotes. A '"'
// opens a quoted value right after '='; inside it '\"' is a literal quote and
// a '"' followed by whitespace closes it. Any other backslash is literal,
// except a backslash before a line end, which joins the next line on.
#ifndef COMMON_GHOSTSCRIPT_ARGUMENTS_H_
#define COMMON_GHOSTSCRIPT_ARGUMENTS_H_

#include <optional>
#include <string>
#include <vector>

namespace plumeta {

// `option` (such as "-sOwnerPassword=") followed by `value`. Control
// characters (CR, LF, TAB, NUL and the rest below a space, and DEL) are left
// out: no form of them survives Ghostscript's reader. A value holding a space
// or a quote, or ending in a backslash, is quoted: '"', the value with each
// '"' written '\"', and for a trailing backslash one more backslash and a
// line end, then the closing '"'. Any other value is written as it stands.
std::string GhostscriptArgument(const std::string& option,
                                const std::string& value);

// `value` without the control characters that GhostscriptArgument leaves
// out: what Ghostscript will receive of it.
std::string WithoutControlCharacters(const std::string& value);

// An output file name with each '%' doubled: Ghostscript reads OutputFile as
// a pattern ("%d" is the page number, "%pipe%" runs a command) and '%%' as one
// literal '%'.
std::string GhostscriptLiteralFileName(const std::string& path);

// The file's text: each argument followed by CR LF and one empty line (CR LF
// alone).
std::string GhostscriptArgumentFileText(
    const std::vector<std::string>& arguments);

// The arguments in an argument file's text, read as Ghostscript reads them:
// whitespace outside quotes splits; a '#' that starts an argument comments
// out the rest of its line; a '"' opens a quoted part as the argument's first
// character or right after '=', and inside it a '"' before whitespace closes
// it while any other '"' is literal; '\"' is a literal '"' anywhere, a
// backslash before a line end joins the next line on, and every other
// backslash is literal. nullopt where Ghostscript stops with "Unterminated
// quote" (a quote still open at the end).
std::optional<std::vector<std::string>> SplitGhostscriptArgumentFile(
    const std::string& text);

}  // namespace plumeta

#endif  // COMMON_GHOSTSCRIPT_ARGUMENTS_H_
