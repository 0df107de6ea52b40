#pragma once
// A mail program's CSV export for the import benchmarks, made on the fly.

#include <string>

namespace ab::bench {

// A full export: every English heading and `rows` rows with names, two e-mail
// addresses, telephones, both addresses and a web page; other columns empty.
std::string EnglishExport(int rows);

// The export of `rows` rows written as `folder`/contacts.csv; its path.
std::string WriteExport(const std::string& folder, int rows);

}  // namespace ab::bench
