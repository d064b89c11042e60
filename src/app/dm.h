#pragma once

#include <QString>

#include <optional>

// The data module: the one connection to the notes database "Data\UserData.db".
class TDM
{
public:
    explicit TDM(QString connectionName = QStringLiteral("AdoCon"));
    ~TDM();
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // Opens the database; on failure tells the user "配置文件加载失败，请重试！" and returns
    // false. The program never creates the file or the table, and a file that fails the checks
    // is left exactly as it was.
    bool OpenDatabase();

    QString connectionName() const { return m_connection; }
    bool isOpen() const;
    // Why the last OpenDatabase failed; the user sees only the one message.
    QString lastError() const { return m_error; }

    static QString databasePath();
    // Why the file cannot serve as the notes database, nullopt when it can. Reads only.
    static std::optional<QString> checkDatabaseFile(const QString &path);

private:
    std::optional<QString> connect();

    QString m_connection;
    QString m_error;
};
