#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QDialog>

// Window close button drawn in three states: normal, highlighted under the pointer, pressed.
class TCloseButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TCloseButton(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {39, 20}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool m_hover = false;
};

// Borderless modal window of a fixed client size, centred over its parent window (or the
// screen), dragged by pressing on its background.
class TFramelessDialog : public QDialog
{
    Q_OBJECT
public:
    TFramelessDialog(QWidget *parent, const QSize &clientSize, const QString &caption);

    static QColor frameColor() { return {216, 227, 243}; }
    // Push buttons of the secondary windows share one light-blue look.
    static QString buttonStyle();

protected:
    // Runs at every opening, before the window appears.
    virtual void FormShow() {}

    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void centreOverParent();
};
