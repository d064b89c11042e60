#include "weblinkview.h"

#include "textfile.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTimer>

namespace
{

constexpr qint64 kMaxPageBytes = 4 * 1024 * 1024;
constexpr qint64 kMaxResourceBytes = 2 * 1024 * 1024;
constexpr int kMaxResources = 64; // per page, so that a page cannot make the view fetch forever
constexpr int kTransferTimeoutMs = 15000;

bool isWeb(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

bool isBlank(const QUrl &url)
{
    return url.isEmpty() || url.toString() == QLatin1String("about:blank");
}

std::optional<QByteArray> readFile(const QString &path, qint64 limit)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > limit) return std::nullopt;
    return f.readAll();
}

QByteArray charsetIn(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).toLatin1().toLower() : QByteArray();
}

} // namespace

WebLinkView::WebLinkView(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("webLink"));
    // The strip is an opening onto the page: no frame or margin may shift it.
    setFrameShape(QFrame::NoFrame);
    document()->setDocumentMargin(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setOpenLinks(false);
    // Only a click focuses the strip: Tab keeps moving between the boxes and the calendar.
    setFocusPolicy(Qt::ClickFocus);
    // Prevent, not No: with NoContextMenu the parent window would show its own menu instead.
    setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &link) { navigate(m_current.resolved(link)); });
}

void WebLinkView::navigate(const QUrl &url)
{
    if (!url.fragment().isEmpty() && !isBlank(m_current) &&
        url.adjusted(QUrl::RemoveFragment) == m_current.adjusted(QUrl::RemoveFragment)) {
        scrollToAnchor(url.fragment());
        return;
    }
    if (m_page) m_page->abort();
    if (isBlank(url)) {
        showPage(QUrl(QStringLiteral("about:blank")), QString());
    } else if (url.isLocalFile()) {
        if (const auto bytes = readFile(url.toLocalFile(), kMaxPageBytes))
            showPage(url, decodeHtml(*bytes));
    } else if (isWeb(url)) {
        fetchPage(url);
    } else if (url.isValid()) {
        QDesktopServices::openUrl(url);
    }
}

QString WebLinkView::decodeHtml(const QByteArray &bytes, const QByteArray &contentType)
{
    QByteArray charset = charsetIn(QString::fromLatin1(contentType));
    if (charset.isEmpty()) charset = charsetIn(QString::fromLatin1(bytes.left(2048)));
    // Pages labelled GB2312 or GBK routinely carry characters beyond it; GB18030 holds both.
    if (charset == "gb2312" || charset == "gbk" || charset == "x-gbk") charset = "GB18030";
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError()) return text;
        }
    }
    return TextFile::decode(bytes);
}

void WebLinkView::showPage(const QUrl &url, const QString &html)
{
    if (url.adjusted(QUrl::RemoveFragment) != m_current.adjusted(QUrl::RemoveFragment)) {
        m_resources.clear();
        m_pending.clear();
    }
    m_current = url;
    m_html = html;
    setHtml(html);
    document()->setDocumentMargin(0);
    if (!url.fragment().isEmpty()) scrollToAnchor(url.fragment());
    emit navigated(url);
}

QNetworkAccessManager *WebLinkView::network()
{
    if (!m_network) m_network = new QNetworkAccessManager(this);
    return m_network;
}

void WebLinkView::fetchPage(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = network()->get(request);
    m_page = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxPageBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { pageFinished(reply); });
}

void WebLinkView::pageFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_page) return; // replaced by a later navigation
    m_page.clear();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status >= 400) {
        // A strip showing an error page helps nobody: show the local page instead.
        if (m_fallback.isValid() && m_fallback != reply->request().url()) navigate(m_fallback);
        return;
    }
    const QByteArray bytes = reply->readAll();
    const QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    const QString text = decodeHtml(bytes, type);
    if (type.startsWith("text/plain"))
        showPage(reply->url(), text.toHtmlEscaped().prepend(QLatin1String("<pre>")));
    else
        showPage(reply->url(), text);
}

QVariant WebLinkView::loadResource(int type, const QUrl &name)
{
    const QUrl url = m_current.resolved(name);
    if (url.isLocalFile()) {
        // A remote page must not pull files of this machine into the view.
        if (isWeb(m_current)) return {};
        const auto bytes = readFile(url.toLocalFile(), kMaxResourceBytes);
        if (!bytes) return {};
        if (type == QTextDocument::StyleSheetResource) return decodeHtml(*bytes);
        return *bytes;
    }
    if (isWeb(url)) {
        const auto it = m_resources.constFind(url);
        if (it == m_resources.constEnd()) {
            fetchResource(url);
            return {};
        }
        if (it->isEmpty()) return {};
        if (type == QTextDocument::StyleSheetResource) return decodeHtml(*it);
        return *it;
    }
    return {};
}

void WebLinkView::fetchResource(const QUrl &url)
{
    if (m_pending.contains(url) || m_resources.size() + m_pending.size() >= kMaxResources) return;
    m_pending.insert(url);
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = network()->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxResourceBytes) reply->abort();
    });
    const QUrl page = m_current;
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, page] {
        reply->deleteLater();
        if (page != m_current || !m_pending.remove(url)) return; // the page changed meanwhile
        // a failed resource is kept as empty, so that it is not asked for again
        m_resources.insert(url, reply->error() == QNetworkReply::NoError ? reply->readAll()
                                                                         : QByteArray());
        if (!m_rerenderQueued) {
            m_rerenderQueued = true;
            QTimer::singleShot(0, this, &WebLinkView::rerender);
        }
    });
}

void WebLinkView::rerender()
{
    m_rerenderQueued = false;
    const int x = horizontalScrollBar()->value();
    const int y = verticalScrollBar()->value();
    setHtml(m_html);
    document()->setDocumentMargin(0);
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

void WebLinkView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}

bool WebLinkView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            event->accept();
            return true;
        }
        break;
    case QEvent::ContextMenu:
        event->accept();
        return true;
    default:
        break;
    }
    return QTextBrowser::viewportEvent(event);
}
