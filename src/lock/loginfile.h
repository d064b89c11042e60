#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <optional>

// "Data\loginstr.db", three lines. Line 1 alone decides the lock: the no-password marker, a
// salted Argon2id hash string of the password, or, in files written by earlier versions, the
// password itself in plain text. Line 2 repeats line 1 and is never read. Line 3 is "-1" with a
// password and "0" without; only the setting window reads it.
namespace LoginFile
{

inline constexpr QLatin1String Marker("QZLMK7340216");
inline constexpr QLatin1String LineOn("-1");
inline constexpr QLatin1String LineOff("0");

QString path();

// All lines; nullopt when the file is missing or cannot be read.
std::optional<QStringList> read();

// Line 1 of a readable, non-empty file; nullopt otherwise (which means: not locked).
std::optional<QString> firstLine();

// A hash never equals the marker, so any password written by write() locks.
bool isLocked(const QString &line1);
bool isHash(const QString &line1);

// Hash strings are verified; any other line 1 is a plain-text password compared exactly, case
// and spaces included.
bool matches(const QString &line1, const QString &typed);

// Argon2id with the interactive limits (about 0.1 s and 64 MB); nullopt when memory runs out.
std::optional<QString> hash(const QString &password);

// Replaces the file: the hash of password twice and "-1", or the marker twice and "0" when
// enabled is false. The file is readable by its owner only. False when it cannot be written;
// the old file then stays as it was.
bool write(bool enabled, const QString &password = QString());

} // namespace LoginFile
