#pragma once

// Geometry of the month control as pure functions, so that layout and hit-testing can be
// checked without painting. Pixels; rectangles are in the coordinates named by each function.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

inline constexpr int kGridCols = 9; // week number, Sunday ... Saturday, spare strip
inline constexpr int kGridRows = 7; // weekday header, six weeks
inline constexpr int kHeaderHeight = 18;
inline constexpr int kWeekNumColWidth = 18; // column 0 while week numbers are shown
inline constexpr int kNarrowColWidth = 6;   // column 0 otherwise
inline constexpr int kCellEntries = 50;     // entries 1 ... 50 of the cell table
inline constexpr int kLastDayEntry = 37;    // a month never needs more
inline constexpr int kConstellationEntry = 40;
inline constexpr int kYearCycleEntry = 41;
inline constexpr int kAnimalEntry = 42;

struct TGridLayout {
    std::array<int, kGridCols> colWidths{};
    std::array<int, kGridRows> rowHeights{};
    friend bool operator==(const TGridLayout &, const TGridLayout &) = default;
};

// Shares a grid client area among the rows and columns: row 0 keeps its 18 px and column 0 the
// given width; the last row and the spare column take what the integer division leaves over.
TGridLayout LayoutGrid(int clientWidth, int clientHeight, int col0Width);

// The grid's place in the control: below the title bar, or filling it up to 2 px from each edge.
QRect GridRectFor(const QSize &control, bool showTitle);

// Entry t = col + 7 * (row - 1) of a day or title cell (col 1 ... 7, row 1 ... 6).
int EntryOfCell(int col, int row);
// (col, row) of entry t = 1 ... 50.
QPoint CellOfEntry(int t);

// Cell rectangle in grid coordinates for the given column widths and row heights.
QRect CellRectOf(const std::array<int, kGridCols> &colWidths,
                 const std::array<int, kGridRows> &rowHeights, int col, int row);
// (col, row) of the cell that holds a point in grid coordinates, nullopt outside all cells.
std::optional<QPoint> CellAtPoint(const std::array<int, kGridCols> &colWidths,
                                  const std::array<int, kGridRows> &rowHeights,
                                  const QPoint &point);

// The largest rectangle of the picture's aspect ratio inside the box, at 0, 0 or centred;
// nullopt when the picture has no height, so that nothing is drawn from it.
std::optional<QRect> FitPicture(const QSize &picture, const QSize &box, bool center);
