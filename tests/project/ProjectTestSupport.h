#pragma once
#include "config/ConfigFile.h"
#include "link/UserDialogs.h"
#include "project/Project.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vextor::test {

inline QString fixturePath(const QString& name) {
    return QStringLiteral(VEXTOR_FIXTURES "/project/") + name;
}

class RecordingLog : public ProjectLog {
public:
    QStringList lines;
    void addLine(const QString& line) override { lines << line; }
};

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A project with scripted dialogs, a recording log, a fixed clock and a program directory of its own.
struct ProjectFixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingLog log;
    Project project{dialogs, &log, dir.path()};

    ProjectFixture() {
        project.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); };
        project.ResetProject();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The log line a command writes, with this fixture's clock.
    QString logged(const QString& action, const QString& p) const {
        return logActionLine(project.now(), action, p);
    }
    // A configuration file's log line takes the short time format, a command's line the long one.
    QString loggedConfigFile(const char* action, const QString& p) const {
        return fileLogLine(action, p, project.now());
    }
    void addMaster() {
        dialogs.yesNo.push_back(true);
        project.addMaster();
    }
    void addSlaves(int n) {
        for (int i = 0; i < n; ++i) {
            dialogs.yesNo.push_back(true);
            project.addSlave();
        }
    }
    void addSingles(int n) {
        for (int i = 0; i < n; ++i) {
            dialogs.yesNo.push_back(true);
            project.addSingle();
        }
    }
};

} // namespace vextor::test
