// Loading and releasing the resource library, and the lookups themselves, on
// the product bundle and on the tests' own bundle of odd resources.
#include "resources/ResourceLibrary.h"

#include "support/BundlePaths.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QResource>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace ab {
namespace {

using test::ProductBundle;
using test::TestBundle;

// One of every kind of lookup, each answering whether it found its resource
// in the product bundle.
struct Lookup {
  const char* name;
  std::function<bool()> succeeds;
};

std::vector<Lookup> EveryLookup() {
  return {
      {"string", [] { return !LoadResourceString(52).empty(); }},
      {"string into a buffer", [] { return !LoadResourceString(52, 16).empty(); }},
      {"text", [] { return !LoadResourceText(6, 32).isEmpty(); }},
      {"menu bar", [] { return LoadResourceMenuBar(154) != nullptr; }},
      {"popup menu", [] { return LoadResourceMenu(155) != nullptr; }},
      {"accelerators", [] { return !LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel")).empty(); }},
      {"icon", [] { return !LoadResourceIcon(130).isNull(); }},
      {"bitmap", [] { return !LoadResourceBitmap(201).isNull(); }},
      {"cursor", [] { return LoadResourceCursor(527).has_value(); }},
  };
}

void ExpectEveryLookup(bool succeeds) {
  for (const Lookup& lookup : EveryLookup()) {
    EXPECT_EQ(lookup.succeeds(), succeeds) << lookup.name;
  }
}

bool BundleIsMapped() { return QFile::exists(QStringLiteral(":/OSTREL_RC/strings.txt")); }

class ResourceLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(resourceLibrary, nullptr) << "an earlier test left the library loaded"; }
  void TearDown() override {
    if (resourceLibrary != nullptr) FreeResourceLibrary();
  }
};

TEST_F(ResourceLibraryTest, LoadedBundleAnswersEveryLookup) {
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  EXPECT_NE(resourceLibrary, nullptr);
  ExpectEveryLookup(true);
}

TEST_F(ResourceLibraryTest, WithoutALibraryEveryLookupFails) {
  ExpectEveryLookup(false);
  EXPECT_FALSE(FreeResourceLibrary());  // nothing to release
}

TEST_F(ResourceLibraryTest, AMissingOrBrokenBundleLeavesTheLibraryNull) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString garbage = dir.filePath(QStringLiteral("OSTREL_RC.dll"));
  {
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("MZ this is no resource bundle");
  }
  const QString paths[] = {dir.filePath(QStringLiteral("absent.dll")), garbage, dir.path(), QString()};
  for (const QString& path : paths) {
    EXPECT_FALSE(LoadResourceLibrary(path)) << path.toStdString();
    EXPECT_EQ(resourceLibrary, nullptr);
    ExpectEveryLookup(false);
  }
}

TEST_F(ResourceLibraryTest, FailedLoadReleasesTheLibraryLoadedBefore) {
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  EXPECT_FALSE(LoadResourceLibrary(QStringLiteral("/nonexistent/OSTREL_RC.dll")));
  EXPECT_EQ(resourceLibrary, nullptr);
  EXPECT_FALSE(BundleIsMapped());
  ExpectEveryLookup(false);
}

TEST_F(ResourceLibraryTest, LoadFreeAndReload) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
    ExpectEveryLookup(true);
    EXPECT_TRUE(FreeResourceLibrary());
    EXPECT_EQ(resourceLibrary, nullptr);
    EXPECT_FALSE(BundleIsMapped()) << "the bundle must really be unregistered";
    ExpectEveryLookup(false);
  }
}

TEST_F(ResourceLibraryTest, LoadingAnotherBundleReplacesTheFirst) {
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  EXPECT_TRUE(LoadResourceString(52).empty());  // only the product bundle has a title
  EXPECT_EQ(LoadResourceMenuBar(154), nullptr);
  EXPECT_FALSE(LoadResourceString(301).empty());
  EXPECT_TRUE(FreeResourceLibrary());
  EXPECT_FALSE(BundleIsMapped());
}

