#pragma once

#include "lockart.h"

#include <QDialog>
#include <QToolButton>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The close button of the title strip: drawn normal, highlighted under the pointer, pressed.
class TCloseButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TCloseButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The password setting window. Created once and kept: its checkbox and password boxes keep
// what they held when it last closed. A new password takes effect at the next start.
class TpwsetFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TpwsetFrm(QWidget *owner = nullptr);

    // Reads the file (FormShow), centres the window over its owner (or the screen when the
    // owner is hidden) and runs it modally. Accepted after a successful "应   用".
    int ShowModal();

    // Ticks the checkbox when the file says a password is on; never unticks it.
    void FormShow();
    void JvXPButton1Click();
    void JvXPToolButton1Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QCheckBox *JCheckbox1;
    QLineEdit *edit1;
    QLineEdit *edit2;
    QPushButton *JvXPButton1;
    TCloseButton *JvXPToolButton1;
    WindowDragger FDragger;
};
