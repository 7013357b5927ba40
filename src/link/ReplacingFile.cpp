#include "ReplacingFile.h"

#include "LocalPath.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vextor {
namespace {

QString reason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

QString ReplacingFile::temporaryPath(const QString& path) {
    const QFileInfo info(path);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".vextor-tmp");
}

ReplacingFile::ReplacingFile(const QString& path) : target_(path) {
    // A link is followed: the file it points to is replaced, the link stays.
    const QString linked = localSymLinkTarget(path);
    if (!linked.isEmpty())
        target_ = linked;
    temporary_ = temporaryPath(target_);
}

ReplacingFile::~ReplacingFile() {
    cancel();
}

bool ReplacingFile::failWith(int err) {
    error_ = reason(err);
    failed_ = true;
    return false;
}

bool ReplacingFile::open() {
    if (fd_ >= 0)
        return !failed_;
    failed_ = false;
    error_.clear();
    // A directory can never be replaced by the file: say so before a long read fills the temporary.
    struct stat target {};
    if (::stat(localPathBytes(target_).constData(), &target) == 0 && S_ISDIR(target.st_mode))
        return failWith(EISDIR);
    const QByteArray tmp = localPathBytes(temporary_);
    const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return failWith(errno);
    // The lock comes before the truncation: another save of this target that is still writing
    // keeps its bytes and this one is refused.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return failWith(err);
    }
    fd_ = fd;
    if (::ftruncate(fd_, 0) != 0) {
        const int err = errno;
        cancel();
        return failWith(err);
    }
    // The replaced file keeps its permissions.
    struct stat st {};
    if (::stat(localPathBytes(target_).constData(), &st) == 0)
        ::fchmod(fd_, st.st_mode & 07777);
    return true;
}

bool ReplacingFile::write(const char* data, qint64 size) {
    if (fd_ < 0 || failed_)
        return false;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(size - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return failWith(n < 0 ? errno : ENOSPC);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (fd_ < 0 || failed_) {
        if (error_.isEmpty())
            error_ = reason(EBADF);
        cancel();
        return false;
    }
    if (::fsync(fd_) != 0 ||
        std::rename(localPathBytes(temporary_).constData(), localPathBytes(target_).constData()) != 0) {
        const int err = errno;
        cancel();
        return failWith(err);
    }
    // Renamed: the lock on the descriptor goes with the close, the temporary name is free again.
    ::close(fd_);
    fd_ = -1;
    return true;
}

void ReplacingFile::cancel() {
    if (fd_ < 0)
        return;
    ::unlink(localPathBytes(temporary_).constData());
    ::close(fd_);
    fd_ = -1;
}

} // namespace vextor
