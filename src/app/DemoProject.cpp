#include "DemoProject.h"

#include "DemoMemory.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "project/ProjectFile.h"
#include "texts.h"

#include <QDir>
#include <QFile>

namespace vextor {

namespace t = app_texts;

std::unique_ptr<DemoProject> DemoProject::start(QString& error) {
    auto demo = std::unique_ptr<DemoProject>(new DemoProject);
    if (!demo->dir_.isValid()) {
        error = demo->dir_.errorString();
        return nullptr;
    }
    // The master and the two slaves answer at the addresses their slots have in a fresh project.
    demo->line_.addController(virtualVextor(kMasterAddress, kMasterModbus), false, kDemoMasterImage);
    demo->line_.addController(virtualVextor(1, 100));
    demo->line_.addController(virtualVextor(2, 101));
    if (!demo->line_.start(error))
        return nullptr;
    // Only this process sees the binding: the user's own port map stays as it is.
    qputenv(QByteArray("VEXTOR_COM") + QByteArray::number(kPortNumber), demo->line_.portPath().toLocal8Bit());

    const QDir dir(demo->dir_.path());
    ProjectModel m;
    m.PortNumber = kPortNumber;
    m.MasterCount = 1;
    m.Master.Name = t::kDemoMasterName;
    m.Master.ZarnetAddress = kMasterAddress;
    m.Master.ModbusAddress = kMasterModbus;
    m.SlaveCount = 2;
    m.Slaves[0].Name = t::kDemoSlaveName1;
    m.Slaves[1].Name = t::kDemoSlaveName2;

    // The master's configuration file beside the project holds what the master holds.
    ConfigImage masterImage;
    decodeBlock(masterImage, sim::kImageFirst, sim::kImageSize, kDemoMasterImage.data());
    const QString configPath = dir.filePath(t::kDemoMasterConfig);
    // The demo's files live in a folder of this run only: they are written plainly, without the
    // flush to the disk a real save makes, which would hold up the first window for nothing.
    const auto writePlain = [](const QString& path, const QByteArray& bytes, QString* why) {
        QFile file(path);
        const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        if (!ok && why)
            *why = QStringLiteral("%1: %2").arg(path, file.errorString());
        return ok;
    };
    if (writePlain(configPath, configurationFileBytes(masterImage), nullptr))
        m.Master.ConfigFile = configPath;

    demo->projectPath_ = dir.filePath(t::kDemoProjectFile);
    m.ProjectPath = demo->projectPath_;
    if (!writePlain(demo->projectPath_, formatProjectFile(m), &error))
        return nullptr;
    return demo;
}

} // namespace vextor
