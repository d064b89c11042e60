#pragma once

#include "framelessdialog.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Background picture selection: add, remove and choose the pictures of the rotating list.
// Every change is written to the list file at once; there is nothing to cancel.
class TPicSelFrm : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TPicSelFrm(QWidget *parent = nullptr);

    // The selected picture while the window is open; the caller sets it before showing.
    QString FSelPicName;

    void btnAddClick();
    void btnRemoveClick();
    void btnOkClick();

    // Captions of the view, top to bottom.
    QStringList pictureNames() const;

protected:
    void FormShow() override;
    void paintEvent(QPaintEvent *event) override;

private:
    void appendItem(const QString &caption);
    QTreeWidgetItem *firstSelected() const;
    // With report, a failure is told to the user.
    bool writeListFile(bool report = true);

    QTreeWidget *LVpic = nullptr;
    QLabel *lblTishi = nullptr;
};
