// Picture::Draw, kept apart from the decoder so that the decoder needs no Qt.

#include <QPainter>
#include <QRect>

#include <algorithm>

#include "media/Picture.h"
#include "editor/PictureImage.h"

namespace ab {

int Picture::Draw(QPainter& painter, const QRect& source, const QRect& destination) const {
  if (IsEmpty() || source.width() <= 0 || source.height() <= 0 || destination.width() <= 0 ||
      destination.height() <= 0) {
    return 0;
  }
  const QRect kept = source.intersected(QRect(0, 0, Width(), Height()));
  if (kept.isEmpty()) return 0;
  const QImage& image = DrawnImage(*this);
  if (image.isNull()) return 0;

  // Every destination pixel takes the colour of one source pixel, never a blend.
  const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(destination, image, source);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  return kept.height();
}

}  // namespace ab
