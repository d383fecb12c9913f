#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/support/fake_dialogs.h"
#include "widgets/popup_menu.h"

namespace plumeta::widgets {
namespace {

using testing::CallLog;
using ::testing::ElementsAre;
using testing::FakeDialogs;

class WidgetPopupMenuTest : public ::testing::Test {
 protected:
  WidgetPopupMenuTest() {
    menu_.Items().Add("OpenMain1", "&Open Main Window").SetDefault(true);
    menu_.Items().Add("N5", "-");
    TMenuItem& quality = menu_.Items().Add("PDFEncryptDecrpt1", "PDF Quality");
    for (const char* name : {"Default1", "Screen1", "Ebook1"}) {
      TMenuItem& item = quality.Add(name, name);
      item.SetRadioItem(true);
      item.SetOnClick(Record());
    }
    quality.Item(0).SetChecked(true);
    TMenuItem& security = menu_.Items().Add("PDFLayout1", "PDF Security");
    TMenuItem& print = security.Add("Printdocument1", "Print document");
    print.SetAutoCheck(true);
    print.SetChecked(true);
    print.SetOnClick([this](TMenuItem& sender) {
      clicks_.push_back(sender.Name() +
                        (sender.Checked() ? " checked" : " unchecked"));
    });
    TMenuItem& hide = menu_.Items().Add("HideIcon1", "&Hide");
    hide.SetOnClick(Record());
  }

  TMenuItem::ClickEvent Record() {
    return [this](TMenuItem& sender) { clicks_.push_back(sender.Name()); };
  }

  CallLog log_;
  FakeDialogs dialogs_{log_};
  TPopupMenu menu_{dialogs_};
  std::vector<std::string> clicks_;
};

TEST_F(WidgetPopupMenuTest, PopupShowsTheTreeAndClicksTheChosenItem) {
  dialogs_.menu_choices.push_back("Screen1");

  menu_.Popup(300, 200);

  ASSERT_EQ(dialogs_.menus.size(), 1u);
  const std::vector<platform::MenuItemView>& shown = dialogs_.menus[0].items;
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].caption, "&Open Main Window");
  EXPECT_TRUE(shown[0].is_default);
  EXPECT_EQ(shown[2].items.size(), 3u);
  EXPECT_TRUE(shown[2].items[0].checked);
  EXPECT_TRUE(shown[2].items[0].radio);
  EXPECT_EQ(dialogs_.menus[0].at, (platform::Point{300, 200}));
  EXPECT_THAT(clicks_, ElementsAre("Screen1"));
}

TEST_F(WidgetPopupMenuTest, ClosingTheMenuWithoutChoiceClicksNothing) {
  menu_.Popup(0, 0);
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(WidgetPopupMenuTest, TickingARadioItemClearsItsGroup) {
  TMenuItem& ebook = *menu_.FindItem("Ebook1");
  ebook.SetChecked(true);
  EXPECT_FALSE(menu_.FindItem("Default1")->Checked());
  EXPECT_FALSE(menu_.FindItem("Screen1")->Checked());
  EXPECT_TRUE(ebook.Checked());
  EXPECT_TRUE(menu_.FindItem("Printdocument1")->Checked())
      << "items elsewhere in the menu are not in the group";
}

TEST_F(WidgetPopupMenuTest, AutoCheckFlipsTheTickBeforeTheHandlerRuns) {
  EXPECT_TRUE(menu_.Click("Printdocument1"));
  EXPECT_TRUE(menu_.Click("Printdocument1"));
  EXPECT_THAT(clicks_, ElementsAre("Printdocument1 unchecked",
                                   "Printdocument1 checked"));
}

TEST_F(WidgetPopupMenuTest, DisabledItemsAndUnknownNamesAreNotClicked) {
  menu_.FindItem("HideIcon1")->SetEnabled(false);
  EXPECT_TRUE(menu_.Click("HideIcon1"));
  EXPECT_FALSE(menu_.Click("NoSuchItem1"));
  EXPECT_FALSE(menu_.Click(""));
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(WidgetPopupMenuTest, ForgetsAPopupComponentThatIsDestroyed) {
  auto component = std::make_unique<TComponent>();
  menu_.SetPopupComponent(component.get());
  component.reset();
  EXPECT_EQ(menu_.PopupComponent(), nullptr);
}

}  // namespace
}  // namespace plumeta::widgets
