#include "viewer/CardPaint.h"

#include <QGuiApplication>
#include <QPainter>

#include "contacts/ContactRecord.h"
#include "viewer/CardLayout.h"
#include "viewer/CardTexts.h"

namespace ab {

bool showCellFrames = false;

QFont CardFont() { return QGuiApplication::font(); }

void PaintCard(QPainter& painter, const QSize& clientSize, int dx, int dy, CardCells& cells,
               const ContactRecord* record) {
  FillCardCells(cells, record);
  const QRect client(QPoint(0, 0), clientSize);
  // The whole client area is redrawn every time, starting from the white background.
  painter.fillRect(client, kCardWhite);
  if (dx > 0 || dy > 0) painter.fillRect(client, kMarginGrey);
  painter.fillRect(QRect(dx, dy, kCardWidth, kCardHeight), kCardWhite);

  const int cx = dx + kContentOrigin.x();
  const int cy = dy + kContentOrigin.y();
  if (record != nullptr && record->logoPicture) cells.pictureCells[0].DrawFitted(painter, cx, cy, 0);
  if (record != nullptr && record->photoPicture) cells.pictureCells[1].DrawFitted(painter, cx, cy, 1);

  cells.cardCells[ROW_SEPARATOR].FillOrFrame(painter, cx, cy, QBrush(cardLayout[ROW_SEPARATOR].colour), 1);

  const QFont font = CardFont();
  for (int row = ROW_COMPANY; row < kCardRows; ++row) {
    if (row == ROW_SEPARATOR) continue;
    const CardRowStyle& style = cardLayout[static_cast<std::size_t>(row)];
    cells.cardCells[static_cast<std::size_t>(row)].DrawText(painter, cx, cy, style.colour, font, style.alignment);
  }

  if (showCellFrames) {
    const QBrush frame(kGridGrey);
    for (const LayoutCell& cell : cells.cardCells) cell.FillOrFrame(painter, cx, cy, frame, 0);
  }
}

}  // namespace ab
