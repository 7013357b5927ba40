#pragma once
// The demo mode: three virtual controllers (a master and two slaves) on one pseudo-terminal line,
// the project's port number bound to that line, and a project of those controllers in a fresh
// temporary directory.
#include "sim/VirtualLine.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace vextor {

class DemoProject {
public:
    // The port number the demo project uses; VEXTOR_COM<n> of this process points at the line.
    static constexpr int kPortNumber = 1;
    static constexpr uint8_t kMasterAddress = 3;
    static constexpr uint8_t kMasterModbus = 2;

    // Starts the line and writes the project; nullptr with the reason in error.
    static std::unique_ptr<DemoProject> start(QString& error);

    QString projectPath() const { return projectPath_; }
    QString portPath() const { return line_.portPath(); }
    QString directory() const { return dir_.path(); }

private:
    VirtualLine line_;
    QTemporaryDir dir_;
    QString projectPath_;
};

} // namespace vextor
