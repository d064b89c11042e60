#pragma once

#include "navigatethr.h"

#include <QFrame>
#include <QPointer>

class WebLinkView;

// `pnlWeb`: the white 298 x 40 panel under the calendar that clips the view `webLink`, placed
// at (-14, -19) and 2013 x 844 large, so that only the page's area (14, 19)-(312, 59) shows.
class WebStrip : public QFrame
{
    Q_OBJECT

public:
    explicit WebStrip(QWidget *parent = nullptr);
    // Waits briefly for a worker still testing the network.
    ~WebStrip() override;

    WebLinkView *view() const { return m_view; }

    // On each show of the main window: blank the strip, then let a new NavigateThr choose
    // between the remote page of the configured host and the local page.
    void start();
    // The same with given addresses; `state` answers the network test (tests).
    void start(const QUrl &remote, const QString &localPage, NavigateThr::StateFunction state = {});

private:
    WebLinkView *m_view;
    QPointer<NavigateThr> m_worker;
    quint64 m_generation = 0; // requests of an older worker are dropped
};
