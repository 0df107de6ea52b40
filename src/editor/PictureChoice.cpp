#include "editor/PictureChoice.h"

#include <QFrame>
#include <QPainter>
#include <QVBoxLayout>

#include "contacts/ContactRecord.h"
#include "editor/LayoutCell.h"
#include "editor/PlaceholderBitmap.h"

namespace ab {

PictureFrame::PictureFrame(QFrame* frame, int placeholderBitmapId)
    : QWidget(frame), placeholderBitmapId_(placeholderBitmapId) {
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(this);
}

void PictureFrame::Show(const Picture* picture) {
  picture_ = picture;
  update();
}

void PictureFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_ != nullptr) {
    LayoutCell cell(CellRect{0, 0, width(), height()});
    cell.SetPicture(picture_);
    cell.DrawFitted(painter, 0, 0, 0);
  } else if (placeholderBitmapId_ != 0) {
    DrawPlaceholderBitmap(painter, placeholderBitmapId_, rect());
  }
}

void PictureChoice::Start(const ByteBuffer& recordBytes) {
  working_ = DecodePicture(recordBytes);
  removed_ = working_ == nullptr;
  changed_ = false;
  ShowWorking();
}

void PictureChoice::Browse(QWidget* owner) {
  FileNameBuffer chosen;
  PrepareFileDialog(owner, FILTER_BMP);
  if (!ShowOpenFileDialog(owner, chosen, nullptr) || chosen.empty()) return;
  path_ = chosen;
  working_ = std::make_unique<Picture>();
  working_->LoadFromFile(path_.str());
  changed_ = true;
  removed_ = false;
  ShowWorking();
}

void PictureChoice::Remove() {
  working_.reset();
  removed_ = true;
  ShowWorking();
}

void PictureChoice::ApplyTo(ContactRecord& record, void (ContactRecord::*set)(ByteBuffer)) {
  if (removed_) {
    (record.*set)(ByteBuffer());
  } else if (changed_) {
    // A file gone since it was chosen leaves the record without a picture.
    ByteBuffer bytes;
    ReadWholeFile(path_.str(), bytes);
    (record.*set)(std::move(bytes));
  }
  Reset();
}

void PictureChoice::Reset() {
  working_.reset();
  ShowWorking();
}

void PictureChoice::ShowWorking() {
  if (frame_ != nullptr) frame_->Show(working_.get());
}

}  // namespace ab
