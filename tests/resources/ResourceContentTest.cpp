// The product's resource library: every string the program reads fits the
// buffer it reads it into, and the main menu matches the commands and keys.
#include "resources/ResourceLibrary.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include "support/BundlePaths.h"

namespace ab {
namespace {

TEST(ResourceContent, StringsFitTheirBuffersAndOnlyQuestionsAsk) {
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  const std::pair<std::vector<int>, int> buffers[] = {  // the string IDs read into a buffer of that many bytes
      {{6}, 32}, {{43}, 20}, {{52, 74, 75, 76, 77, 78}, 16}, {{14, 15, 23, 28}, 260},
      {{12, 13, 29, 38, 42, 71, 72, 79, 80, 81, 82, 83, 84, 90, 91}, 255}};
  for (const auto& [ids, capacity] : buffers) {
    for (int id : ids) {
      const std::string text = LoadResourceString(id);
      EXPECT_TRUE(!text.empty() && LoadResourceString(id, capacity) == text) << id;
      const bool question = id == 38 || id == 42 || id == 71;
      EXPECT_EQ(!text.empty() && text.back() == '?', question) << id;
    }
  }
  FreeResourceLibrary();
}

// Each command is on the main menu once (ticking and greying act on the first
// item of an ID), and a key shown beside an item sends the item's command.
TEST(ResourceContent, MainMenuCommandsAndTheirKeys) {
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  const auto bar = LoadResourceMenuBar(154);
  const auto keys = LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel"));
  ASSERT_TRUE(bar && !keys.empty());
  std::vector<QAction*> items;
  for (const QMenu* menu : bar->findChildren<QMenu*>())
    for (QAction* item : menu->actions())
      if (!item->isSeparator() && !item->menu()) items.push_back(item);
  std::multiset<int> commands;
  for (QAction* item : items) commands.insert(item->data().toInt());
  for (int command : commands) EXPECT_EQ(commands.count(command), 1u) << command;
  for (QAction* item : items) {
    const QKeySequence shown(item->text().section(QLatin1Char('\t'), 1), QKeySequence::PortableText);
    const int command = item->data().toInt();
    const auto bound = std::find_if(keys.begin(), keys.end(), [&](const Accelerator& a) { return a.keys == shown; });
    if (shown == QKeySequence(Qt::Key_Insert) || shown == QKeySequence(Qt::Key_Delete)) {
      EXPECT_EQ(command, shown == QKeySequence(Qt::Key_Insert) ? 100 : 103);  // the list's own keys
    } else if (!shown.isEmpty()) {
      EXPECT_TRUE(bound != keys.end() && bound->command == command) << item->text().toStdString();
    }
  }
  for (const Accelerator& accelerator : keys) EXPECT_EQ(commands.count(accelerator.command), 1u);
  FreeResourceLibrary();
}

}  // namespace
}  // namespace ab
