// The window every Win32 class here is built on: what reaches its procedure,
// and who destroys it.
#include "platform/win32/owned_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace plumeta::win32 {
namespace {

constexpr char kClass[] = "PlumetaOwnedWindowTest";
constexpr UINT kAnswer = WM_APP + 1;

// Notes every message and answers kAnswer with 42.
OwnedWindow::Procedure Recorder(std::vector<UINT>& seen) {
  return [&seen](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    seen.push_back(message);
    if (message == kAnswer) return 42;
    return std::nullopt;
  };
}

bool Saw(const std::vector<UINT>& seen, UINT message) {
  return std::find(seen.begin(), seen.end(), message) != seen.end();
}

TEST(OwnedWindowTest, RoutesFromCreationOnAndGoesWithItsObject) {
  std::vector<UINT> seen;
  HWND handle = nullptr;
  {
    OwnedWindow window;
    ASSERT_TRUE(
        window.Create({.name = kClass}, {.title = "abc"}, Recorder(seen)));
    handle = window.handle();
    EXPECT_TRUE(Saw(seen, WM_CREATE));
    EXPECT_EQ(::SendMessageA(handle, kAnswer, 0, 0), 42);
    // No answer: the default procedure's.
    EXPECT_EQ(::SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0), 3);
    seen.clear();
  }
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_TRUE(seen.empty()) << "destroyed without calling back";
}

TEST(OwnedWindowTest, DestroyedWithItsOwnerItLetsGoOfTheHandle) {
  std::vector<UINT> owner_seen;
  std::vector<UINT> seen;
  OwnedWindow owner;
  OwnedWindow owned;
  ASSERT_TRUE(owner.Create({.name = kClass}, {}, Recorder(owner_seen)));
  ASSERT_TRUE(owned.Create({.name = kClass}, {.owner = owner.handle()},
                           Recorder(seen)));
  const HWND handle = owned.handle();
  owner.Destroy();
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(owned.handle(), nullptr);
  EXPECT_TRUE(Saw(seen, WM_DESTROY));
}

TEST(OwnedWindowTest, ItsProcedureMayDestroyItsObject) {
  auto window = std::make_unique<OwnedWindow>();
  ASSERT_TRUE(window->Create(
      {.name = kClass}, {},
      [&window](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != kAnswer) return std::nullopt;
        window.reset();
        return 7;
      }));
  const HWND handle = window->handle();
  EXPECT_EQ(::SendMessageA(handle, kAnswer, 0, 0), 7);
  EXPECT_EQ(window, nullptr);
  EXPECT_FALSE(::IsWindow(handle));
}

}  // namespace
}  // namespace plumeta::win32
