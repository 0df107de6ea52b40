#pragma once
// Painting a record as the 640 x 500 business card.

#include <QFont>
#include <QSize>

class QPainter;

namespace ab {

class ContactRecord;
struct CardCells;

// The cell-frame switch: when set, every card paints the outlines of its 17
// rows. Off at start; the contact list toggles it with the Escape key.
extern bool showCellFrames;

// Paints `record` (none: an empty card) as a card whose top-left corner lies
// at (dx, dy) of a client area of `clientSize`, redrawing the whole client
// area: white, or grey around the card when the card is centred (dx or dy
// above 0). The cells get their texts and pictures first, and keep them for
// the viewer's hit-tests until the next paint.
void PaintCard(QPainter& painter, const QSize& clientSize, int dx, int dy, CardCells& cells,
               const ContactRecord* record);

// The font every text of the card is drawn in: the application's standard font.
QFont CardFont();

}  // namespace ab
