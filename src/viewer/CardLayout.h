#pragma once
// The business card's fixed grid: 17 rectangles in content coordinates, whose
// origin lies 30 pixels right of and 50 below the card's top-left corner.
// Rows 0 and 1 hold the logo and the photo, row 3 is the separator bar, the
// others are texts with their colour and alignment.

#include <QColor>
#include <QPoint>

#include <array>

#include "editor/LayoutCell.h"

namespace ab {

inline constexpr int kCardWidth = 640;
inline constexpr int kCardHeight = 500;
inline constexpr QPoint kContentOrigin(30, 50);  // the content's origin, from the card's corner
inline constexpr int kCardRows = 17;
inline constexpr int kPictureCells = 2;

// Where the sound button sits on the card, and its size.
inline constexpr QPoint kSoundButtonPosition(458, 240);
inline constexpr int kSoundButtonSize = 36;

enum CardRow {
  ROW_LOGO = 0,
  ROW_PHOTO = 1,
  ROW_COMPANY = 2,
  ROW_SEPARATOR = 3,
  ROW_ADDRESS_CAPTION = 4,
  ROW_PHONE_CAPTION = 5,
  ROW_FAX_CAPTION = 6,
  ROW_EMAIL_CAPTION = 7,
  ROW_WEB_CAPTION = 8,
  ROW_ADDRESS = 9,
  ROW_PHONE = 10,
  ROW_FAX = 11,
  ROW_EMAIL = 12,
  ROW_WEB_PAGE = 13,
  ROW_NAME = 14,
  ROW_TITLE = 15,
  ROW_DEPARTMENT = 16,
};

// Strings of the resource library: the captions of rows 4 to 8, in order.
inline constexpr int kFirstCaptionString = 74;
inline constexpr int kCaptionCount = 5;

struct CardRowStyle {
  CellRect rect;
  QColor colour;  // the text colour, or the fill of the separator
  int alignment;  // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter
};

extern const std::array<CardRowStyle, kCardRows> cardLayout;

inline const QColor kMarginGrey(128, 128, 128);
inline const QColor kCardWhite(255, 255, 255);
inline const QColor kGridGrey(200, 200, 200);  // the separator bar and the cell frames

}  // namespace ab
