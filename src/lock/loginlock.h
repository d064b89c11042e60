#pragma once

#include "framelessdialog.h"

class QLineEdit;
class QPushButton;

// True once the start-up prompt has accepted the password; false from the prompt's creation.
extern bool LoginPassed;

// The start-up check, run while the main window is created and before it is ever shown. With no
// password set (no file, an unreadable or empty file, or the marker in line 1) it returns true at
// once. Otherwise the prompt is shown modally on the screen's centre. False means the program
// must end: the prompt was cancelled, closed in any other way, or the file vanished meanwhile.
bool CheckLoginPassword(QWidget *owner);

// The start-up password prompt: Enter in the password box acts as "确定", retries are unlimited.
class TLockLogin : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TLockLogin(QWidget *owner = nullptr);

    // Centres the prompt on the screen and runs it modally.
    int ShowModal();

    void spdOKClick();
    void spdCancelClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool isDragArea(const QPoint &pos) const override;

private:
    QLineEdit *edtPW;
    QPushButton *spdOK;
    QPushButton *spdCancel;
};
