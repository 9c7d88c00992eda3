// The Windows dialog's grid and its Alt+letters.
#include "platform/win32/DialogLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using platform::win32::GridCell;
using platform::win32::GridLayout;
using platform::win32::WithMnemonic;

GridCell Cell(int row, int column, int width, int height, int columnSpan = 1) {
    GridCell cell;
    cell.place = {row, column, 1, columnSpan, false, 0};
    cell.width = width;
    cell.height = height;
    return cell;
}

TEST(DialogGrid, TracksFitTheirCellsAndASpanWidensItsLastColumn) {
    const GridLayout grid({Cell(0, 0, 50, 20), Cell(0, 1, 30, 10), Cell(1, 0, 200, 15, 2)}, 10, 5);
    EXPECT_EQ(grid.Width(), 200);  // 50 + 10 + 140
    EXPECT_EQ(grid.Height(), 40);  // 20 + 5 + 15
    const auto boxes = grid.Arrange(grid.Width(), grid.Height());
    EXPECT_EQ(boxes[1].left, 60);
    EXPECT_EQ(boxes[1].top, 5) << "a smaller cell is centred in its row";
    EXPECT_EQ(boxes[2].top, 25);
}

TEST(DialogGrid, SpareRoomGoesToExpandingColumnsAndAlignsTheRest) {
    GridCell stretching = Cell(0, 0, 40, 10);
    stretching.expandsWidth = true;
    stretching.fillsWidth = true;
    GridCell right = Cell(0, 1, 20, 10);
    right.alignment = TAlignment::taRightJustify;
    GridCell holder = Cell(1, 0, 10, 10, 2);
    holder.fillsWidth = true;
    holder.fillsHeight = true;
    holder.expandsHeight = true;
    const GridLayout grid({stretching, right, holder}, 0, 0);
    const auto boxes = grid.Arrange(100, 50);
    EXPECT_EQ(boxes[0].width, 80);
    EXPECT_EQ(boxes[1].left, 80);
    EXPECT_EQ(boxes[2].width, 100);
    EXPECT_EQ(boxes[2].height, 40);
}

TEST(DialogMnemonics, WordInitialsFirstThenAnyFreeLetter) {
    std::set<char> taken{'o', 'c'};
    EXPECT_EQ(WithMnemonic("Play Sound", taken), "&Play Sound");
    EXPECT_EQ(WithMnemonic("Show FPS", taken), "&Show FPS");
    EXPECT_EQ(WithMnemonic("Slow", taken), "S&low");
    EXPECT_EQ(WithMnemonic("Set color", taken), "S&et color");
    EXPECT_EQ(taken, (std::set<char>{'c', 'e', 'l', 'o', 'p', 's'}));
}

TEST(DialogMnemonics, AnAmpersandOfTheCaptionStaysText) {
    std::set<char> taken{'a', 'b'};
    EXPECT_EQ(WithMnemonic("A & B", taken), "A && B") << "no letter left";
    EXPECT_EQ(WithMnemonic("R&D", taken), "&R&&D");
}

}  // namespace
