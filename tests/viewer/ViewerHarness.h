#pragma once
// Records to show, a viewer sized to a given client area, and its picture.

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <utility>

#include "contacts/CardStore.h"
#include "contacts/ContactRecord.h"
#include "viewer/CardViewer.h"
#include "support/TestBitmaps.h"
#include "support/TestWaves.h"

namespace ab::testing {

inline const QColor kLogoColour(20, 160, 60), kPhotoColour(200, 40, 160);

struct RecordOptions {
  bool logo = false, photo = false, sound = false;
};

// A business contact in the stored form, as the reader leaves it.
inline std::unique_ptr<ContactRecord> SampleRecord(const RecordOptions& options = {}) {
  auto record = std::make_unique<ContactRecord>();
  record->formattedName = "Ann Smith";
  record->orgName = "Acme Widgets", record->orgUnit = "Research", record->title = "Chief Engineer";
  record->workPhones[PHONE_VOICE].number = "+1 555 0100";
  record->workPhones[PHONE_FAX].number = "+1 555 0199";
  AddressEntry& work = record->addresses[SLOT_BUSINESS];
  work.street = "1 Main St", work.locality = "Springfield", work.postalCode = "K1A 0B1", work.country = "USA";
  record->emails[0].address = "ann@example.com";
  record->emails[1].address = "ann.smith@example.org";
  record->emails[1].flags = FLAG_PREF;
  record->emailCount = 2, record->preferredEmail = 1;
  record->urls[SLOT_BUSINESS].url = "http://www.example.com/";
  if (options.logo) record->SetLogo(BmpBuffer(SolidImage(400, 100, kLogoColour)));
  if (options.photo) record->SetPhoto(BmpBuffer(SolidImage(280, 360, kPhotoColour)));
  const std::string clip = PcmWave(1, 8000, 8, 800);
  if (options.sound) record->SetSound(ByteBuffer::Copy(clip.data(), static_cast<std::int64_t>(clip.size())));
  return record;
}

// Shows `record` as the current record for one test.
struct ShownRecord {
  explicit ShownRecord(std::unique_ptr<ContactRecord> record) { currentRecord = std::move(record); }
  ~ShownRecord() { currentRecord.reset(); }
  void Replace(std::unique_ptr<ContactRecord> record) { currentRecord = std::move(record); }
};

// Resizes the viewer until its client area (the viewport) is `client`, whatever scroll bars that takes.
inline bool SizeClient(CardViewer& viewer, const QSize& client) {
  QSize outer = client + QSize(2 * viewer.frameWidth(), 2 * viewer.frameWidth());
  for (int attempt = 0; attempt < 6 && viewer.viewport()->size() != client; ++attempt) {
    viewer.resize(outer);
    for (int i = 0; i < 2; ++i) QApplication::processEvents();
    outer += client - viewer.viewport()->size();
  }
  return viewer.viewport()->size() == client;
}

inline std::unique_ptr<CardViewer> ShownViewer(const QSize& client) {
  auto viewer = std::make_unique<CardViewer>();
  viewer->show();
  if (!QTest::qWaitForWindowExposed(viewer.get()) || !SizeClient(*viewer, client)) return nullptr;
  return viewer;
}

inline QImage ClientImage(CardViewer& viewer) {
  viewer.viewport()->repaint();
  return viewer.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Scrolls through the bar as a released thumb would.
inline void DragThumbTo(QScrollBar* bar, int position) {
  bar->setSliderDown(true);
  bar->setSliderPosition(position);
  bar->setSliderDown(false);
}

}  // namespace ab::testing
