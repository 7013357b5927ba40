// File and port names keep their bytes through the program, UTF-8 or not.
#include "link/LocalPath.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vextor;

TEST(LocalPath, EveryNameMakesTheRoundTripAndUtf8ConvertsAsQtDoes) {
    const QByteArray names[] = {
        "plain.bin",
        "Котельная П1.bin",       // Cyrillic in UTF-8
        "emoji \xF0\x9F\x94\xA5", // a character beyond the BMP (a surrogate pair inside)
        "bad\xff.bin",            // a byte that never starts a character
        "cp1251 \xca\xee\xf2",    // a name written in another code page
        "\xc0\xaf",               // an overlong '/'
        "\xed\xa0\x80",           // an encoded surrogate
        "cut \xe2\x82",           // a character cut short
        "\xf4\x90\x80\x80",       // beyond U+10FFFF
        "\xed\xb3\xbf"
        "\xff", // U+DCFF written in UTF-8, then the byte it stands for elsewhere
    };
    for (const QByteArray& bytes : names) {
        const QString path = pathFromLocalBytes(bytes);
        EXPECT_EQ(localPathBytes(path), bytes) << bytes.toHex().toStdString();
        const bool utf8 = QString::fromUtf8(bytes).toUtf8() == bytes;
        EXPECT_EQ(hasKeptBytes(path), !utf8) << bytes.toHex().toStdString();
        if (utf8) {
            EXPECT_EQ(path, QString::fromUtf8(bytes));
        }
    }
}

TEST(LocalPath, AFileWhoseNameIsNotUtf8IsFoundReadAndTold) {
    QTemporaryDir dir;
    const QByteArray folder = dir.path().toUtf8();
    const QByteArray raw = folder + "/bad\xff.bin";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
    ASSERT_EQ(::symlink(raw.constData(), (folder + "/link\xfe").constData()), 0);

    const QString path = pathFromLocalBytes(raw);
    EXPECT_TRUE(localPathExists(path));
    EXPECT_TRUE(localIsFile(path));
    EXPECT_EQ(localFileSize(path), 3);
    EXPECT_EQ(localSymLinkTarget(pathFromLocalBytes(folder + "/link\xfe")), path);
    EXPECT_TRUE(localSymLinkTarget(path).isEmpty());
    LocalFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("abc"));

    // Qt's own conversion names another file; that one must not be found instead.
    const QString other = pathFromLocalBytes(folder + "/bad\xef\xbf\xbd.bin");
    EXPECT_FALSE(localPathExists(other));
    LocalFile missing(pathFromLocalBytes(folder + "/gone\xff.bin"));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_FALSE(missing.errorString().isEmpty());
}
