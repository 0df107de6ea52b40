#pragma once
// A Picture's kept pixels as a QImage, top row first, in the picture's own
// colours: the colour table for 1, 4 and 8 bits per pixel, 5-5-5 RGB for 16,
// BGR bytes for 24 and BGRX for 32 (the fourth byte is ignored).

#include <QImage>

namespace ab {

class Picture;

// A null image for an empty picture or one whose blocks do not agree with its header.
QImage PictureToImage(const Picture& picture);

}  // namespace ab
