#include "common/ghostscript_arguments.h"

namespace plumeta {
namespace {

bool IsGhostscriptSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
         c == '\f';
}

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

std::optional<std::vector<std::string>> SplitGhostscriptArgumentFile(
    const std::string& text) {
  const std::size_t size = text.size();
  auto line_end_length = [&](std::size_t i) -> std::size_t {
    if (i < size && text[i] == '\r') {
      return i + 1 < size && text[i + 1] == '\n' ? 2 : 1;
    }
    return i < size && text[i] == '\n' ? 1 : 0;
  };
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (true) {
    while (i < size && IsGhostscriptSpace(text[i])) ++i;
    if (i >= size) return arguments;
    if (text[i] == '#') {
      while (i < size && text[i] != '\n') ++i;
      continue;
    }
    std::string argument;
    bool quoted = false;
    while (i < size) {
      const char c = text[i];
      if (c == '\\' && i + 1 < size && text[i + 1] == '"') {
        argument += '"';
        i += 2;
      } else if (c == '\\' && line_end_length(i + 1) > 0) {
        i += 1 + line_end_length(i + 1);
      } else if (c == '"' && !quoted &&
                 (argument.empty() || argument.back() == '=')) {
        quoted = true;
        ++i;
      } else if (c == '"' && quoted) {
        if (i + 1 >= size) return std::nullopt;  // no line end after it
        ++i;
        if (IsGhostscriptSpace(text[i])) {
          quoted = false;
          break;
        }
        argument += c;
      } else if (!quoted && IsGhostscriptSpace(c)) {
        break;
      } else {
        argument += c;
        ++i;
      }
    }
    if (quoted) return std::nullopt;
    arguments.push_back(std::move(argument));
  }
}

}  // namespace plumeta
