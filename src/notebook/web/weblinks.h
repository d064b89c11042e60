#pragma once

#include <QString>
#include <QUrl>

// Addresses of the web strip and of the two help pages. The host is an installation setting
// (KQ_WEB_HOST); with none, the strip shows the local page and the help items open the help
// pages shipped in the program folder, so that the menu never opens nothing.
namespace WebLinks
{

// The host written into the build; empty when none was set.
QString configuredHost();

// "host", "host:port" or a full "http(s)://host[:port][/base]"; a bare host means http.
// An invalid URL when the host is empty or unusable.
QUrl siteUrl(const QString &host);

// "/rs/KQ3.htm" on the host; invalid without a host.
QUrl remotePageUrl(const QString &host = configuredHost());

// "source\Navigate\default.htm" in the program folder.
QString localPagePath();

// "帮助说明": "/help4/kq1.htm" on the host, else the shipped "source\help\help.htm".
QUrl helpUrl(const QString &host = configuredHost());

// "意见反馈": "/help4/kq2.htm" on the host, else the shipped "source\help\feedback.htm".
QUrl feedbackUrl(const QString &host = configuredHost());

} // namespace WebLinks
