#pragma once
// A program folder of the tests' own cards, the resource library, and a main
// window over them, as start-up leaves it; everything is put back afterwards.

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/BundlePaths.h"
#include "support/DialogAnswers.h"
#include "app/AppState.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "resources/ResourceLibrary.h"
#include "app/WindowMessages.h"
#include "contacts/CardStore.h"
#include "support/TempFolder.h"
#include "viewer/CardPaint.h"
#include "viewer/CardViewer.h"

namespace ab::testing {

struct CardSpec {
  std::string name;  // FN
  std::string email = {};
  std::string workPhone = {};
  std::string homePhone = {};
};

inline std::string CardText(const CardSpec& card) {
  std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\nN:" + card.name + ";;;;\r\nFN:" + card.name + "\r\n";
  for (const auto& [field, value] : {std::pair{"EMAIL;PREF;INTERNET:", card.email}, {"TEL;WORK;VOICE:", card.workPhone},
                                     {"TEL;HOME;VOICE:", card.homePhone}})
    if (!value.empty()) text += field + value + "\r\n";
  return text + "END:VCARD\r\n";
}

// Ten contacts with Latin and Chinese names, some fields empty, a name too long
// for its column, and telephones in no order.
inline std::vector<CardSpec> SampleContacts() {
  return {
      {"Ann Smith", "ann@example.com", "555-0101", "555-1901"}, {"bob jones", "b.jones@example.com", "555-0120", "555-1801"},
      {"Carla Díaz", "b-jones@example.com", "555-0103", "555-1701"}, {"王小明", "wang@example.cn", "021-5550106", "021-5551401"},
      {"Frank O'Neil", "frank@example.com", "555-0108", ""}, {"Grace Hopper", "grace@example.com", "", "555-1101"},
      {"Ivan Petrov", "", "555-0111", "555-0901"}, {"Peggy Sue", "peggy@example.com", "555-0119", "555-0101"},
      {"Olivia Newton-John, a name far too long to fit in its column", "olivia@example.com", "555-0118", "555-0201"},
      {"_underscore", "_x@example.com", "555-0100", "555-0001"},
  };
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    showCellFrames = false;
    ASSERT_TRUE(LoadResourceLibrary(ab::test::ProductBundle()));
    RegisterCardViewerClass();
  }

  void TearDown() override {
    CloseWindow();
    FreeResourceLibrary();
    currentRecord.reset();
    contactCount = 0, currentRow = -1;
  }

  // Writes the cards into VCardData and loads them as start-up does.
  void LoadCards(const std::vector<CardSpec>& cards) {
    std::filesystem::create_directory(folder_.File("VCardData"));
    for (std::size_t i = 0; i < cards.size(); ++i) folder_.Write("VCardData/card" + std::to_string(i) + ".vcf", CardText(cards[i]));
    ASSERT_EQ(LoadCardStore(folder_.path(), [](int) { return kAnswerNo; }), 1);
    ASSERT_EQ(contactCount, static_cast<int>(cards.size()));
  }

  // The main window over the loaded table, with currentRow as start-up sets it.
  MainWindow& OpenWindow(int startRow = 0) {
    currentRow = startRow;
    window_.reset(CreateMainWindow(QCoreApplication::instance()));
    window_->InstallAccelerators(LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel")));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    if (listWindow != nullptr) listWindow->setFocus();
    return *window_;
  }

  // Lists replaced by a rebuild go away once their event is done.
  static void FinishRebuild() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  void CloseWindow() {
    window_.reset();
    FinishRebuild();
  }

  static void Command(int id) {
    ASSERT_NE(listWindow, nullptr);
    SendCommand(listWindow->window(), id);
  }

  // Cancels the contact editor that the next command opens.
  void CancelNextEditor() { AnswerModal<QDialog>([](QDialog* sheet) { sheet->reject(); }, window_.get()); }

  static QAbstractItemView* View() { return listWindow->view(); }
  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }

  static void Key(int key) { QTest::keyClick(View(), static_cast<Qt::Key>(key)); }

  static bool Ticked(int id) { return FindCommandAction(mainMenu, id)->isChecked(); }

  static std::string Path(int row) { return contactTable[static_cast<std::size_t>(row)].filePath.str(); }

  TempFolder folder_;
  std::unique_ptr<MainWindow> window_;
};

// The same over the sample contacts.
class SampleContactsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(SampleContacts());
  }
};

}  // namespace ab::testing
