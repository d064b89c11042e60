#include "dm.h"

#include "infobox.h"
#include "programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>

namespace
{

// Every keystroke is one commit. In WAL mode NORMAL already keeps a commit through a crash of
// the program; FULL adds one fsync of the log per commit and so keeps it through a power cut
// as well. Measured (bench_notestore, 2 KB boxes): 0.53 ms per save at FULL, 0.29 at NORMAL.
constexpr const char *kSynchronous = "FULL";
// Another program holding the write lock makes a save fail fast and retry on the next
// trigger rather than freezing the window.
constexpr int kBusyTimeoutMs = 200;

QString errorOf(const QSqlQuery &query)
{
    const QSqlError e = query.lastError();
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

// An SQLite URI that opens an existing file and never creates one.
QString uriOf(const QString &path, const char *mode)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=") + QLatin1String(mode);
}

} // namespace

TDM::TDM(QString connectionName) : m_connection(std::move(connectionName)) {}

TDM::~TDM()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QString TDM::databasePath()
{
    return ProgramFolder::path(QStringLiteral("Data\\UserData.db"));
}

bool TDM::isOpen() const
{
    return QSqlDatabase::contains(m_connection) &&
           QSqlDatabase::database(m_connection, false).isOpen();
}

std::optional<QString> TDM::checkDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("missing: %1").arg(path);
    if (!info.isFile()) return QStringLiteral("not a file: %1").arg(path);
    {
        // SQLite would take an empty file for an empty database; the header says for sure.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return file.errorString();
        if (file.read(16) != QByteArray("SQLite format 3\0", 16))
            return QStringLiteral("not an SQLite database");
    }
    const QString name = QStringLiteral("kq-check-") + QUuid::createUuid().toString();
    std::optional<QString> problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(uriOf(path, "ro"));
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("pragma quick_check")))
                problem = errorOf(query);
            else if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
                problem = QStringLiteral("quick_check: ") + query.value(0).toString();
            else if (query.finish(); !query.exec(QStringLiteral(
                         "select YearMonthStr, Content, ContentBak from tb_NewKQ limit 0")))
                problem = errorOf(query);
            query.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

std::optional<QString> TDM::connect()
{
    const QString path = databasePath();
    if (std::optional<QString> problem = checkDatabaseFile(path)) return problem;

    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    db.setDatabaseName(uriOf(path, "rw"));
    if (!db.open()) return db.lastError().text();
    QSqlQuery query(db);
    // A read-only file cannot switch its journal; its saves then fail visibly one by one.
    query.exec(QStringLiteral("pragma journal_mode = wal"));
    query.exec(QStringLiteral("pragma synchronous = ") + QLatin1String(kSynchronous));
    return std::nullopt;
}

bool TDM::OpenDatabase()
{
    m_error.clear();
    if (std::optional<QString> problem = connect()) {
        m_error = *problem;
        if (QSqlDatabase::contains(m_connection)) {
            QSqlDatabase::database(m_connection, false).close();
            QSqlDatabase::removeDatabase(m_connection);
        }
        InfoBox::show(nullptr, QStringLiteral("配置文件加载失败，请重试！"));
        return false;
    }
    return true;
}
