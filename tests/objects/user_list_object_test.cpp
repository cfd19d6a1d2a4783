// The user list: learners of the users directory in display form, sorted
// ignoring case; typed names in display form; Enter.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "objects/user_list_object.h"
#include "support/objects_fixture.h"
#include "platform/program_location.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;

class UserListTest : public ObjectsTest {
 protected:
  UserListTest() {
    course_ = fs::path(::testing::TempDir()) / ("user_list_" + std::to_string(::getpid()));
    fs::remove_all(course_);
    fs::create_directories(course_);
    SetProgramPath((course_ / "course.vkbc").string());
  }
  ~UserListTest() override {
    std::error_code ignored;
    fs::remove_all(course_, ignored);
  }

  void AddUserFile(const std::string& name) {
    fs::create_directories(course_ / "users");
    std::ofstream(course_ / "users" / name).put('\n');
  }
  QComboBox& Box() {
    return *dynamic_cast<TVkUserListComboBoxObject&>(*manager->Find(users)).Control();
  }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < Box().count(); ++i) items << Box().itemText(i);
    return items;
  }

  fs::path course_;
  int32_t users = Create(ClassIndex::UserList);
};

TEST_F(UserListTest, ListsTheUsersInDisplayFormSortedIgnoringCase) {
  for (const char* file : {"MARY.vkr", "peter smith.vkr", "zoe.vkr", "MacLeod.vkr", "Mace.vkr", ".hidden.vkr",
                           "notes.txt", "j\xFCrgen.vkr"}) {
    AddUserFile(file);
  }
  fs::create_directories(course_ / "users" / "folder.vkr");
  Send(users, UserListMessage::SetText, {NewString("typed before")});
  Send(users, UserListMessage::FillUsers);
  EXPECT_EQ(Items(), (QStringList{"J\u00FCrgen", "Mace", "MacLeod", "Mary", "Peter smith", "Zoe"}));
  EXPECT_EQ(Box().currentText(), "") << "filling leaves no name chosen";
  EXPECT_EQ(SendForString(users, UserListMessage::UserName), "");
  // Filling again replaces the items.
  fs::remove(course_ / "users" / "zoe.vkr");
  Send(users, UserListMessage::FillUsers);
  EXPECT_EQ(Items().size(), 5);
}

TEST_F(UserListTest, NoUsersDirectoryGivesAnEmptyList) {
  Send(users, UserListMessage::FillUsers);
  EXPECT_EQ(Box().count(), 0);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(UserListTest, TypedNameComesBackInDisplayForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"  JOHN  ", "John"}, {"peter   smith", "Peter smith"}, {"McDonald", "McDonald"},
      {"\xDC" "BER", "\xDC" "ber"}, {"", ""},
  };
  for (auto [typed, shown] : cases) {
    Send(users, UserListMessage::SetText, {NewString(typed)});
    EXPECT_EQ(SendForString(users, UserListMessage::UserName), shown) << "'" << typed << "'";
  }
}

TEST_F(UserListTest, PlacesTheBoxAndRunsTheEnterHandlerWithoutAddingItems) {
  EXPECT_EQ(Box().parentWidget(), view->Background());
  EXPECT_EQ(Box().width(), 150);
  EXPECT_EQ(Box().maxVisibleItems(), 15);
  Send(users, UserListMessage::SetLeft, {12});
  Send(users, UserListMessage::SetTop, {34});
  Send(users, UserListMessage::SetWidth, {200});
  EXPECT_EQ(Box().pos(), QPoint(12, 34));
  EXPECT_EQ(Box().width(), 200);

  Send(users, UserListMessage::SetOnEnter, {Entry("count")});
  Send(users, UserListMessage::Focus);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Box().hasFocus(); }, 2000));
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClicks(focus, "anna");
  QTest::keyClick(focus, Qt::Key_Return);
  EXPECT_EQ(Global("ticks"), 1);
  EXPECT_EQ(Global("last"), users);
  EXPECT_EQ(Box().count(), 0) << "a typed name never becomes an item";
  EXPECT_EQ(SendForString(users, UserListMessage::UserName), "Anna");
}

TEST_F(UserListTest, EnterHandlerMayDestroyTheList) {
  Send(users, UserListMessage::SetOnEnter, {Entry("destroy")});
  QTest::keyClick(&Box(), Qt::Key_Return);
  EXPECT_FALSE(manager->IsLive(users));
  EXPECT_EQ(Boxes(), "");
}

}  // namespace
}  // namespace vork::testing
