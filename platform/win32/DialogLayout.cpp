#include "platform/win32/DialogLayout.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace platform::win32 {
namespace {

int Span(const std::vector<int>& tracks, int first, int count, int gap) {
    int extent = 0;
    for (int index = first; index < first + count; ++index) extent += tracks[std::size_t(index)];
    return extent + gap * std::max(count - 1, 0);
}

int Extent(const std::vector<int>& tracks, int gap) { return Span(tracks, 0, int(tracks.size()), gap); }

// Widens `tracks` so that every item fits its span: single tracks first,
// then spanning items widen the last track they cover.
template <class StartOf, class CountOf, class SizeOf>
void FitTracks(std::vector<int>& tracks, const std::vector<GridCell>& cells, int gap, StartOf start,
               CountOf count, SizeOf size) {
    for (const GridCell& cell : cells) {
        if (count(cell) == 1) {
            int& track = tracks[std::size_t(start(cell))];
            track = std::max(track, size(cell));
        }
    }
    for (const GridCell& cell : cells) {
        if (count(cell) == 1) continue;
        const int missing = size(cell) - Span(tracks, start(cell), count(cell), gap);
        if (missing > 0) tracks[std::size_t(start(cell) + count(cell) - 1)] += missing;
    }
}

// Shares `spare` among the tracks marked in `grows` (all of them when none is).
std::vector<int> Stretched(std::vector<int> tracks, const std::vector<bool>& grows, int spare) {
    if (spare <= 0 || tracks.empty()) return tracks;
    const auto growing = std::count(grows.begin(), grows.end(), true);
    if (growing == 0) return tracks;
    int left = int(growing);
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        if (!grows[index]) continue;
        const int share = spare / left;
        tracks[index] += share;
        spare -= share;
        --left;
    }
    return tracks;
}

int Offset(const std::vector<int>& tracks, int index, int gap) {
    return std::accumulate(tracks.begin(), tracks.begin() + index, 0) + gap * index;
}

}  // namespace

GridLayout::GridLayout(const std::vector<GridCell>& cells, int columnGap, int rowGap)
    : cells_(cells), columnGap_(columnGap), rowGap_(rowGap) {
    int columnCount = 0;
    int rowCount = 0;
    for (const GridCell& cell : cells_) {
        columnCount = std::max(columnCount, cell.place.Column + std::max(cell.place.ColumnSpan, 1));
        rowCount = std::max(rowCount, cell.place.Row + std::max(cell.place.RowSpan, 1));
    }
    columns_.assign(std::size_t(columnCount), 0);
    rows_.assign(std::size_t(rowCount), 0);
    FitTracks(
        columns_, cells_, columnGap_, [](const GridCell& cell) { return cell.place.Column; },
        [](const GridCell& cell) { return std::max(cell.place.ColumnSpan, 1); },
        [](const GridCell& cell) { return cell.width + cell.place.Indent; });
    FitTracks(
        rows_, cells_, rowGap_, [](const GridCell& cell) { return cell.place.Row; },
        [](const GridCell& cell) { return std::max(cell.place.RowSpan, 1); },
        [](const GridCell& cell) { return cell.height; });
}

int GridLayout::Width() const { return Extent(columns_, columnGap_); }

int GridLayout::Height() const { return Extent(rows_, rowGap_); }

std::vector<CellBox> GridLayout::Arrange(int width, int height) const {
    std::vector<bool> growingColumns(columns_.size(), false);
    std::vector<bool> growingRows(rows_.size(), false);
    for (const GridCell& cell : cells_) {
        for (int column = 0; cell.expandsWidth && column < std::max(cell.place.ColumnSpan, 1); ++column)
            growingColumns[std::size_t(cell.place.Column + column)] = true;
        for (int row = 0; cell.expandsHeight && row < std::max(cell.place.RowSpan, 1); ++row)
            growingRows[std::size_t(cell.place.Row + row)] = true;
    }
    const std::vector<int> columns = Stretched(columns_, growingColumns, width - Width());
    const std::vector<int> rows = Stretched(rows_, growingRows, height - Height());

    std::vector<CellBox> boxes;
    boxes.reserve(cells_.size());
    for (const GridCell& cell : cells_) {
        const int columnSpan = std::max(cell.place.ColumnSpan, 1);
        const int rowSpan = std::max(cell.place.RowSpan, 1);
        const int cellLeft = Offset(columns, cell.place.Column, columnGap_) + cell.place.Indent;
        const int cellTop = Offset(rows, cell.place.Row, rowGap_);
        const int cellWidth = Span(columns, cell.place.Column, columnSpan, columnGap_) - cell.place.Indent;
        const int cellHeight = Span(rows, cell.place.Row, rowSpan, rowGap_);
        CellBox box;
        box.width = cell.fillsWidth ? cellWidth : std::min(cell.width, cellWidth);
        box.height = cell.fillsHeight ? cellHeight : std::min(cell.height, cellHeight);
        box.left = cellLeft;
        if (!cell.fillsWidth && cell.alignment == TAlignment::taRightJustify)
            box.left += cellWidth - box.width;
        if (!cell.fillsWidth && cell.alignment == TAlignment::taCenter)
            box.left += (cellWidth - box.width) / 2;
        box.top = cellTop + (cellHeight - box.height) / 2;
        boxes.push_back(box);
    }
    return boxes;
}

std::string WithoutMnemonic(const std::string& caption) {
    std::string shown;
    for (const char character : caption) {
        if (character == '&') shown += '&';
        shown += character;
    }
    return shown;
}

std::string WithMnemonic(const std::string& caption, std::set<char>& taken) {
    auto free = [&](std::size_t index) {
        const auto character = static_cast<unsigned char>(caption[index]);
        return std::isalnum(character) != 0 && taken.count(char(std::tolower(character))) == 0;
    };
    std::size_t chosen = std::string::npos;
    for (std::size_t index = 0; index < caption.size() && chosen == std::string::npos; ++index) {
        const bool startsWord =
            index == 0 || std::isspace(static_cast<unsigned char>(caption[index - 1])) != 0;
        if (startsWord && free(index)) chosen = index;
    }
    for (std::size_t index = 0; index < caption.size() && chosen == std::string::npos; ++index) {
        if (free(index)) chosen = index;
    }
    if (chosen == std::string::npos) return WithoutMnemonic(caption);
    taken.insert(char(std::tolower(static_cast<unsigned char>(caption[chosen]))));
    return WithoutMnemonic(caption.substr(0, chosen)) + '&' + WithoutMnemonic(caption.substr(chosen));
}

}  // namespace platform::win32
