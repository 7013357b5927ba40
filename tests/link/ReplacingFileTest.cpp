// Replacing a file on disk: the old file survives every failure, and the temporary is plainly ours
// and never piles up.
#include "link/ReplacingFile.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vextor;

namespace {

using vextor::testing::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

bool save(const QString& path, const QByteArray& bytes) {
    ReplacingFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

} // namespace

TEST(ReplacingFile, ATemporaryLeftByAKilledSaveIsTakenOverByTheNext) {
    QTemporaryDir dir;
    const QString target = dir.filePath("plant.bin");
    writeAll(target, "old");
    ::chmod(target.toLocal8Bit().constData(), 0640);
    EXPECT_EQ(ReplacingFile::temporaryPath(target), dir.filePath(".plant.bin.vextor-tmp"));
    writeAll(ReplacingFile::temporaryPath(target), "half of a killed save, and longer than the new one");

    ASSERT_TRUE(save(target, "new"));
    EXPECT_EQ(readAll(target), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plant.bin"});
    struct stat st {};
    ASSERT_EQ(::stat(target.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the replaced file's permissions stay
}

TEST(ReplacingFile, EveryFailureKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath("log.blb");
    writeAll(target, "old");

    {
        // A second save of the same target while the first is still writing is refused.
        ReplacingFile first(target), second(target);
        ASSERT_TRUE(first.open());
        ASSERT_TRUE(first.write("first"));
        EXPECT_FALSE(second.open());
        EXPECT_FALSE(second.errorString().isEmpty());
        EXPECT_TRUE(first.commit());
        EXPECT_EQ(readAll(target), "first");
    }
    {
        ReplacingFile cancelled(target);
        ASSERT_TRUE(cancelled.open());
        ASSERT_TRUE(cancelled.write("cancelled"));
        cancelled.cancel();
        EXPECT_FALSE(cancelled.commit());
    }
    {
        ReplacingFile dropped(target); // destroyed without a commit, as by an exception
        ASSERT_TRUE(dropped.open());
        ASSERT_TRUE(dropped.write("dropped"));
    }
    {
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        ReplacingFile full(target);
        const bool opened = full.open();
        const bool written = full.write(QByteArray(1000, 'x'));
        const bool committed = full.commit();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(written);
        EXPECT_FALSE(committed);
        EXPECT_EQ(full.errorString(), "File too large");
    }
    EXPECT_FALSE(save(dir.filePath("missing/x.bin"), "x"));
    EXPECT_EQ(readAll(target), "first");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.blb"});
}
