#include "calendargeometry.h"

#include <cmath>

TGridLayout LayoutGrid(int clientWidth, int clientHeight, int col0Width)
{
    TGridLayout layout;
    const int h = (clientHeight - kHeaderHeight) / 6;
    layout.rowHeights[0] = kHeaderHeight;
    for (int row = 1; row <= 5; ++row)
        layout.rowHeights[row] = h - 1;
    layout.rowHeights[6] = clientHeight - kHeaderHeight - 5 * (h - 1);

    const int w = (clientWidth - col0Width) / 7;
    layout.colWidths[0] = col0Width;
    for (int col = 1; col <= 7; ++col)
        layout.colWidths[col] = w - 1;
    layout.colWidths[8] = clientWidth - col0Width - 7 * (w - 1);
    return layout;
}

QRect GridRectFor(const QSize &control, bool showTitle)
{
    if (showTitle) return {8, 40, control.width() - 15, control.height() - 67};
    return {2, 2, control.width() - 4, control.height() - 4};
}

int EntryOfCell(int col, int row)
{
    return col + 7 * (row - 1);
}

QPoint CellOfEntry(int t)
{
    return {(t - 1) % 7 + 1, (t - 1) / 7 + 1};
}

QRect CellRectOf(const std::array<int, kGridCols> &colWidths,
                 const std::array<int, kGridRows> &rowHeights, int col, int row)
{
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += colWidths[c];
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += rowHeights[r];
    return {x, y, colWidths[col], rowHeights[row]};
}

std::optional<QPoint> CellAtPoint(const std::array<int, kGridCols> &colWidths,
                                  const std::array<int, kGridRows> &rowHeights, const QPoint &point)
{
    if (point.x() < 0 || point.y() < 0) return std::nullopt;
    int col = 0;
    for (int x = point.x(); col < kGridCols && x >= colWidths[col]; ++col)
        x -= colWidths[col];
    int row = 0;
    for (int y = point.y(); row < kGridRows && y >= rowHeights[row]; ++row)
        y -= rowHeights[row];
    if (col >= kGridCols || row >= kGridRows) return std::nullopt;
    return QPoint(col, row);
}

std::optional<QRect> FitPicture(const QSize &picture, const QSize &box, bool center)
{
    if (picture.height() <= 0 || picture.width() < 0) return std::nullopt;
    const double ratio = static_cast<double>(picture.width()) / picture.height();
    int width = 0;
    int height = 0;
    if (picture.height() < picture.width()) {
        width = box.width();
        height = static_cast<int>(std::trunc(box.width() / ratio));
        if (height > box.height()) {
            height = box.height();
            width = static_cast<int>(std::trunc(box.height() * ratio));
        }
    } else {
        height = box.height();
        width = static_cast<int>(std::trunc(box.height() * ratio));
        if (width > box.width()) {
            width = box.width();
            height = static_cast<int>(std::trunc(box.width() / ratio));
        }
    }
    QRect result(0, 0, width, height);
    if (center) result.translate((box.width() - width) / 2, (box.height() - height) / 2);
    return result;
}
