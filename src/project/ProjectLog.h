#pragma once
// The main window's log as the project sees it: one line per project or file action.
#include <QDateTime>
#include <QString>
#include <functional>

namespace vextor {

class ProjectLog {
public:
    virtual ~ProjectLog() = default;
    virtual void addLine(const QString& line) = 0;
};

// date + " " + time + " " + action + path, with the system's short date and long time formats.
QString logActionLine(const QDateTime& when, const QString& action, const QString& path);

} // namespace vextor
