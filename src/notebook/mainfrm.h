#pragma once

#include "notebox.h"
#include "notestore.h"
#include "wallpaperflow.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class TChnCalendar;
class TPictureButton;
class TpwsetFrm;
class WebStrip;

// "今天是 2011年6月29日(三)"
QString DateCaption(const QDate &date);

// The notebook window: borderless, dragged by its background and sized from its edges; the
// calendar chnRili, the web strip and the picture choice on the left, the week view pnlRight
// with the six note boxes redt1 ... redt6 on the right, and the options menu.
class TMainFrm : public QWidget
{
    Q_OBJECT
public:
    // The store must outlive the window.
    explicit TMainFrm(TNoteStore &store, QWidget *parent = nullptr);
    ~TMainFrm() override;

    // The creation steps. False when the program must end (the start-up password was refused).
    bool FormCreate();
    // The secondary windows, after this one and in their order; they live as long as it does.
    void CreateSecondaryWindows();

    // Rebuilds WeekList for the date and fills the six boxes; never writes.
    void LoadWeekNotes(double date);
    // Writes all six boxes under the keys of the last load.
    void SaveWeekNotes();

    // Lays out the week view for the current size of pnlRight.
    void ArrangeBoxes();
    void MarkSelectedDay(double d);

    // Window bounds from and to "data\FormSize.ini". SaveFormSize is false (and has shown the
    // error report) when the file cannot be written.
    void LoadFormSize();
    bool SaveFormSize();

    // n = 1 ... 6
    TNoteBox *redt(int n) const { return m_redt.at(n - 1); }
    QWidget *pnlRight() const { return m_pnlRight; }
    QWidget *pnlLeft() const { return m_pnlLeft; }
    TChnCalendar *chnRili() const { return m_chnRili; }
    WebStrip *pnlWeb() const { return m_pnlWeb; }
    QMenu *popSysset() const { return m_popSysset; }
    TWallpaperFlow &wallpaper() { return m_wallpaper; }
    TpwsetFrm *pwsetFrm() const { return m_pwsetFrm; }
    // The calendar's DateTime.
    double selectedDateTime() const;

    bool notesReady() const { return NotesReady; }
    bool shown() const { return FShown; }
    int styleNo() const { return FStyleNo; }
    QString monthStr() const { return FMonthStr; }
    // Saving is off after a load that failed, until a load succeeds.
    bool loadFailed() const { return FLoadFailed; }
    // The red line under the tools: "保存失败：..." or "加载失败：...", empty when all is well.
    QString storeNotice() const;

    // How the window ends the program (close button, "退出程序"). Default: leave the event
    // loop. Tests record it instead.
    using Terminator = std::function<void()>;
    static void setTerminator(Terminator terminator);

public slots:
    // The save trigger of all six boxes: their change and focus-leave events.
    void redt1Exit();
    // The calendar's OnChange.
    void chnRiliChange();

    // Title buttons; each leaves the six close and minimise pictures as the state table says.
    void imgBGMouseMove();
    void img_close_normalMouseMove();
    void img_close_highlightMouseDown();
    void img_close_highlightClick();
    void img_mini_normalMouseMove();
    void img_mini_highlightMouseDown();
    void img_mini_highlightClick();
    void img_max_normalMouseMove();
    void img_max_highlightMouseDown();
    void img_max_highlightClick();

    // Options menu and its items.
    void lblSetClick();
    void N_DataOutClick();
    void N_BgTransparentClick();
    void N7Click();
    void N_helpClick();
    void N_SubmitClick();
    void N_ExitPrjClick();

    // Hidden month selector and letter buttons.
    void lblMonthClick();
    void edtMonthChange();
    void N_MonthClick(int month);
    void btnLetterClick(int styleNo);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void createTitleButtons();
    void createOptionsMenu();
    void createHiddenControls();
    // The tool row above the boxes and the boxes' menu pmDeskTopMonCal.
    void createEditingTools();
    // pnlRight and the title row follow the window's size.
    void followWindowSize();
    void updateStoreNotice();
    void showTitleTrios(bool closeHighlight, bool closeDown, bool miniHighlight, bool miniDown);
    // The designed size, centred on the primary screen: the bounds when FormSize.ini is not
    // applied.
    void keepDesignedBounds();
    void applyBounds();
    void endApplication();

    TNoteStore &m_store;
    TWallpaperFlow m_wallpaper;

    QLabel *m_imgBG = nullptr;
    QWidget *m_shpBG = nullptr;
    QLabel *m_imgLogo = nullptr;
    QLabel *m_lblDateTime = nullptr;
    QLabel *m_lblSet = nullptr;
    QLabel *m_lblStoreNotice = nullptr;
    TPictureButton *m_imgAppToDesk = nullptr;
    // close normal/highlight/down, mini normal/highlight/down, max normal/highlight/down
    std::array<QLabel *, 9> m_titlePictures{};
    // Widgets kept at the top right: their design x in the 913-wide client area.
    QList<QPair<QWidget *, int>> m_topRight;

    QWidget *m_pnlLeft = nullptr;
    TChnCalendar *m_chnRili = nullptr;
    WebStrip *m_pnlWeb = nullptr;
    TPictureButton *m_imgAddToDesk = nullptr;

    QWidget *m_pnlRight = nullptr;
    QWidget *m_imgtitleYear1 = nullptr;
    QWidget *m_imgtitleYear2 = nullptr;
    QWidget *m_imgSelColor = nullptr;
    QWidget *m_pnlYearLine0 = nullptr;
    QWidget *m_pnlYearLine1 = nullptr;
    QWidget *m_pnlYearLine2 = nullptr;
    QWidget *m_pnlYearLineREdge = nullptr;
    QWidget *m_pnlButtonline = nullptr;
    std::array<QLabel *, 6> m_lblweek{};
    std::array<TNoteBox *, 6> m_redt{};

    QMenu *m_popSysset = nullptr;
    QLineEdit *m_edtMonth = nullptr;
    QSpinBox *m_udMonth = nullptr;
    QLabel *m_lblMonth = nullptr;
    QMenu *m_ppMonth = nullptr;
    std::array<QPushButton *, 5> m_btnLetters{};

    TpwsetFrm *m_pwsetFrm = nullptr; // owned as a child window

    // Re-entrancy guard of load and save: false while either runs, and before the first load.
    bool NotesReady = false;
    // Set as the last step of the first show; nothing is saved before.
    bool FShown = false;
    bool FLoadFailed = false;
    bool m_formShowDone = false;
    int FStyleNo = 1;
    int FSavedWidth = 0;
    int FSavedHeight = 0;
    int FSavedLeft = 0;
    int FSavedTop = 0;
    QString FMonthStr;
    QString m_loadError;
    QString m_saveError;
    // A drag by the background where the platform has no system move (offscreen, some X11
    // window managers): the press point in window coordinates.
    std::optional<QPoint> m_dragOffset;
};
