// Which pixels GDI's figures cover: box edges, outlines against fills,
// small ellipses, lines without their end point, even-odd polygons, and
// clipping at the target's edges.
#include "GdiTestTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr COLORREF kPen = RGB(255, 0, 0);
constexpr COLORREF kBrush = RGB(0, 255, 0);
constexpr COLORREF kBack = RGB(0, 0, 0);

using Rows = std::vector<std::string>;

// Keeps the test's pen and brush selected into a context for one scope.
class Selection {
public:
    Selection(HDC dc, HPEN pen, HBRUSH brush)
        : dc_(dc), oldPen_(SelectObject(dc, pen)), oldBrush_(SelectObject(dc, brush)) {}
    ~Selection() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

class FigureTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(DeleteObject(pen_)) << "the pen is still selected somewhere";
        EXPECT_TRUE(DeleteObject(brush_));
    }
    // Kept in a variable declared after the target, the selection ends
    // before the target goes.
    [[nodiscard]] Selection Use(const TestTarget& target) {
        dc_ = target.dc();
        return Selection(dc_, pen_, brush_);
    }
    static Rows Picture(const TestTarget& target) {
        return target.Picture({{kPen, '#'}, {kBrush, 'o'}, {kBack, '.'}});
    }

    HPEN pen_ = CreatePen(PS_SOLID, 1, kPen);
    HBRUSH brush_ = CreateSolidBrush(kBrush);
    HDC dc_ = nullptr;  // the target in use
};

TEST_F(FigureTest, RectangleCoversItsBoxWithoutRightAndBottomEdges) {
    TestTarget target(10, 6);
    const Selection selected = Use(target);
    EXPECT_TRUE(Rectangle(dc_, 1, 1, 6, 5));
    Rectangle(dc_, 9, 3, 8, 0);  // corners swapped, one column wide
    Rectangle(dc_, 7, 5, 7, 2);  // no width: nothing
    EXPECT_EQ(Picture(target), (Rows{
                                   "........#.",
                                   ".#####..#.",
                                   ".#ooo#..#.",
                                   ".#ooo#....",
                                   ".#####....",
                                   "..........",
                               }));
}

TEST_F(FigureTest, SmallEllipses) {
    TestTarget target(16, 4);
    const Selection selected = Use(target);
    Ellipse(dc_, 0, 0, 1, 1);
    Ellipse(dc_, 2, 0, 4, 2);
    Ellipse(dc_, 5, 0, 8, 3);
    Ellipse(dc_, 9, 0, 13, 4);
    EXPECT_EQ(Picture(target), (Rows{
                                   "#.##.###..##....",
                                   "..##.#o#.#oo#...",
                                   ".....###.#oo#...",
                                   "..........##....",
                               }));
}

TEST_F(FigureTest, ThinEllipsesStillReachEverySideOfTheirBox) {
    TestTarget target(20, 20);
    const Selection selected = Use(target);
    Ellipse(dc_, 0, 0, 2, 16);
    Ellipse(dc_, 4, 4, 19, 7);
    const Rows picture = Picture(target);
    const auto painted = [&](int x, int y) { return picture[y][x] != '.'; };
    for (int y = 0; y < 16; ++y) EXPECT_TRUE(painted(0, y) && painted(1, y)) << y;
    EXPECT_FALSE(painted(0, 16));
    EXPECT_TRUE(painted(4, 5) && painted(18, 5) && painted(11, 4) && painted(11, 6));
    EXPECT_FALSE(painted(19, 5) || painted(4, 4));
}

TEST_F(FigureTest, LineStopsBeforeItsEndPointAndMovesTheCurrentPosition) {
    TestTarget target(6, 5);
    const Selection selected = Use(target);
    POINT previous{-1, -1};
    EXPECT_TRUE(MoveToEx(dc_, 0, 0, nullptr));
    EXPECT_TRUE(LineTo(dc_, 4, 0));
    EXPECT_TRUE(LineTo(dc_, 4, 3));
    EXPECT_TRUE(LineTo(dc_, 1, 0));  // diagonal back
    EXPECT_TRUE(LineTo(dc_, 1, 0));  // to itself: nothing
    EXPECT_TRUE(MoveToEx(dc_, 5, 4, &previous));
    EXPECT_EQ(previous.x, 1);
    EXPECT_EQ(previous.y, 0);
    EXPECT_EQ(Picture(target), (Rows{
                                   "#####.",
                                   "..#.#.",
                                   "...##.",
                                   "....#.",
                                   "......",
                               }));
}

