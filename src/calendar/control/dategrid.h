#pragma once

// An owner-drawn grid of fixed cells with one current cell, without lines, fixed cells or scroll
// bars. The owner decides through the select-cell check whether the current cell may move.
// Input semantics: a left press asks for the cell under the pointer and moves there if allowed,
// and only then notifies the press; while the left button stays down every further cell under
// the pointer is asked the same way; the release notifies a click. A right press notifies the
// press without moving. Arrow keys ask for the neighbouring cell, then notify a click; so does
// setting the row or column from code when it differs.

#include "calendargeometry.h"

#include <QWidget>

#include <functional>
#include <optional>

class QMenu;

class TDateGrid : public QWidget
{
    Q_OBJECT

public:
    // canSelect arrives true; the handler may refuse the move by clearing it.
    using SelectCellHandler = std::function<void(int col, int row, bool &canSelect)>;
    // rect is in grid coordinates; selected: the current cell; focused: the grid has the focus.
    using DrawCellHandler = std::function<void(QPainter &painter, int col, int row,
                                               const QRect &rect, bool selected, bool focused)>;

    explicit TDateGrid(QWidget *parent = nullptr);

    int ColWidths(int col) const { return FColWidths[col]; }
    void setColWidths(int col, int width);
    int RowHeights(int row) const { return FRowHeights[row]; }
    void setRowHeights(int row, int height);
    void setLayout(const TGridLayout &layout);
    const std::array<int, kGridCols> &colWidthArray() const { return FColWidths; }
    const std::array<int, kGridRows> &rowHeightArray() const { return FRowHeights; }

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    void setCol(int col);
    void setRow(int row);

    QRect CellRect(int col, int row) const;
    std::optional<QPoint> MouseCoord(const QPoint &pos) const;

    QMenu *PopupMenu() const { return FPopupMenu; }
    void setPopupMenu(QMenu *menu) { FPopupMenu = menu; }

    void setOnSelectCell(SelectCellHandler handler) { FOnSelectCell = std::move(handler); }
    void setOnDrawCell(DrawCellHandler handler) { FOnDrawCell = std::move(handler); }

signals:
    void OnClick();
    void OnMouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool MoveCurrent(int col, int row);
    void InvalidateCell(int col, int row);

    std::array<int, kGridCols> FColWidths{};
    std::array<int, kGridRows> FRowHeights{};
    int FCol = 0;
    int FRow = 0;
    bool FSelecting = false;
    QMenu *FPopupMenu = nullptr;
    SelectCellHandler FOnSelectCell;
    DrawCellHandler FOnDrawCell;
};
