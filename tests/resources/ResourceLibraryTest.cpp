// Loading and releasing the resource library, and the lookups, on the product
// bundle and on the tests' own bundle of odd resources.
#include "resources/ResourceLibrary.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/BundlePaths.h"

namespace ab {
namespace {

// How many of the kinds of lookup find their resource in the product bundle.
int LookupsThatSucceed() {
  return !LoadResourceString(52).empty() + !LoadResourceText(6, 32).isEmpty() + (LoadResourceMenuBar(154) != nullptr) +
         (LoadResourceMenu(155) != nullptr) + !LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel")).empty() +
         !LoadResourceIcon(130).isNull() + !LoadResourceBitmap(201).isNull() + LoadResourceCursor(527).has_value();
}

bool BundleIsMapped() { return QFile::exists(QStringLiteral(":/OSTREL_RC/strings.txt")); }

TEST(ResourceLibrary, LoadsReleasesAndFailsWhole) {
  EXPECT_EQ(LookupsThatSucceed(), 0);
  EXPECT_FALSE(FreeResourceLibrary());
  QTemporaryDir dir;
  QFile garbage(dir.filePath(QStringLiteral("OSTREL_RC.dll")));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly) && garbage.write("MZ no bundle") > 0);
  garbage.close();
  for (const QString& path : {dir.filePath(QStringLiteral("absent.dll")), garbage.fileName(), dir.path(), QString()}) {
    ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
    EXPECT_EQ(LookupsThatSucceed(), 8);
    EXPECT_FALSE(LoadResourceLibrary(path)) << path.toStdString();  // and releases the one before
    EXPECT_TRUE(resourceLibrary == nullptr && !BundleIsMapped());
    EXPECT_EQ(LookupsThatSucceed(), 0);
  }
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  ASSERT_TRUE(LoadResourceLibrary(test::TestBundle()));  // replaces the first
  EXPECT_EQ(LoadResourceString(52) + LoadResourceString(301, 8), "Gr\xC3\xBC\xC3\x9F" "e");
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  // What the lookups hand out stays usable after the release.
  const auto menuBar = LoadResourceMenuBar(154);
  const QIcon icon = LoadResourceIcon(401);
  const auto cursor = LoadResourceCursor(527);
  EXPECT_TRUE(FreeResourceLibrary());
  EXPECT_TRUE(menuBar && FindCommandAction(menuBar.get(), 112));
  EXPECT_FALSE(icon.pixmap(16, 16).isNull() || icon.pixmap(32, 32).isNull() || cursor->pixmap().isNull());
}

TEST(ResourceLibrary, OddResourcesAndNestedMenusOfTheTestBundle) {
  ASSERT_TRUE(LoadResourceLibrary(test::TestBundle()));
  const std::string full = LoadResourceString(300);  // 253 "a", an "é" and 45 "b"
  ASSERT_EQ(full.size(), 300u);
  EXPECT_EQ(LoadResourceString(300, 255), std::string(253, 'a'));
  EXPECT_EQ(LoadResourceString(300, 256) + "|" + LoadResourceString(300, 301), full.substr(0, 255) + "|" + full);
  EXPECT_EQ(LoadResourceText(301, 7), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"));
  EXPECT_TRUE(LoadResourceString(999).empty() && !LoadResourceMenu(900) && !LoadResourceMenuBar(900));  // 900: no text
  for (const char* name : {"Broken", "Missing", "../strings"}) EXPECT_TRUE(LoadResourceAccelerators(name).empty()) << name;
  EXPECT_TRUE(LoadResourceIcon(700).isNull() && LoadResourceBitmap(999).isNull() && !LoadResourceCursor(999));
  EXPECT_EQ(LoadResourceCursor(701)->hotSpot(), QPoint(16, 16));  // no hot spot given: the centre
  EXPECT_TRUE(LoadDialogTemplate(599).contains("name=\"ctl1\"") && LoadDialogTemplate(598).isEmpty());
  // Submenus belong to their menu; the first item of an ID wins, depth first.
  const auto bar = LoadResourceMenuBar(901);
  auto menu = LoadResourceMenu(901);
  ASSERT_TRUE(bar && menu);
  QMenu* second = SubMenu(bar.get(), 2);
  EXPECT_TRUE(!SubMenu(bar.get(), 0) && !SubMenu(bar.get(), 3) && !SubMenu(bar.get(), -1) && !SubMenu(nullptr, 0));
  EXPECT_EQ(FindCommandAction(bar.get(), 130)->text(), QStringLiteral("&Top Command"));
  EXPECT_FALSE(FindCommandAction(bar.get(), 131)->isEnabled());
  EXPECT_EQ(FindCommandAction(second, 131)->text(), QStringLiteral("One &again"));
  EXPECT_TRUE(FindCommandAction(bar.get(), 132)->isChecked() && FindCommandAction(bar.get(), 132)->isCheckable());
  EXPECT_TRUE(!FindCommandAction(bar.get(), 999) && !FindCommandAction(nullptr, 130));
  EXPECT_TRUE(SubMenu(SubMenu(menu.get(), 1), 2) && SubMenu(menu.get(), 1)->actions().at(1)->isSeparator());
  EXPECT_TRUE(FreeResourceLibrary());
  EXPECT_TRUE(LoadDialogTemplate(599).isEmpty());
}

}  // namespace
}  // namespace ab
