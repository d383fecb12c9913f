#include "common/ghostscript_arguments.h"

namespace plumeta {
namespace {

constexpr char kLineEnd[] = "\r\n";

bool IsControl(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

bool NeedsQuotes(const std::string& value) {
  return value.find_first_of(" \"") != std::string::npos ||
         (!value.empty() && value.back() == '\\');
}

}  // namespace

std::string WithoutControlCharacters(const std::string& value) {
  std::string kept;
  kept.reserve(value.size());
  for (char c : value) {
    if (!IsControl(c)) kept += c;
  }
  return kept;
}

std::string GhostscriptArgument(const std::string& option,
                                const std::string& value) {
  const std::string kept = WithoutControlCharacters(value);
  if (!NeedsQuotes(kept)) return option + kept;
  std::string argument = option + '"';
  for (char c : kept) {
    if (c == '"') argument += '\\';
    argument += c;
  }
  // A backslash right before the closing quote would escape it; the extra
  // backslash is taken literally and the one before the line end joins the
  // closing quote's line on.
  if (kept.back() == '\\') argument += std::string("\\") + kLineEnd;
  return argument + '"';
}

std::string GhostscriptLiteralFileName(const std::string& path) {
  std::string literal;
  literal.reserve(path.size());
  for (char c : path) {
    literal += c;
    if (c == '%') literal += '%';
  }
  return literal;
}

std::string GhostscriptArgumentFileText(
    const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    text += argument;
    text += kLineEnd;
    text += kLineEnd;
  }
  return text;
}

}  // namespace plumeta
