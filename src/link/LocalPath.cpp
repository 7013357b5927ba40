#include "LocalPath.h"

#include <QDir>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vextor {
namespace {

constexpr char16_t kKeptByteBase = 0xDC00; // + a byte 0x80..0xFF

// The length of the UTF-8 character starting at bytes[i], 0 when the bytes there are not one
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF).
int utf8Length(QByteArrayView bytes, qsizetype i, char32_t& code) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char c = at(i + k);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

QString reason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

QString pathFromLocalBytes(QByteArrayView bytes) {
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = utf8Length(bytes, i, code);
        if (length == 0) {
            path.append(QChar(static_cast<char16_t>(kKeptByteBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        path.append(QString::fromUcs4(&code, 1));
        i += length;
    }
    return path;
}

QByteArray localPathBytes(const QString& path) {
    if (!hasKeptBytes(path))
        return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c < kKeptByteBase + 0x80 || c > kKeptByteBase + 0xFF)
            continue;
        // A kept byte is a lone surrogate: a low surrogate after a high one is half of a character.
        if (i > 0 && path[i - 1].isHighSurrogate())
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        bytes += static_cast<char>(c - kKeptByteBase);
        start = i + 1;
    }
    bytes += QStringView(path).mid(start).toUtf8();
    return bytes;
}

bool hasKeptBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF &&
            !(i > 0 && path[i - 1].isHighSurrogate()))
            return true;
    }
    return false;
}

bool localPathExists(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(localPathBytes(path).constData(), &st) == 0;
}

bool localIsFile(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(localPathBytes(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

qint64 localFileSize(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(localPathBytes(path).constData(), &st) != 0)
        return -1;
    return static_cast<qint64>(st.st_size);
}

QString localSymLinkTarget(const QString& path) {
    const QByteArray bytes = localPathBytes(path);
    struct stat st {};
    if (path.isEmpty() || ::lstat(bytes.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return {};
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(bytes.constData(), target.data(), static_cast<size_t>(target.size()));
    if (n <= 0)
        return {};
    target.truncate(n);
    QString resolved = pathFromLocalBytes(target);
    if (!resolved.startsWith(QLatin1Char('/'))) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash < 0    ? QDir::currentPath()
                               : slash == 0 ? QStringLiteral("/")
                                            : path.left(slash);
        resolved = folder + QLatin1Char('/') + resolved;
        if (!resolved.startsWith(QLatin1Char('/')))
            resolved = QDir::currentPath() + QLatin1Char('/') + resolved;
    }
    return QDir::cleanPath(resolved);
}

LocalFile::LocalFile(const QString& path) : path_(path) {
    if (!hasKeptBytes(path))
        setFileName(path);
}

bool LocalFile::open(OpenMode mode) {
    if (!hasKeptBytes(path_))
        return QFile::open(mode);
    int flags = O_CLOEXEC;
    if ((mode & ReadWrite) == ReadWrite)
        flags |= O_RDWR;
    else if (mode & WriteOnly)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (mode & WriteOnly) {
        flags |= O_CREAT;
        if (mode & Append)
            flags |= O_APPEND;
        else if ((mode & Truncate) || !(mode & ReadOnly))
            flags |= O_TRUNC;
        if (mode & NewOnly)
            flags |= O_EXCL;
    }
    const int fd = ::open(localPathBytes(path_).constData(), flags, 0666);
    if (fd < 0) {
        setErrorString(reason(errno));
        return false;
    }
    if (!QFile::open(fd, mode, AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace vextor
