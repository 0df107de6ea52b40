#pragma once
// A Picture as a QImage to draw: a BMP's kept pixels top row first, in the
// picture's own colours (the colour table for 1, 4 and 8 bits per pixel, 5-5-5
// RGB for 16, BGR bytes for 24 and BGRX for 32, the fourth byte ignored), a
// JPEG, PNG or GIF picture decoded by Qt's image readers.

#include <QImage>

namespace ab {

class Picture;

// A BMP picture's pixels; a null image for an empty picture, one that is no
// BMP, or one whose blocks do not agree with its header.
QImage PictureToImage(const Picture& picture);

// What the drawing layer keeps with a picture (Picture::DrawCache).
class PictureDrawCache {
 public:
  QImage image;
};

// The picture as drawn, Width() x Height() pixels, decoded at the first call
// and kept with the picture until it changes; a null image when it does not
// decode.
const QImage& DrawnImage(const Picture& picture);

}  // namespace ab
