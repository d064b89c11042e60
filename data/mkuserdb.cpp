// Build-time tool: makes an empty notes database from schema.sql.
//   kq_mkuserdb SCHEMA.sql OUTPUT.db
// An existing OUTPUT is never touched: a build folder is a program folder, and its database
// may hold a user's notes.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace
{
int fail(const QString &message)
{
    std::fprintf(stderr, "kq_mkuserdb: %s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return fail(QStringLiteral("usage: kq_mkuserdb SCHEMA.sql OUTPUT.db"));
    const QString schemaPath = args[1];
    const QString output = QFileInfo(args[2]).absoluteFilePath();
    if (QFileInfo::exists(output)) return 0;

    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) return fail(schema.errorString() + u' ' + schemaPath);
    const QString text = QString::fromUtf8(schema.readAll());
    if (!QDir().mkpath(QFileInfo(output).absolutePath()))
        return fail(QStringLiteral("cannot make the folder of ") + output);

    // Built beside the target and renamed into place, so that an interrupted build never
    // leaves half a database that the program would then refuse.
    const QString temp = output + QStringLiteral(".new");
    QFile::remove(temp);
    bool ok = true;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "mk");
        db.setDatabaseName(temp);
        ok = db.open();
        if (!ok) error = db.lastError().text();
        QSqlQuery query(db);
        // Statements end with ';'; the schema holds no ';' inside a statement.
        for (const QString &statement : text.split(u';')) {
            QString sql;
            for (const QString &line : statement.split(u'\n'))
                if (!line.trimmed().startsWith(QLatin1String("--"))) sql += line + u'\n';
            if (!ok || sql.trimmed().isEmpty()) continue;
            ok = query.exec(sql);
            if (!ok) error = query.lastError().text() + QStringLiteral(": ") + sql.trimmed();
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("mk");
    if (!ok) {
        QFile::remove(temp);
        return fail(error);
    }
    if (QFileInfo::exists(output) || !QFile::rename(temp, output)) {
        QFile::remove(temp);
        return QFileInfo::exists(output) ? 0 : fail(QStringLiteral("cannot write ") + output);
    }
    return 0;
}
