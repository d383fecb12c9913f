#include "monitor/popup_menu.h"

#include <gtest/gtest.h>

namespace plumeta {
namespace {

TEST(PopupMenuTest, AutoCheckTogglesBeforeTheHandler) {
  PopupMenu menu("PopupMenu1");
  MenuItem& item = menu.Add("Item1", "Item");
  item.set_auto_check(true);
  item.set_checked(true);
  std::vector<bool> seen;
  item.set_on_click(
      [&](MenuItem& sender) { seen.push_back(sender.checked()); });
  EXPECT_TRUE(menu.Click("Item1"));
  EXPECT_TRUE(menu.Click("Item1"));
  EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST(PopupMenuTest, OnlyVisibleEnabledLeavesCanBeClicked) {
  PopupMenu menu("PopupMenu1");
  int clicks = 0;
  auto count = [&](MenuItem&) { ++clicks; };
  MenuItem& submenu = menu.Add("Sub1", "Sub");
  submenu.set_on_click(count);
  submenu.Add("Leaf1", "Leaf").set_on_click(count);
  menu.Add("N1", "-").set_on_click(count);
  MenuItem& hidden = menu.Add("Hidden1", "Hidden");
  hidden.set_visible(false);
  hidden.set_on_click(count);
  MenuItem& disabled = menu.Add("Disabled1", "Disabled");
  disabled.set_enabled(false);
  disabled.set_on_click(count);
  for (const char* name : {"Sub1", "N1", "Hidden1", "Disabled1", "Missing"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(menu.Click(name));
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(menu.Click("Leaf1"));
  EXPECT_EQ(clicks, 1);
}

TEST(PopupMenuTest, InsertPutsAnItemInItsPlace) {
  PopupMenu menu("PopupMenu1");
  menu.Add("A", "a");
  menu.Add("C", "c");
  menu.Insert("C", "B", "b");
  menu.Insert("Nowhere", "D", "d");
  std::string order;
  for (const auto& view : menu.View()) order += view.caption;
  EXPECT_EQ(order, "abcd");
}

}  // namespace
}  // namespace plumeta
