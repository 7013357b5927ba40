#pragma once
// Creates or replaces a file so that a failed, refused or interrupted save leaves the old file as
// it was: the bytes go to a temporary beside the target, reach the disk, and only then is the
// temporary renamed over the target. The temporary is ".<name>.vextor-tmp" in the target's folder,
// so one that a killed save left behind is plainly ours; the next save of the same target takes
// it over and renames it away. Two saves of one target at once are told apart by a lock on the
// temporary: the second is refused.
#include <QByteArray>
#include <QString>

namespace vextor {

class ReplacingFile {
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile(); // an uncommitted write is cancelled
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool open();
    // False when the bytes could not all be written (a full disk, a file-size limit); the save can
    // then only be cancelled.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Puts the bytes on the disk and renames the temporary over the target. False after any failed
    // step, with the temporary removed and the old file untouched.
    bool commit();
    // Drops the temporary; the target stays as it was.
    void cancel();
    QString errorString() const { return error_; }

    // The temporary of a target path.
    static QString temporaryPath(const QString& path);

private:
    bool failWith(int err);

    QString target_;
    QString temporary_;
    QString error_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace vextor