// What the lookups hand out is independent of the bundle: it stays usable after
// the release, and it does not keep Qt from releasing the bundle.
TEST_F(ResourceLibraryTest, LookupResultsOutliveTheLibrary) {
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  const std::string title = LoadResourceString(52);
  const auto menuBar = LoadResourceMenuBar(154);
  const auto popup = LoadResourceMenu(155);
  const auto accelerators = LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel"));
  const QIcon icon = LoadResourceIcon(401);
  const QPixmap bitmap = LoadResourceBitmap(201);
  const auto cursor = LoadResourceCursor(527);
  const QByteArray missingDialog = LoadDialogTemplate(500);

  EXPECT_TRUE(FreeResourceLibrary());
  EXPECT_FALSE(BundleIsMapped());

  EXPECT_FALSE(title.empty());
  ASSERT_NE(menuBar, nullptr);
  EXPECT_NE(FindCommandAction(menuBar.get(), 112), nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(FindCommandAction(popup.get(), 102), nullptr);
  EXPECT_FALSE(accelerators.empty());
  EXPECT_FALSE(icon.pixmap(16, 16).isNull());
  EXPECT_FALSE(icon.pixmap(32, 32).isNull());
  EXPECT_FALSE(bitmap.isNull());
  ASSERT_TRUE(cursor.has_value());
  EXPECT_FALSE(cursor->pixmap().isNull());
}

// While a QFile on the bundle is open, Qt reports the release as refused: the
// bundle is unlisted at once but stays in memory until that file is gone. The
// library is null either way, and it loads again afterwards.
TEST_F(ResourceLibraryTest, ReleaseWhileAFileIsOpenStillEndsTheLibrary) {
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  {
    QFile held(QStringLiteral(":/OSTREL_RC/strings.txt"));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_FALSE(FreeResourceLibrary());
    EXPECT_EQ(resourceLibrary, nullptr);
    EXPECT_FALSE(BundleIsMapped());
    ExpectEveryLookup(false);
    EXPECT_FALSE(held.readAll().isEmpty()) << "the open file still reads";
  }
  ASSERT_TRUE(LoadResourceLibrary(ProductBundle()));
  ExpectEveryLookup(true);
  EXPECT_TRUE(FreeResourceLibrary());
}

TEST_F(ResourceLibraryTest, StringsAreCutLikeAFixedBuffer) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  // String 300 is 253 "a", an "é" (2 bytes) and 45 "b": 300 bytes.
  const std::string full = LoadResourceString(300);
  ASSERT_EQ(full.size(), 300u);
  EXPECT_EQ(LoadResourceString(300, 255), std::string(253, 'a'));  // the "é" would end at byte 255
  EXPECT_EQ(LoadResourceString(300, 256), full.substr(0, 255));
  EXPECT_EQ(LoadResourceString(300, 301), full);
  EXPECT_EQ(LoadResourceString(300, 1000), full);
  EXPECT_EQ(LoadResourceString(300, 1), "");

  EXPECT_EQ(LoadResourceText(301, 8), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
  EXPECT_EQ(LoadResourceText(301, 7), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"));
  EXPECT_EQ(LoadResourceText(301, 100), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e aus \xE4\xB8\xAD\xE5\x9B\xBD"));

  EXPECT_EQ(LoadResourceString(999), "");
  EXPECT_EQ(LoadResourceString(-1), "");
}

TEST_F(ResourceLibraryTest, MenusCarryCommandIdsAtEveryDepth) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  const auto bar = LoadResourceMenuBar(901);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 3);

  EXPECT_EQ(SubMenu(bar.get(), 0), nullptr);  // a command, not a popup
  QMenu* first = SubMenu(bar.get(), 1);
  QMenu* second = SubMenu(bar.get(), 2);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->title(), QStringLiteral("&First"));
  EXPECT_EQ(SubMenu(bar.get(), 3), nullptr);
  EXPECT_EQ(SubMenu(bar.get(), -1), nullptr);
  EXPECT_EQ(SubMenu(nullptr, 0), nullptr);

  QAction* top = FindCommandAction(bar.get(), 130);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->text(), QStringLiteral("&Top Command"));
  EXPECT_EQ(top->data().typeId(), QMetaType::Int);

  // The first item with an ID wins, depth first, as ticking and greying by ID expects.
  QAction* grayed = FindCommandAction(bar.get(), 131);
  ASSERT_NE(grayed, nullptr);
  EXPECT_EQ(grayed->text(), QStringLiteral("&One"));
  EXPECT_FALSE(grayed->isEnabled());
  QAction* again = FindCommandAction(second, 131);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->text(), QStringLiteral("One &again"));
  EXPECT_TRUE(again->isEnabled());

  QAction* deep = FindCommandAction(bar.get(), 132);
  ASSERT_NE(deep, nullptr);
  EXPECT_TRUE(deep->isCheckable());
  EXPECT_TRUE(deep->isChecked());
  EXPECT_EQ(FindCommandAction(first, 132), deep);

  EXPECT_EQ(FindCommandAction(bar.get(), 999), nullptr);
  EXPECT_EQ(FindCommandAction(nullptr, 130), nullptr);
}

