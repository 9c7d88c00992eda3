// The arithmetic of the Windows dialog view, apart from any window: a grid
// of cells sized to their contents, stretched to the space it is given, and
// the Alt+letter each caption underlines.
#pragma once

#include "platform/forms/StdCtrls.h"

#include <set>
#include <string>
#include <vector>

namespace platform::win32 {

struct CellBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One control in its parent's grid: where it sits, the size its contents
// need and how it takes the space of its cell.
struct GridCell {
    TGridPlace place;
    int width = 0;
    int height = 0;
    bool fillsWidth = false;   // else aligned by `alignment` in its cell
    bool fillsHeight = false;  // else centred in its cell
    bool expandsWidth = false;
    bool expandsHeight = false;
    TAlignment alignment = TAlignment::taLeftJustify;
};

class GridLayout {
public:
    // Columns and rows just wide and high enough for every cell; a cell that
    // spans several widens the last of them.
    GridLayout(const std::vector<GridCell>& cells, int columnGap, int rowGap);

    int Width() const;
    int Height() const;
    // Each cell's box for a grid stretched to width x height (no smaller
    // than Width() x Height()): the spare space goes in equal parts to the
    // columns and rows that hold expanding cells.
    std::vector<CellBox> Arrange(int width, int height) const;

private:
    std::vector<GridCell> cells_;
    std::vector<int> columns_;
    std::vector<int> rows_;
    int columnGap_;
    int rowGap_;
};

// The caption with an '&' before the letter Alt+letter will reach: the first
// letter of a word not in `taken`, else any such letter, else none; an '&'
// of the caption itself is doubled. The chosen letter joins `taken`.
std::string WithMnemonic(const std::string& caption, std::set<char>& taken);

// The caption shown as is, its '&' not taken for a mnemonic.
std::string WithoutMnemonic(const std::string& caption);

}  // namespace platform::win32
