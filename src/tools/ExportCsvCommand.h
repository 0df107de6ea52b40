#pragma once
// addressbook-cli export-csv FOLDER OUT: every card of FOLDER, as the contact
// table lists them, into one CSV file.

#include <string>

namespace ab {

// Loads FOLDER as the card folder (it must exist), writes OUT and prints
// "exported N contacts" on stdout. 0 on success, 1 with a message on stderr
// when the folder cannot be used or the file cannot be written.
int RunExportCsv(const std::string& folder, const std::string& out);

}  // namespace ab
