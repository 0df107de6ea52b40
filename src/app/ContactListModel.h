#pragma once
// The rows of the contact list: row i shows contact table row i. The model
// keeps no texts; every cell is read from the table when a view asks for it,
// so a sort or an edit of the table shows as soon as the rows are redrawn.

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <array>

namespace ab {

inline constexpr int kListColumns = 4;

class ContactListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `icon` is the image of every row; `headings` the four column headings.
  ContactListModel(QIcon icon, std::array<QString, kListColumns> headings, QObject* parent = nullptr);

  // A new list row at `row`, bound to table row slot `row` (the table holds
  // its contents already). False when `row` lies outside 0..rows.
  bool InsertRow(int row);
  // Takes the last list row away; the others stay bound to their slots.
  void RemoveLastRow();
  // Shows the table's texts of rows first..last again.
  void RefreshRows(int first, int last);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Rows can be selected but never edited in place.
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const QIcon& icon() const { return icon_; }

  // The table text shown in `column` of table row `row`.
  static QString CellText(int row, int column);

 private:
  QIcon icon_;
  std::array<QString, kListColumns> headings_;
  int rows_ = 0;
};

}  // namespace ab
