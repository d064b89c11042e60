#include "dategrid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace
{
// The framework's default cell size, kept until the owner lays the grid out.
constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;
} // namespace

TDateGrid::TDateGrid(QWidget *parent) : QWidget(parent)
{
    FColWidths.fill(kDefaultColWidth);
    FRowHeights.fill(kDefaultRowHeight);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TDateGrid::setColWidths(int col, int width)
{
    FColWidths[col] = std::max(0, width);
    update();
}

void TDateGrid::setRowHeights(int row, int height)
{
    FRowHeights[row] = std::max(0, height);
    update();
}

void TDateGrid::setLayout(const TGridLayout &layout)
{
    for (int col = 0; col < kGridCols; ++col)
        FColWidths[col] = std::max(0, layout.colWidths[col]);
    for (int row = 0; row < kGridRows; ++row)
        FRowHeights[row] = std::max(0, layout.rowHeights[row]);
    update();
}

void TDateGrid::setCol(int col)
{
    if (col == FCol || col < 0 || col >= kGridCols) return;
    MoveCurrent(col, FRow);
    emit OnClick();
}

void TDateGrid::setRow(int row)
{
    if (row == FRow || row < 0 || row >= kGridRows) return;
    MoveCurrent(FCol, row);
    emit OnClick();
}

QRect TDateGrid::CellRect(int col, int row) const
{
    return CellRectOf(FColWidths, FRowHeights, col, row);
}

std::optional<QPoint> TDateGrid::MouseCoord(const QPoint &pos) const
{
    return CellAtPoint(FColWidths, FRowHeights, pos);
}

bool TDateGrid::MoveCurrent(int col, int row)
{
    bool canSelect = true;
    if (FOnSelectCell) FOnSelectCell(col, row, canSelect);
    if (!canSelect) return false;
    if (col != FCol || row != FRow) {
        InvalidateCell(FCol, FRow);
        FCol = col;
        FRow = row;
        InvalidateCell(FCol, FRow);
    }
    return true;
}

void TDateGrid::InvalidateCell(int col, int row)
{
    update(CellRect(col, row));
}

void TDateGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    // Whatever the cells do not cover (columns narrower than the layout) shows white.
    int cellsWidth = 0;
    for (const int width : FColWidths)
        cellsWidth += width;
    int cellsHeight = 0;
    for (const int height : FRowHeights)
        cellsHeight += height;
    const QRect covered(0, 0, cellsWidth, cellsHeight);
    if (!covered.contains(exposed)) {
        const QRegion uncovered = QRegion(exposed).subtracted(QRegion(covered));
        for (const QRect &r : uncovered)
            painter.fillRect(r, Qt::white);
    }
    if (!FOnDrawCell) return;
    const bool focused = hasFocus();
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridCols; ++col) {
            const QRect cell = CellRect(col, row);
            if (cell.isEmpty() || !cell.intersects(exposed)) continue;
            FOnDrawCell(painter, col, row, cell, col == FCol && row == FRow, focused);
        }
    }
}

void TDateGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (const auto cell = MouseCoord(event->position().toPoint())) {
            FSelecting = true;
            MoveCurrent(cell->x(), cell->y());
        }
    }
    emit OnMouseDown(event->button());
}

void TDateGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!FSelecting || !(event->buttons() & Qt::LeftButton)) return;
    const auto cell = MouseCoord(event->position().toPoint());
    if (cell && (cell->x() != FCol || cell->y() != FRow)) MoveCurrent(cell->x(), cell->y());
}

void TDateGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !FSelecting) return;
    FSelecting = false;
    emit OnClick();
}

void TDateGrid::keyPressEvent(QKeyEvent *event)
{
    int col = FCol;
    int row = FRow;
    switch (event->key()) {
    case Qt::Key_Left:
        col = std::max(0, col - 1);
        break;
    case Qt::Key_Right:
        col = std::min(kGridCols - 1, col + 1);
        break;
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(kGridRows - 1, row + 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (col != FCol || row != FRow) {
        MoveCurrent(col, row);
        emit OnClick();
    }
}

void TDateGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (FPopupMenu) {
        FPopupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    QWidget::contextMenuEvent(event);
}

void TDateGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    InvalidateCell(FCol, FRow);
}

void TDateGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    InvalidateCell(FCol, FRow);
}
