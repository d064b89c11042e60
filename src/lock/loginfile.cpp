#include "loginfile.h"

#include "programfolder.h"
#include "textfile.h"

#include <QFile>
#include <sodium.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The typed password lives in this buffer only as long as the hash call needs it.
class SecretBytes
{
public:
    explicit SecretBytes(const QString &text) : bytes(text.toUtf8()) {}
    ~SecretBytes() { sodium_memzero(bytes.data(), size_t(bytes.size())); }
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;
    const char *data() const { return bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(bytes.size()); }

private:
    QByteArray bytes;
};

// The file exists with mode 0600 before anything is written to it; QSaveFile gives its
// replacement the permissions of the file it replaces.
bool prepareOwnerOnly(const QString &file, bool &created)
{
    created = false;
    const QByteArray native = QFile::encodeName(file);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        created = true;
        return true;
    }
    if (errno != EEXIST) return false;
    return QFile::setPermissions(file, OwnerOnly);
}
} // namespace

namespace LoginFile
{

QString path()
{
    return ProgramFolder::path(QStringLiteral("Data\\loginstr.db"));
}

std::optional<QStringList> read()
{
    return TextFile::readLines(path());
}

std::optional<QString> firstLine()
{
    const auto lines = read();
    if (!lines || lines->isEmpty()) return std::nullopt;
    return lines->first();
}

bool isLocked(const QString &line1)
{
    return line1 != Marker;
}

bool isHash(const QString &line1)
{
    return line1.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX)) ||
           line1.startsWith(QLatin1String(crypto_pwhash_argon2i_STRPREFIX));
}

bool matches(const QString &line1, const QString &typed)
{
    if (!isHash(line1)) return typed == line1;
    if (!sodiumReady()) return false;
    const QByteArray stored = line1.toLatin1();
    const SecretBytes secret(typed);
    return crypto_pwhash_str_verify(stored.constData(), secret.data(), secret.size()) == 0;
}

std::optional<QString> hash(const QString &password)
{
    if (!sodiumReady()) return std::nullopt;
    char out[crypto_pwhash_STRBYTES];
    const SecretBytes secret(password);
    if (crypto_pwhash_str(out, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return std::nullopt;
    return QString::fromLatin1(out);
}

bool write(bool enabled, const QString &password)
{
    QStringList lines;
    if (enabled) {
        const auto h = hash(password);
        if (!h) return false;
        lines = {*h, *h, LineOn};
    } else {
        lines = {Marker, Marker, LineOff};
    }
    const QString file = path();
    bool created = false;
    if (!prepareOwnerOnly(file, created)) return false;
    if (!TextFile::writeLines(file, lines)) {
        if (created) QFile::remove(file);
        return false;
    }
    return QFile::setPermissions(file, OwnerOnly);
}

} // namespace LoginFile
