#include "editor/LayoutCell.h"

#include <QPainter>
#include <QString>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

#include "contacts/StoredText.h"
#include "media/Picture.h"

namespace ab {

void LayoutCell::FillOrFrame(QPainter& painter, int dx, int dy, const QBrush& brush, int fill) const {
  const QRect r = rect_.Moved(dx, dy);
  if (r.isEmpty()) return;
  if (fill != 0) {
    painter.fillRect(r, brush);
    return;
  }
  // Four one-pixel strips, so the border lies exactly on the rectangle's own pixels.
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), brush);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), brush);
  painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), brush);
  painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), brush);
}

bool LayoutCell::HitTest(int dx, int dy, const QPoint& point) const {
  return point.x() >= rect_.left + dx && point.x() < rect_.right + dx && point.y() >= rect_.top + dy &&
         point.y() < rect_.bottom + dy;
}

void LayoutCell::DrawText(QPainter& painter, int dx, int dy, const QColor& colour, const QFont& font,
                          int format) const {
  if (IsBlank(text_)) return;
  painter.setFont(font);
  painter.setPen(colour);
  const QRect box = rect_.Moved(dx, dy);
  if (box.width() <= 0 || box.height() <= 0) return;

  QTextOption option(Qt::Alignment::fromInt(format & Qt::AlignHorizontal_Mask));
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // Each stored line break is a CR LF; a lone CR or LF breaks the line too.
  QString text = QString::fromUtf8(text_);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QChar::LineSeparator);

  QTextLayout layout(text, font, painter.device());
  layout.setTextOption(option);
  layout.beginLayout();
  qreal y = 0;
  int lines = 0;
  while (true) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(box.width());
    // Like a multi-line edit control: no partly visible line below the first.
    if (lines > 0 && y + line.height() > box.height()) break;
    line.setPosition(QPointF(0, y));
    y += line.height();
    ++lines;
  }
  layout.endLayout();

  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  for (int i = 0; i < lines; ++i) layout.lineAt(i).draw(&painter, box.topLeft());
  painter.restore();
}

QRect LayoutCell::FittedRect(const CellRect& cell, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const float scale = std::min(static_cast<float>(cell.Width()) / static_cast<float>(width),
                               static_cast<float>(cell.Height()) / static_cast<float>(height));
  const float right = scale * static_cast<float>(width);
  const float bottom = scale * static_cast<float>(height);
  return QRect(cell.left, cell.top, static_cast<int>(right), static_cast<int>(bottom));
}

void LayoutCell::DrawFitted(QPainter& painter, int dx, int dy, int shadow) const {
  if (picture_ == nullptr || picture_->IsEmpty()) return;
  const QRect source(0, 0, picture_->Width(), picture_->Height());
  const QRect destination = FittedRect(rect_, source.width(), source.height()).translated(dx, dy);
  if (shadow != 0) painter.fillRect(destination.translated(kShadowOffset, kShadowOffset), kShadowColour);
  picture_->Draw(painter, source, destination);
}

}  // namespace ab
