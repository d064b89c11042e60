#pragma once

#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QToolButton>

// How a CloseButton is drawn. The defaults are a transparent face with a grey cross that turns
// white on red under the pointer and on a darker red while pressed.
struct CloseButtonLook {
    QSize size{39, 20};
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QColor ink{96, 112, 140};
    // Face under the pointer and while pressed, washed from top to bottom.
    QColor hoverTop{224, 72, 64};
    QColor hoverBottom{224, 72, 64};
    QColor downTop{176, 40, 36};
    QColor downBottom{176, 40, 36};
    qreal faceInset = 0.5;
    qreal faceRadius = 3;
    // Half the length of each stroke of the cross.
    qreal arm = 4;
    // How far the cross sinks while pressed.
    qreal downShift = 0;
};

// Window close button drawn in three states: normal, highlighted under the pointer, pressed.
class CloseButton : public QToolButton
{
    Q_OBJECT
public:
    explicit CloseButton(QWidget *parent = nullptr,
                         const CloseButtonLook &look = CloseButtonLook());

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    CloseButtonLook m_look;
    bool m_hover = false;
};

// Borderless modal window of a fixed client size. At every opening it runs FormShow, then
// centres itself over its owner's window (or, with the owner hidden or Placement::Screen, on the
// owner's screen); it is dragged by pressing on its background.
class FramelessDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Placement { OverOwner, Screen };

    FramelessDialog(QWidget *owner, const QSize &clientSize, const QString &caption);

    void setPlacement(Placement placement) { m_placement = placement; }

protected:
    // Runs at every opening, before the window appears.
    virtual void FormShow() {}
    // Where a press starts a move, in client coordinates.
    virtual bool isDragArea(const QPoint &) const { return true; }

    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void centre();

    Placement m_placement = Placement::OverOwner;
    // The window follows the pointer itself only where the window system cannot move it.
    bool m_dragging = false;
    QPoint m_dragOffset;
};
