#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The notes table tb_NewKQ (YearMonthStr, Content, ContentBak) on an open SQLite connection.
// Keys are always bound parameters. With two rows of one key (made outside the program) the
// first row is read and written.
class TNoteStore
{
public:
    explicit TNoteStore(QString connectionName);
    virtual ~TNoteStore();
    TNoteStore(const TNoteStore &) = delete;
    TNoteStore &operator=(const TNoteStore &) = delete;

    struct ReadResult {
        bool ok = false;
        QByteArray content; // empty for a missing row or an empty Content
        QString error;
    };
    virtual ReadResult readNote(const QString &key);

    struct Slot {
        QString key;
        QByteArray content; // RTF
        QString plainText;  // lines joined by CR LF
    };
    // Writes all six notes in one transaction, each under its own savepoint: a failing slot is
    // rolled back alone and the others are still written. Missing rows are inserted first.
    // Returns one error text per slot, empty where the slot was written.
    virtual std::array<QString, 6> saveWeek(const std::array<Slot, 6> &notes);

private:
    QString m_connection;
};
