#pragma once

#include "deskbgsetfrm.h"
#include "mixpicfrm.h"
#include "picbglist.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>

class QWidget;
class TInforFrm;
class TPicSelFrm;
class TSetTransFrm;

// The desktop wallpaper of the notebook: the background picture list and its rotation, the
// confirmation before a change, the apply that turns the week panel into the wallpaper, and
// the transparency of the note boxes. The main window owns one and calls it; nothing here
// knows the main window: it passes the widgets the flow needs.
class TWallpaperFlow
{
public:
    TWallpaperFlow();
    ~TWallpaperFlow();
    TWallpaperFlow(const TWallpaperFlow &) = delete;
    TWallpaperFlow &operator=(const TWallpaperFlow &) = delete;

    // The rotating list as last loaded from "Data\BGPicList.ini".
    QList<TPicBGList> PicBGList;
    QString FBgPicName;  // selected picture, line 0 of the list file
    qint32 FBgIndex = 0; // entry of PicBGList that the next apply uses

    bool ShowSetBgInfo = true;   // ask before each apply
    bool SetBgConfirmed = false; // answer of the last confirmation
    QString ConfigSetBgFile;     // "data\configSetBg.ini" under the program folder

    TDeskBGSetFrm DeskBGSetFrm;
    TMixPicFrm MixPicFrm;

    // Reads "data\configSetBg.ini" (created with "1" when missing). False with the error text
    // when its first line is missing or not an integer; ShowSetBgInfo then stays true.
    bool LoadConfigSetBg(QString *error = nullptr);

    // Reads "Data\BGPicList.ini" into FBgPicName, PicBGList and FBgIndex, creating it when
    // missing. bySelection: point FBgIndex at the selected picture's last entry; otherwise at
    // the last entry. An empty file keeps the previous state. False with the error text when
    // the file exists but cannot be read, or cannot be created.
    bool LoadPicBGList(bool bySelection, QString *error = nullptr);

    // The picture choice button: shows the selection window, then reloads the list.
    void imgAddToDeskClick(QWidget *parent);

    // The apply button: confirmation when configured, then the apply. A failure after the
    // confirmation is told in one message box; files already written stay.
    void imgAppToDeskClick(QWidget *pnlRight, QWidget *parent);

    struct ApplyResult {
        bool ok = false;
        QString message; // for the user, when !ok
    };
    // The apply without confirmation or message: capture, background choice, blend, Mix.bmp,
    // Mix.Jpg, the final Mix.bmp, install, rotation.
    ApplyResult applyToDesktop(QWidget *pnlRight);

    // The week panel into PicFolder + "Content.bmp".
    bool SaveContentPicture(QWidget *pnlRight, QString *error = nullptr);

    // Reads "Data\SetTrans.ini" (created with "1" when missing) and returns TransMode.
    qint32 LoadTransMode();
    qint32 TransMode();
    // Background colour of the six note boxes for the current TransMode.
    QColor BoxColor();
    // The options entry: shows the transparency window and returns the boxes' colour, to be
    // applied whether the user confirmed or cancelled.
    QColor N_BgTransparentClick(QWidget *parent);

    // The secondary windows, created on first use and kept, so they keep their state between
    // openings. A non-null parent becomes their owner window.
    TPicSelFrm &PicSelFrm(QWidget *parent = nullptr);
    TInforFrm &InforFrm(QWidget *parent = nullptr);
    TSetTransFrm &SetTransFrm(QWidget *parent = nullptr);

private:
    QPointer<TPicSelFrm> m_picSelFrm;
    QPointer<TInforFrm> m_inforFrm;
    QPointer<TSetTransFrm> m_setTransFrm;
};