TEST_F(FigureTest, PolygonIsFilledInsideAndOutlinedThroughEveryVertex) {
    // Unlike Rectangle's, the outline follows the path itself, so the right
    // and bottom edges are drawn.
    TestTarget target(8, 8);
    const Selection selected = Use(target);
    const POINT triangle[] = {{0, 0}, {6, 0}, {0, 6}};
    EXPECT_TRUE(Polygon(dc_, triangle, 3));
    EXPECT_EQ(Picture(target), (Rows{
                                   "#######.",
                                   "#oooo#..",
                                   "#ooo#...",
                                   "#oo#....",
                                   "#o#.....",
                                   "##......",
                                   "#.......",
                                   "........",
                               }));
}

TEST_F(FigureTest, SelfCrossingPolygonLeavesItsDoublyCoveredMiddleEmpty) {
    TestTarget target(41, 41);
    const Selection selected = Use(target);
    std::vector<POINT> star;
    for (int k = 0; k < 5; ++k) {
        const double angle = (-90.0 + 144.0 * k) * 3.14159265358979 / 180.0;
        star.push_back(
            {LONG(std::lround(20 + 19 * std::cos(angle))), LONG(std::lround(20 + 19 * std::sin(angle)))});
    }
    Polygon(dc_, star.data(), 5);
    EXPECT_EQ(target.At(20, 20), kBack);
    EXPECT_EQ(target.At(20, 7), kBrush);  // inside the top arm
    EXPECT_EQ(target.At(20, 1), kPen);    // the top vertex
}

TEST_F(FigureTest, FiguresAreClippedToTheTarget) {
    TestTarget target(6, 4);
    const Selection selected = Use(target);
    Rectangle(dc_, -3, -3, 3, 2);
    Ellipse(dc_, 3, 2, 9, 8);
    const POINT outside[] = {{-50, -50}, {100, -40}, {100, -10}};
    Polygon(dc_, outside, 3);
    // Only the visible part of a long line is walked.
    MoveToEx(dc_, -100000000, 3, nullptr);
    LineTo(dc_, 100000000, 3);
    EXPECT_TRUE(target.GuardsIntact());
    EXPECT_EQ(Picture(target), (Rows{
                                   "oo#...",
                                   "###...",
                                   "....##",
                                   "######",
                               }));
}

TEST_F(FigureTest, BadArgumentsAreRefusedAndDrawNothing) {
    TestTarget target(4, 4);
    const Selection selected = Use(target);
    const POINT one[] = {{1, 1}};
    const POINT far[] = {{0, 0}, {1 << 28, 0}, {0, 3}};
    EXPECT_FALSE(Polygon(dc_, one, 1));
    EXPECT_FALSE(Polygon(dc_, nullptr, 3));
    EXPECT_FALSE(Polygon(dc_, far, 3));
    EXPECT_FALSE(Ellipse(dc_, 0, 0, 1 << 28, 3));
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 2, 2));
    EXPECT_FALSE(MoveToEx(nullptr, 2, 2, nullptr));
    EXPECT_EQ(Picture(target), (Rows{"....", "....", "....", "...."}));
}

TEST_F(FigureTest, FiguresDrawTheSameShapeInEveryFormat) {
    for (int bpp : {16, 24}) {
        TestTarget reference(10, 8);
        TestTarget target(10, 8, bpp);
        const POINT hand[] = {{5, 0}, {8, 4}, {5, 5}, {2, 4}};
        for (TestTarget* t : {&reference, &target}) {
            const Selection selected = Use(*t);
            Ellipse(dc_, 0, 3, 5, 8);
            Polygon(dc_, hand, 4);
            MoveToEx(dc_, 9, 0, nullptr);
            LineTo(dc_, 6, 7);
        }
        EXPECT_EQ(Picture(target), Picture(reference)) << bpp;
        EXPECT_TRUE(target.GuardsIntact());
    }
}

}  // namespace
