#pragma once

// A temporary program folder with the shipped empty database, and a second connection that
// reads the database as another program would.

#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <optional>

struct NoteRow {
    QString key;
    QByteArray content;
    QString plain;
};

class ProgramFixture
{
public:
    explicit ProgramFixture(bool withDatabase = true)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        if (withDatabase) QFile::copy(QStringLiteral(KQ_PRISTINE_DB), database());
        ProgramFolder::setRoot(dir.path());
    }
    ~ProgramFixture() { ProgramFolder::setRoot({}); }

    QString database() const { return dir.filePath(QStringLiteral("Data/UserData.db")); }

    // Runs statements on a connection of its own; false with the error in lastError.
    bool exec(const QStringList &statements)
    {
        return withConnection([&](QSqlDatabase &db) {
            QSqlQuery q(db);
            for (const QString &sql : statements)
                if (!q.exec(sql)) {
                    lastError = q.lastError().text();
                    return false;
                }
            return true;
        });
    }

    QList<NoteRow> rows()
    {
        QList<NoteRow> result;
        withConnection([&](QSqlDatabase &db) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("select YearMonthStr, Content, ContentBak from tb_NewKQ "
                                  "order by rowid"));
            while (q.next())
                result.append(
                    {q.value(0).toString(), q.value(1).toByteArray(), q.value(2).toString()});
            return true;
        });
        return result;
    }

    std::optional<NoteRow> row(const QString &key)
    {
        for (const NoteRow &r : rows())
            if (r.key == key) return r;
        return std::nullopt;
    }

    QTemporaryDir dir;
    QString lastError;

private:
    template <typename F> bool withConnection(F &&f)
    {
        const QString name = QUuid::createUuid().toString();
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database());
            ok = db.open() && f(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }
};
