#pragma once
// Where the build puts the resource library and the tests' own small bundle.

#include <QString>

namespace ab::test {

inline QString ProductBundle() { return QStringLiteral(AB_PRODUCT_BUNDLE); }
inline QString TestBundle() { return QStringLiteral(AB_TEST_BUNDLE); }

}  // namespace ab::test
