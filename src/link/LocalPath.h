#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace vextor {

// File and device names as the system has them: bytes. A name that is not UTF-8 ($'bad\xff.bin')
// is still a name the engineer can type, and must reach the system unchanged. Qt's own conversion
// puts U+FFFD in place of such a byte and so names another file; here each byte that is not part of
// a UTF-8 character is kept as the lone surrogate U+DC80..U+DCFF and turned back into that byte on
// the way out, so a name makes the round trip exactly. UTF-8 names convert as Qt converts them.
QString pathFromLocalBytes(QByteArrayView bytes);
QByteArray localPathBytes(const QString& path);

// True when the name holds a byte kept by pathFromLocalBytes, which Qt's file classes cannot open.
bool hasKeptBytes(const QString& path);

// The file queries the command line makes, on the name's bytes.
bool localPathExists(const QString& path);
bool localIsFile(const QString& path);
// -1 where the name cannot be queried.
qint64 localFileSize(const QString& path);
// The absolute target of a symbolic link, or an empty string for anything else.
QString localSymLinkTarget(const QString& path);

// A QFile that opens its name by the name's bytes. Names Qt can convert open as any QFile does;
// others are opened by the system call and handed to QFile as a descriptor it closes.
class LocalFile : public QFile {
public:
    explicit LocalFile(const QString& path);
    using QFile::open;
    bool open(OpenMode mode) override;

private:
    QString path_;
};

} // namespace vextor
