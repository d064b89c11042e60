#pragma once

#include "notebox.h"
#include "notestore.h"

#include <QString>
#include <QWidget>

#include <array>

class QLabel;

// "今天是 2011年6月29日(三)"
QString DateCaption(const QDate &date);

// The notebook window: the week view pnlRight with the six note boxes redt1 ... redt6 under
// their captions, and the note store that loads and saves them.
class TMainFrm : public QWidget
{
    Q_OBJECT
public:
    // The store must outlive the window.
    explicit TMainFrm(TNoteStore &store, QWidget *parent = nullptr);
    ~TMainFrm() override;

    // The creation steps. False when the program must end (the start-up password was refused).
    bool FormCreate();

    // Rebuilds WeekList for the date and fills the six boxes; never writes.
    void LoadWeekNotes(double date);
    // Writes all six boxes under the keys of the last load.
    void SaveWeekNotes();

    // Lays out the week view for the current size of pnlRight.
    void ArrangeBoxes();
    void MarkSelectedDay(double d);

    // n = 1 ... 6
    TNoteBox *redt(int n) const { return m_redt.at(n - 1); }
    QWidget *pnlRight() const { return m_pnlRight; }
    // The selected date-time value; the calendar's DateTime once the calendar is in the window.
    double selectedDateTime() const { return FSelDateTime; }

    bool notesReady() const { return NotesReady; }
    bool shown() const { return FShown; }
    // Saving is off after a load that failed, until a load succeeds.
    bool loadFailed() const { return FLoadFailed; }
    // The red line under the tools: "保存失败：..." or "加载失败：...", empty when all is well.
    QString storeNotice() const;

public slots:
    // The save trigger of all six boxes: their change and focus-leave events.
    void redt1Exit();
    // The calendar's OnChange.
    void chnRiliChange();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormShow();
    // pnlRight is anchored to all four sides of the window.
    void followWindowSize();
    void updateStoreNotice();

    TNoteStore &m_store;

    QLabel *m_lblDateTime = nullptr;
    QLabel *m_lblStoreNotice = nullptr;
    QWidget *m_pnlLeft = nullptr;
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

    // Re-entrancy guard of load and save: false while either runs, and before the first load.
    bool NotesReady = false;
    // Set as the last step of the first show; nothing is saved before.
    bool FShown = false;
    bool FLoadFailed = false;
    bool m_formShowDone = false;
    int FStyleNo = 1;
    QString FMonthStr;
    double FSelDateTime = 0;
    QString m_loadError;
    QString m_saveError;
};
