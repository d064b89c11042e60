#pragma once

// A vertical pair of spin arrows holding a position within a range. A press on an arrow moves
// the position by one (up adds, down subtracts) without leaving the range or wrapping, then
// notifies the click; holding the button repeats.

#include <QBasicTimer>
#include <QWidget>

class TUpDown : public QWidget
{
    Q_OBJECT

public:
    enum class Button { Up, Down };
    Q_ENUM(Button)

    TUpDown(int min, int max, QWidget *parent = nullptr);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    // Clamped to the range.
    void setPosition(int position);

    // The upper and lower arrow in widget coordinates.
    QRect ButtonRect(Button button) const;

    QSize sizeHint() const override;

signals:
    void OnClick(TUpDown::Button button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void Step(Button button);

    int FMin;
    int FMax;
    int FPosition;
    bool FPressed = false;
    Button FPressedButton = Button::Up;
    QBasicTimer FRepeat;
};
