#pragma once

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// The view of the web strip (`webLink`): a light page view for "about:blank", local files and
// http(s) pages fetched with QNetworkAccessManager. Links are followed inside the view, as in a
// browser. It has no context menu, and the right button never reaches the page.
class WebLinkView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit WebLinkView(QWidget *parent = nullptr);

    // "about:blank", a local file, an http(s) page, or a fragment of the shown page. Other
    // schemes (mailto:) go to the desktop's handler.
    void navigate(const QUrl &url);
    QUrl currentUrl() const { return m_current; }

    // Shown when a remote page cannot be fetched; invalid: keep what is shown.
    void setFallback(const QUrl &url) { m_fallback = url; }

    // The page text decoded as a browser would: the charset of the HTTP header, else of the
    // page's meta tag, else UTF-8, or GB18030 when the bytes are not valid UTF-8.
    static QString decodeHtml(const QByteArray &bytes, const QByteArray &contentType = {});

signals:
    // A page (or the blank page) is shown.
    void navigated(const QUrl &url);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void showPage(const QUrl &url, const QString &html);
    void fetchPage(const QUrl &url);
    void pageFinished(QNetworkReply *reply);
    void fetchResource(const QUrl &url);
    void rerender();
    QNetworkAccessManager *network();

    QUrl m_current{QStringLiteral("about:blank")};
    QUrl m_fallback;
    QString m_html;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_page;
    QHash<QUrl, QByteArray> m_resources; // remote pictures and style sheets of the shown page
    QSet<QUrl> m_pending;
    bool m_rerenderQueued = false;
};