TEST_F(ResourceLibraryTest, APopupMenuOwnsItsSubmenus) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  auto menu = LoadResourceMenu(901);
  ASSERT_NE(menu, nullptr);
  QPointer<QMenu> first = SubMenu(menu.get(), 1);
  QPointer<QMenu> nested = SubMenu(first, 2);
  ASSERT_FALSE(first.isNull());
  ASSERT_FALSE(nested.isNull());
  EXPECT_EQ(first->actions().size(), 3);
  EXPECT_TRUE(first->actions().at(1)->isSeparator());
  menu.reset();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(nested.isNull());
}

TEST_F(ResourceLibraryTest, MalformedOrMissingResourcesFailTheirLookup) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  EXPECT_EQ(LoadResourceMenuBar(900), nullptr);  // a command without text
  EXPECT_EQ(LoadResourceMenu(900), nullptr);
  EXPECT_EQ(LoadResourceMenu(999), nullptr);
  EXPECT_TRUE(LoadResourceAccelerators(QStringLiteral("Broken")).empty());  // one unknown key spoils the table
  EXPECT_TRUE(LoadResourceAccelerators(QStringLiteral("Missing")).empty());
  EXPECT_TRUE(LoadResourceAccelerators(QStringLiteral("../strings")).empty());
  EXPECT_TRUE(LoadResourceAccelerators(QString()).empty());
  EXPECT_TRUE(LoadResourceIcon(700).isNull());  // its only image is not an image
  EXPECT_TRUE(LoadResourceIcon(999).isNull());
  EXPECT_TRUE(LoadResourceBitmap(999).isNull());
  EXPECT_FALSE(LoadResourceCursor(999).has_value());
  EXPECT_TRUE(LoadDialogTemplate(598).isEmpty());
}

TEST_F(ResourceLibraryTest, CursorWithoutHotSpotUsesTheCentre) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  const auto cursor = LoadResourceCursor(701);
  ASSERT_TRUE(cursor.has_value());
  EXPECT_EQ(cursor->hotSpot(), QPoint(16, 16));
}

TEST_F(ResourceLibraryTest, DialogTemplatesComeAsFormBytes) {
  ASSERT_TRUE(LoadResourceLibrary(TestBundle()));
  const QByteArray form = LoadDialogTemplate(599);
  EXPECT_TRUE(form.startsWith("<?xml"));
  EXPECT_TRUE(form.contains("name=\"ctl1\""));
  EXPECT_TRUE(FreeResourceLibrary());
  EXPECT_TRUE(LoadDialogTemplate(599).isEmpty());
}

}  // namespace
}  // namespace ab
