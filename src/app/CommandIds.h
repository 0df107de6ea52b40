#pragma once
// The command IDs of the main window. Menu items, accelerators, keys and
// gestures all end as one of these numbers in MainWindow::OnCommand.

namespace ab {

inline constexpr int kNewContactCommand = 100;
inline constexpr int kEditContactCommand = 102;
inline constexpr int kDeleteContactCommand = 103;
inline constexpr int kExitCommand = 104;
inline constexpr int kSortByNameCommand = 112;  // 112 + column, up to 115
inline constexpr int kSortByHomePhoneCommand = 115;
inline constexpr int kImportVCardCommand = 116;
inline constexpr int kExportVCardCommand = 118;
inline constexpr int kExportAllVCardCommand = 119;  // every contact into one vCard file
inline constexpr int kLargeIconsCommand = 120;
inline constexpr int kSmallIconsCommand = 121;
inline constexpr int kListCommand = 122;
inline constexpr int kDetailsCommand = 123;
inline constexpr int kSplitViewCommand = 124;
inline constexpr int kSiblingMailCommand = 125;
inline constexpr int kComposeMailToCommand = 126;
inline constexpr int kImportCsvCommand = 134;
inline constexpr int kExportCsvCommand = 135;
inline constexpr int kInformationCommand = 140;

// The contact list control's ID; notifications from any other control are ignored.
inline constexpr int kContactListControlId = 122;

}  // namespace ab
