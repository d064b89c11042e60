#include "weblinks.h"

#include "programfolder.h"
#include "webhost.h"

namespace WebLinks
{

QString configuredHost()
{
    return QString::fromUtf8(kConfiguredWebHost).trimmed();
}

QUrl siteUrl(const QString &host)
{
    const QString h = host.trimmed();
    if (h.isEmpty()) return {};
    QUrl url(h.contains(QLatin1String("://")) ? h : QStringLiteral("http://") + h,
             QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return {};
    // the fixed paths below are appended to whatever base path the setting carries
    QString path = url.path();
    while (path.endsWith('/'))
        path.chop(1);
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

static QUrl onSite(const QString &host, const QString &path)
{
    QUrl url = siteUrl(host);
    if (url.isValid()) url.setPath(url.path() + path);
    return url;
}

QUrl remotePageUrl(const QString &host)
{
    return onSite(host, QStringLiteral("/rs/KQ3.htm"));
}

QString localPagePath()
{
    return ProgramFolder::path(QStringLiteral("source\\Navigate\\default.htm"));
}

QUrl helpUrl(const QString &host)
{
    const QUrl remote = onSite(host, QStringLiteral("/help4/kq1.htm"));
    return remote.isValid()
               ? remote
               : QUrl::fromLocalFile(ProgramFolder::path(QStringLiteral("source\\help\\help.htm")));
}

QUrl feedbackUrl(const QString &host)
{
    const QUrl remote = onSite(host, QStringLiteral("/help4/kq2.htm"));
    return remote.isValid() ? remote
                            : QUrl::fromLocalFile(ProgramFolder::path(
                                  QStringLiteral("source\\help\\feedback.htm")));
}

} // namespace WebLinks
