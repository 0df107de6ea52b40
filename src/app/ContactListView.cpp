#include "app/ContactListView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/ContactList.h"
#include "app/WindowMessages.h"
#include "contacts/CardStore.h"
#include "viewer/CardPaint.h"
#include "viewer/CardViewer.h"

namespace ab {

ContactListView contactListView;

namespace {

// The icon as the list shows it on a selected row: half in the highlight colour.
QPixmap Blended(const QPixmap& pixmap, QColor colour) {
  QPixmap out = pixmap;
  QPainter painter(&out);
  painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  colour.setAlphaF(0.5);
  painter.fillRect(out.rect(), colour);
  return out;
}

Qt::Alignment ColumnAlignment(const ReportView& list, int column) {
  const QVariant format = list.model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole);
  const auto horizontal = Qt::Alignment(format.toInt()) & Qt::AlignHorizontal_Mask;
  if (horizontal & Qt::AlignRight) return Qt::AlignRight;
  if (horizontal & Qt::AlignHCenter) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

void DrawCellText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment alignment) {
  // One line, no mnemonics: an "&" in a name shows as itself.
  const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, rect.width()));
  painter.drawText(rect, static_cast<int>(alignment | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

// The new row of a key that moves currentRow, or nothing.
std::optional<int> KeyTarget(int key, int firstSelected) {
  switch (key) {
    case Qt::Key_Up: return firstSelected - 1;
    case Qt::Key_Down: return firstSelected + 1;
    case Qt::Key_Home: return 0;
    case Qt::Key_End: return contactCount - 1;
    default: return std::nullopt;
  }
}

}  // namespace

ContactListView::~ContactListView() { Detach(); }

int ContactListView::Attach() {
  if (list_ == nullptr) return 0;
  Detach();
  list_->reportView()->installEventFilter(this);
  list_->iconView()->installEventFilter(this);
  attachedTo_ = list_;
  return 1;
}

void ContactListView::Detach() {
  if (attachedTo_ != nullptr) {
    attachedTo_->reportView()->removeEventFilter(this);
    attachedTo_->iconView()->removeEventFilter(this);
  }
  attachedTo_ = nullptr;
}

bool ContactListView::WindowProc(QObject* watched, QEvent* event) {
  if (list_ == nullptr) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      // The list first, so it knows its focus when the selection is repainted.
      QPointer<QObject> alive(watched);
      watched->event(event);
      if (alive) OnFocusChange(event->type() == QEvent::FocusOut ? QApplication::focusWidget() : nullptr);
      return true;
    }
    case QEvent::KeyPress: break;
    default: return false;
  }

  const int key = static_cast<QKeyEvent*>(event)->key();
  QWidget* mainWindow = list_->window();
  QPointer<QObject> alive(watched);
  if (key == Qt::Key_Escape) {
    showCellFrames = !showCellFrames;
    if (viewerWindow != nullptr) viewerWindow->Invalidate();
  } else if (key == Qt::Key_Insert) {
    SendCommand(mainWindow, kNewContactCommand);
  } else if (key == Qt::Key_Delete) {
    SendCommand(mainWindow, kDeleteContactCommand);
  } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
             (static_cast<QKeyEvent*>(event)->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // Enter opens the selected contact; Alt+Return comes as the accelerator.
    SendCommand(mainWindow, kEditContactCommand);
  } else if (const auto target = KeyTarget(key, list_->FirstSelectedRow())) {
    if (IsValidRow(*target) && *target != currentRow) {
      currentRow = *target;
      if (viewerWindow != nullptr) {
        LoadCurrentRowCard();
        viewerWindow->Invalidate();
      }
    }
  }
  // A command may have destroyed the view; then the key ends here.
  return alive == nullptr;
}

void ContactListView::OnFocusChange(QWidget* other) {
  if (list_ == nullptr) return;
  // The heading or an edit box inside the list taking the focus changes nothing.
  if (other != nullptr && list_->view()->isAncestorOf(other)) return;
  if (list_->viewType() == ListStyle::Report) RepaintSelection();
}

void ContactListView::RepaintSelection() {
  if (list_ == nullptr) return;
  const int row = list_->FocusedRow();
  if (row < 0) return;
  const ReportView* report = list_->reportView();
  const QRect bounds = report->RowBounds(row);
  QRect dirty = bounds;
  dirty.setLeft(report->LabelRect(row).left());
  report->viewport()->repaint(dirty);
}

void ContactListView::DrawRow(QPainter& painter, const ReportView& list, int row) const {
  painter.save();
  const QModelIndex index = list.model()->index(row, 0);
  // The list always shows its selection, with or without the focus.
  const bool highlighted = list.selectionModel()->isSelected(index);
  const bool focused = list.selectionModel()->currentIndex().row() == row;

  const QRect bounds = list.RowBounds(row);
  const QRect label = list.LabelRect(row);
  const QRect icon = list.IconRect(row);
  const int offset = 2 * painter.fontMetrics().horizontalAdvance(QLatin1Char(' '));

  QRect highlight = bounds;
  highlight.setLeft(label.left());
  const QPalette& palette = list.palette();
  const QColor text = highlighted ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                  : palette.color(QPalette::Active, QPalette::Text);
  const QColor fill = highlighted ? palette.color(QPalette::Active, QPalette::Highlight)
                                  : palette.color(QPalette::Active, QPalette::Base);
  painter.fillRect(highlight, fill);
  painter.setPen(text);

  QRect column0 = bounds;
  column0.setWidth(list.columnWidth(0));
  painter.setClipRect(column0);
  const QPixmap image = index.data(Qt::DecorationRole).value<QIcon>().pixmap(list.iconSize());
  if (!image.isNull()) painter.drawPixmap(icon.topLeft(), highlighted ? Blended(image, fill) : image);
  DrawCellText(painter, label.adjusted(offset / 2, 0, -offset, 0), index.data(Qt::DisplayRole).toString(),
               Qt::AlignLeft);

  painter.setClipRect(bounds);
  int left = column0.left() + column0.width();
  const int columns = list.header()->count();
  for (int column = 1; column < columns; ++column) {
    const QRect cell(left, bounds.top(), list.columnWidth(column), bounds.height());
    left += cell.width();
    const QString cellText =
        column < kListColumns ? list.model()->index(row, column).data(Qt::DisplayRole).toString() : QString();
    DrawCellText(painter, cell.adjusted(offset, 0, -offset, 0), cellText, ColumnAlignment(list, column));
  }

  if (focused && list.hasFocus()) {
    // A dotted frame of its own: styles such as Fusion draw focus frames
    // only after keyboard use.
    painter.setClipping(false);
    painter.setPen(QPen(text, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(highlight.adjusted(0, 0, -1, -1));
  }
  painter.restore();
}

}  // namespace ab
