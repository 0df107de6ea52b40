#include "app/ContactListModel.h"

#include <algorithm>
#include <utility>

#include "contacts/CardStore.h"

namespace ab {

ContactListModel::ContactListModel(QIcon icon, std::array<QString, kListColumns> headings, QObject* parent)
    : QAbstractTableModel(parent), icon_(std::move(icon)), headings_(std::move(headings)) {}

bool ContactListModel::InsertRow(int row) {
  if (row < 0 || row > rows_ || rows_ >= kMaxContacts) return false;
  beginInsertRows(QModelIndex(), row, row);
  ++rows_;
  endInsertRows();
  return true;
}

void ContactListModel::RemoveLastRow() {
  if (rows_ == 0) return;
  beginRemoveRows(QModelIndex(), rows_ - 1, rows_ - 1);
  --rows_;
  endRemoveRows();
}

void ContactListModel::RefreshRows(int first, int last) {
  if (rows_ == 0) return;
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (first > last) return;
  emit dataChanged(index(first, 0), index(last, kListColumns - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

int ContactListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ContactListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kListColumns; }

QString ContactListModel::CellText(int row, int column) {
  if (row < 0 || row >= kMaxContacts) return {};
  const ContactRow& slot = contactTable[static_cast<std::size_t>(row)];
  switch (column) {
    case 0: return QString::fromUtf8(slot.displayName.view());
    case 1: return QString::fromUtf8(slot.email.view());
    case 2: return QString::fromUtf8(slot.workPhone.view());
    case 3: return QString::fromUtf8(slot.homePhone.view());
    default: return {};
  }
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    // The icon views cut long names; the whole name is a hover away.
    case Qt::ToolTipRole: return index.column() == 0 ? CellText(index.row(), 0) : QVariant();
    case Qt::DecorationRole: return index.column() == 0 ? QVariant(icon_) : QVariant();
    default: return {};
  }
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kListColumns) return {};
  if (role == Qt::DisplayRole) return headings_[static_cast<std::size_t>(section)];
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

Qt::ItemFlags ContactListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace ab
