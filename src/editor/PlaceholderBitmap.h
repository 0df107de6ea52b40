#pragma once
// Copies a bitmap of the resource library, unscaled, into a window.

class QPainter;
class QRect;

namespace ab {

// Draws bitmap `bitmapId` with its top-left corner at the rectangle's, cut to
// the rectangle's size. False, with nothing drawn, when the bitmap is missing.
bool DrawPlaceholderBitmap(QPainter& painter, int bitmapId, const QRect& rect);

}  // namespace ab
