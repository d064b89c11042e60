#include "notestore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace
{

QString errorText(const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.text();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

bool run(QSqlQuery &query, const QString &sql, QString &error)
{
    if (query.exec(sql)) return true;
    error = errorText(query);
    return false;
}

// The rowid of the first row of the key, nullopt when there is none; error set on failure.
std::optional<qint64> firstRow(QSqlQuery &select, const QString &key, QString &error)
{
    select.bindValue(0, key);
    if (!select.exec()) {
        error = errorText(select);
        return std::nullopt;
    }
    std::optional<qint64> row;
    if (select.next()) row = select.value(0).toLongLong();
    select.finish();
    return row;
}

} // namespace

TNoteStore::TNoteStore(QString connectionName) : m_connection(std::move(connectionName)) {}

TNoteStore::~TNoteStore() = default;

TNoteStore::ReadResult TNoteStore::readNote(const QString &key)
{
    ReadResult result;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("select Content from tb_NewKQ where YearMonthStr = ? "
                                      "order by rowid limit 1"))) {
        result.error = errorText(query);
        return result;
    }
    query.bindValue(0, key);
    if (!query.exec()) {
        result.error = errorText(query);
        return result;
    }
    if (query.next()) {
        const QVariant value = query.value(0);
        // Rows written by other tools may hold the RTF as text rather than as a blob.
        if (!value.isNull())
            result.content = value.typeId() == QMetaType::QString ? value.toString().toUtf8()
                                                                  : value.toByteArray();
    }
    query.finish();
    result.ok = true;
    return result;
}

std::array<QString, 6> TNoteStore::saveWeek(const std::array<Slot, 6> &notes)
{
    std::array<QString, 6> errors;
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery control(db);
    QString error;
    const auto failAll = [&](const QString &reason) {
        errors.fill(reason);
        return errors;
    };
    // IMMEDIATE takes the write lock at once, so the selects below can never meet a snapshot
    // that another writer made stale.
    if (!run(control, QStringLiteral("begin immediate"), error)) return failAll(error);

    QSqlQuery select(db), insert(db), update(db);
    select.setForwardOnly(true);
    const bool prepared =
        select.prepare(QStringLiteral(
            "select rowid from tb_NewKQ where YearMonthStr = ? order by rowid limit 1")) &&
        insert.prepare(QStringLiteral("insert into tb_NewKQ(YearMonthStr) values(?)")) &&
        update.prepare(
            QStringLiteral("update tb_NewKQ set Content = ?, ContentBak = ? where rowid = ?"));
    if (!prepared) {
        const QString reason = errorText(select.lastError().isValid()   ? select
                                         : insert.lastError().isValid() ? insert
                                                                        : update);
        run(control, QStringLiteral("rollback"), error);
        return failAll(reason);
    }

    for (std::size_t r = 0; r < notes.size(); ++r) {
        const Slot &slot = notes[r];
        QString slotError;
        if (!run(control, QStringLiteral("savepoint slot"), slotError)) {
            errors[r] = slotError;
            continue;
        }
        const auto writeSlot = [&]() -> bool {
            std::optional<qint64> row = firstRow(select, slot.key, slotError);
            if (!slotError.isEmpty()) return false;
            if (!row) {
                insert.bindValue(0, slot.key);
                if (!insert.exec()) {
                    slotError = errorText(insert);
                    return false;
                }
                row = firstRow(select, slot.key, slotError);
                if (!slotError.isEmpty()) return false;
                if (!row) {
                    slotError = QStringLiteral("no row for %1 after insert").arg(slot.key);
                    return false;
                }
            }
            update.bindValue(0, slot.content);
            update.bindValue(1, slot.plainText);
            update.bindValue(2, *row);
            if (!update.exec()) {
                slotError = errorText(update);
                return false;
            }
            return true;
        };
        if (writeSlot()) {
            run(control, QStringLiteral("release slot"), slotError);
        } else {
            errors[r] = slotError;
            QString ignored;
            run(control, QStringLiteral("rollback to slot"), ignored);
            run(control, QStringLiteral("release slot"), ignored);
        }
    }

    if (!run(control, QStringLiteral("commit"), error)) {
        QString ignored;
        run(control, QStringLiteral("rollback"), ignored);
        for (QString &e : errors)
            if (e.isEmpty()) e = error;
    }
    return errors;
}
