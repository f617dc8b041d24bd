#include "dialogs/AnchorGeometry.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
  ControlRect rect;
  bool moves;
  bool resizes;
};

void ExpectMove(const Expected& expected, const AnchorMove& move) {
  EXPECT_EQ(expected.rect.x, move.rect.x);
  EXPECT_EQ(expected.rect.y, move.rect.y);
  EXPECT_EQ(expected.rect.width, move.rect.width);
  EXPECT_EQ(expected.rect.height, move.rect.height);
  EXPECT_EQ(expected.moves, move.moves);
  EXPECT_EQ(expected.resizes, move.resizes);
}

TEST(AnchorGeometry, GrowingTheDialogMovesAndWidensControlsByTheirEdges) {
  const ControlRect start{100, 50, 60, 20};
  const struct {
    const char* name;
    AnchorEdges edges;
    Expected afterGrowing;  // the dialog grew 40 wide and 30 high
  } cases[] = {
      {"stays", {true, true, false, false}, {{100, 50, 60, 20}, false, false}},
      {"follows the bottom-right corner", {false, false, true, true}, {{140, 80, 60, 20}, true, true}},
      {"widens", {true, true, false, true}, {{100, 50, 100, 20}, false, true}},
      {"grows both ways", {true, true, true, true}, {{100, 50, 100, 50}, false, true}},
      {"moves down with the bottom edge", {false, true, true, false}, {{100, 80, 60, 20}, true, true}},
      {"moves right, keeping its top", {true, false, false, true}, {{140, 50, 60, 20}, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AnchorGeometry anchor(start, c.edges, 500, 400);
    ExpectMove(c.afterGrowing, anchor.Follow(540, 430));
  }
}

TEST(AnchorGeometry, EachChangeCountsFromTheLastSize) {
  AnchorGeometry anchor({10, 10, 50, 50}, {true, true, true, true}, 300, 200);
  anchor.Follow(340, 200);
  anchor.Follow(320, 260);
  const ControlRect rect = anchor.Rect();
  EXPECT_EQ(70, rect.width);
  EXPECT_EQ(110, rect.height);
}

TEST(AnchorGeometry, AControlThatOnlyMovesKeepsItsSize) {
  AnchorGeometry anchor({10, 10, 50, 20}, {false, false, false, false}, 300, 200);
  ExpectMove({{50, 40, 50, 20}, true, false}, anchor.Follow(340, 230));
  ExpectMove({{30, 20, 50, 20}, true, false}, anchor.Follow(320, 210));
}

}  // namespace
