#pragma once

#include "framelessdialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// The password setting window. Created once and kept: its checkbox and password boxes keep
// what they held when it last closed. A new password takes effect at the next start.
class TpwsetFrm : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TpwsetFrm(QWidget *owner = nullptr);

    // Runs the window modally; each opening reads the file (FormShow) and centres the window
    // over its owner (or the screen when the owner is hidden). Accepted after a successful
    // "应   用".
    int ShowModal();

    // Ticks the checkbox when the file says a password is on; never unticks it.
    void FormShow() override;
    void JvXPButton1Click();
    void JvXPToolButton1Click();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QCheckBox *JCheckbox1;
    QLineEdit *edit1;
    QLineEdit *edit2;
    QPushButton *JvXPButton1;
    CloseButton *JvXPToolButton1;
};
