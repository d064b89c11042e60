#pragma once

#include "lockmessage.h"
#include "loginfile.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// A program folder of its own with an empty Data folder, and a recorder in place of the
// message boxes.
struct LockFixture {
    struct Message {
        QWidget *owner;
        QString text;
        QString caption;
    };

    QTemporaryDir dir;
    QList<Message> messages;

    LockFixture()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Data"));
        ProgramFolder::setRoot(dir.path());
        LockMessage::setHook([this](QWidget *owner, const QString &text, const QString &caption) {
            messages.append({owner, text, caption});
        });
    }
    ~LockFixture()
    {
        LockMessage::setHook({});
        ProgramFolder::setRoot(QString());
    }
    LockFixture(const LockFixture &) = delete;
    LockFixture &operator=(const LockFixture &) = delete;

    static void writeRaw(const QByteArray &bytes)
    {
        QFile f(LoginFile::path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray readRaw()
    {
        QFile f(LoginFile::path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

inline const QByteArray MarkerFile = "QZLMK7340216\r\nQZLMK7340216\r\n0\r\n";
