#pragma once

#include "framelessdialog.h"

class QRadioButton;

// How the note boxes show on the wallpaper: 1 = full transparency (boxes in the window colour,
// which the blend leaves out), anything else = half transparency (light grey boxes).
class TSetTransFrm : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TSetTransFrm(QWidget *parent = nullptr);

    qint32 TransMode = 1;

    // Reads "Data\SetTrans.ini", creating it with "1" when missing; an unreadable value gives
    // 1 and leaves the file as it is.
    void LoadTransMode();
    // False (and TransMode already set) when the file cannot be written.
    bool SaveTransMode(qint32 mode);

    void btnokClick();

    // Background of the six note boxes for a mode.
    static QColor boxColor(qint32 transMode);

protected:
    void FormShow() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRadioButton *rdiHalfTrans = nullptr;
    QRadioButton *rdiAllTrans = nullptr;
};
