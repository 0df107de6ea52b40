#pragma once
// A photo or logo being chosen on an editor page: the working picture its
// frame shows, the BMP file chosen with Browse, and whether apply replaces or
// removes the record's picture. Whichever of Browse and Remove came last wins.

#include <QWidget>

#include <memory>

#include "editor/FileDialogs.h"
#include "media/ByteBuffer.h"
#include "media/Picture.h"

class QFrame;

namespace ab {

class ContactRecord;

// Draws a picture fitted into a frame of a page template, anchored at its
// top-left corner; without a picture, the placeholder bitmap (none for 0).
// A picture that did not decode leaves the frame blank.
class PictureFrame : public QWidget {
 public:
  PictureFrame(QFrame* frame, int placeholderBitmapId);
  void Show(const Picture* picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Picture* picture_ = nullptr;
  int placeholderBitmapId_;
};

class PictureChoice {
 public:
  // The frame must outlive the choice's use; it shows the working picture.
  void Attach(PictureFrame* frame) { frame_ = frame; }

  // Starts from the record's bytes: their picture, or none (and removed) when there are none.
  void Start(const ByteBuffer& recordBytes);
  // Asks for a BMP file, the name field empty; a confirmed file becomes the working picture.
  void Browse(QWidget* owner);
  void Remove();
  // Removes the record's picture or stores the chosen file's bytes with `set`
  // (ContactRecord::SetPhoto or SetLogo), then drops the working picture.
  void ApplyTo(ContactRecord& record, void (ContactRecord::*set)(ByteBuffer));
  // Drops the working picture; the record is not touched.
  void Reset();

 private:
  void ShowWorking();

  PictureFrame* frame_ = nullptr;
  std::unique_ptr<Picture> working_;
  FileNameBuffer path_;
  bool changed_ = false;
  bool removed_ = true;
};

}  // namespace ab
