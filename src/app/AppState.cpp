#include "app/AppState.h"

#include "app/CommandIds.h"

namespace ab {

QCoreApplication* programInstance = nullptr;
QMenuBar* mainMenu = nullptr;
ContactList* listWindow = nullptr;
CardViewer* viewerWindow = nullptr;
int sortCommand = kSortByNameCommand;
int viewCommand = kDetailsCommand;
ListStyle listStyle = ListStyle::Report;

void ResetAppState() {
  programInstance = nullptr;
  mainMenu = nullptr;
  listWindow = nullptr;
  viewerWindow = nullptr;
  sortCommand = kSortByNameCommand;
  viewCommand = kDetailsCommand;
  listStyle = ListStyle::Report;
}

ListStyle StyleOfViewCommand(int command) {
  switch (command) {
    case kLargeIconsCommand: return ListStyle::Icon;
    case kSmallIconsCommand: return ListStyle::SmallIcon;
    case kDetailsCommand: return ListStyle::Report;
    default: return ListStyle::List;  // 122 and the split view
  }
}

}  // namespace ab
