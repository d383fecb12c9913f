#include "tests/wine/support/screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/win32/windows_api.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::wine_test {

namespace {

// The next header word of a PPM file, past blanks and "#" comments.
std::string NextWord(std::istringstream& in) {
  std::string word;
  while (in >> word) {
    if (word[0] != '#') return word;
    std::string rest_of_comment;
    std::getline(in, rest_of_comment);
  }
  return "";
}

// "P6 <width> <height> 255\n" and the pixels.
bool ParsePpm(const std::string& data, int* width, int* height,
              std::vector<std::uint8_t>* pixels) {
  std::istringstream in(data);
  std::string magic = NextWord(in);
  *width = std::atoi(NextWord(in).c_str());
  *height = std::atoi(NextWord(in).c_str());
  int max_value = std::atoi(NextWord(in).c_str());
  if (magic != "P6" || max_value != 255 || *width <= 0 || *height <= 0) {
    return false;
  }
  in.get();
  std::size_t size = static_cast<std::size_t>(*width) * *height * 3;
  std::size_t offset = static_cast<std::size_t>(in.tellg());
  if (data.size() < offset + size) return false;
  pixels->assign(data.begin() + offset, data.begin() + offset + size);
  return true;
}

}  // namespace

std::string ToString(const Rgb& colour) {
  return "rgb(" + std::to_string(colour.red) + "," +
         std::to_string(colour.green) + "," + std::to_string(colour.blue) + ")";
}

int RunLinuxShell(const std::string& command) {
  auto spawn =
      win32::FindSystemEntry<WineUnixSpawn>("ntdll.dll", "__wine_unix_spawnvp");
  if (spawn == nullptr) return -1;
  std::string shell = "/bin/sh";
  std::string flag = "-c";
  std::string line = command;
  char* argv[] = {shell.data(), flag.data(), line.data(), nullptr};
  return static_cast<int>(spawn(argv, 1));
}

std::optional<ScreenCapture> ScreenCapture::Take(std::string* error,
                                                 const std::string& png_path) {
  const std::string base =
      "/tmp/plumeta-shot-" + std::to_string(::GetCurrentProcessId());
  const std::string png = png_path.empty() ? base + ".png" : png_path;
  const std::string ppm = base + ".ppm";
  const std::string command = "xwd -root -silent | convert xwd:- '" + png +
                              "' && convert '" + png +
                              "' -depth 8 'ppm:" + ppm + "'";
  const int status = RunLinuxShell(command);
  if (status != 0) {
    *error = status < 0 ? "Linux programs cannot be started (not Wine?)"
                        : "xwd | convert failed: " + command;
    return std::nullopt;
  }
  std::ifstream file(ThroughDriveZ(ppm), std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(file)),
                   std::istreambuf_iterator<char>());
  file.close();
  ::DeleteFileA(ThroughDriveZ(ppm).c_str());
  if (png_path.empty()) ::DeleteFileA(ThroughDriveZ(png).c_str());
  ScreenCapture capture;
  if (!ParsePpm(data, &capture.width_, &capture.height_, &capture.pixels_)) {
    *error = "cannot read " + ppm;
    return std::nullopt;
  }
  return capture;
}

Rgb ScreenCapture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
  std::size_t offset = (static_cast<std::size_t>(y) * width_ + x) * 3;
  return {pixels_[offset], pixels_[offset + 1], pixels_[offset + 2]};
}

}  // namespace plumeta::wine_test
