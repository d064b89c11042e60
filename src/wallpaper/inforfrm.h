#pragma once

#include "framelessdialog.h"

class QCheckBox;

// Asks before the wallpaper is changed. The answer and the "ask again" choice go to the two
// flags it is given; ticking "下次不再提示" and confirming also writes "0" to the settings file.
class TInforFrm : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TInforFrm(QWidget *parent = nullptr);

    // Points the window at the flags and the settings file of its owner before it is shown.
    void bind(bool *showSetBgInfo, bool *setBgConfirmed, const QString &configSetBgFile);

    void btnokClick();
    void btncancelClick();

    // Escape and the window system's close end up here too: anything but "确  定" is a no,
    // never the answer left from an earlier showing.
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QCheckBox *chkSetBgInfo = nullptr;
    bool *m_showSetBgInfo = nullptr;
    bool *m_setBgConfirmed = nullptr;
    QString m_configFile;
};
