#include "editor/LayoutCell.h"

#include <gtest/gtest.h>

#include <tuple>

namespace ab {
namespace {

TEST(LayoutCell, HitTestLeavesTheRightAndBottomEdgesOutside) {
  const LayoutCell cell(CellRect{70, 360, 310, 384});
  const std::tuple<int, int, QPoint, bool> cases[] = {
      {0, 0, {70, 360}, true}, {0, 0, {309, 383}, true}, {0, 0, {310, 370}, false}, {0, 0, {100, 384}, false},
      {30, 50, {100, 410}, true}, {30, 50, {99, 410}, false}, {30, 50, {340, 433}, false}};
  for (const auto& [dx, dy, point, inside] : cases)
    EXPECT_EQ(cell.HitTest(dx, dy, point), inside) << point.x() << "," << point.y() << " moved by " << dx << "," << dy;
}

}  // namespace
}  // namespace ab
