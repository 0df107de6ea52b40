#include "editor/PlaceholderBitmap.h"

#include <QPainter>
#include <QPixmap>
#include <QRect>

#include <algorithm>

#include "resources/ResourceLibrary.h"

namespace ab {

bool DrawPlaceholderBitmap(QPainter& painter, int bitmapId, const QRect& rect) {
  const QPixmap bitmap = LoadResourceBitmap(bitmapId);
  if (bitmap.isNull()) return false;
  if (rect.width() <= 0 || rect.height() <= 0) return true;
  // The bitmap's own pixels, one for one, whatever the screen's scale.
  const QRect part(0, 0, std::min(rect.width(), bitmap.width()), std::min(rect.height(), bitmap.height()));
  painter.drawPixmap(QRect(rect.topLeft(), part.size()), bitmap, part);
  return true;
}

}  // namespace ab
