#include "DemoProject.h"

#include "DemoGeneral.h"
#include "DemoTactics.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "project/ProjectFile.h"
#include "texts.h"

#include <QDir>

namespace vextor {

namespace t = app_texts;

namespace {

// The demo master measures like a small air handling unit, so that the sensor grid shows every
// kind of channel after the first read.
ConfigImage demoMasterConfiguration() {
    ConfigImage image;
    loadDefaultConfiguration(image);
    auto& s = image.ArrSensors;
    // Supply air: Pt 1.385, R0 1000, two wires.
    s[0].KindSensor = 0;
    s[0].TypeClb = 2;
    s[0].Rbegin = 1000.0f;
    s[0].Rline = 2.2f;
    s[0].Byte = {2, 2, 0, 0};
    // Return water: Cu 1.428, R0 100, three wires, so channel 3 carries its second line.
    s[1].KindSensor = 0;
    s[1].TypeClb = 1;
    s[1].Rbegin = 100.0f;
    s[1].Rline = 1.5f;
    s[1].Byte = {3, 1, 0, 0};
    s[2].KindSensor = kNoSensor;
    // Outdoor air on a 4-20 mA transmitter, -30..70 °C, 200 Ω shunt.
    s[3].KindSensor = 4;
    s[3].TypeClb = 7;
    s[3].Rbegin = -30.0f;
    s[3].Rline = 70.0f;
    s[3].FValue = 200.0f;
    // Duct pressure on 0-10 V, 0..100.
    s[4].KindSensor = 2;
    s[4].TypeClb = 5;
    s[4].Rbegin = 0.0f;
    s[4].Rline = 100.0f;
    // Room air on an LM235.
    s[5].KindSensor = 1;
    s[5].TypeClb = 4;
    s[5].Rbegin = 2.732f;
    s[5].Rline = 2.2f;
    applyDemoTactics(image);
    addDemoGeneralConfiguration(image);
    return image;
}

} // namespace

std::unique_ptr<DemoProject> DemoProject::start(QString& error) {
    auto demo = std::unique_ptr<DemoProject>(new DemoProject);
    if (!demo->dir_.isValid()) {
        error = demo->dir_.errorString();
        return nullptr;
    }
    // The master and the two slaves answer at the addresses their slots have in a fresh project.
    const ConfigImage masterImage = demoMasterConfiguration();
    demo->line_.addController(virtualVextor(kMasterAddress, kMasterModbus), false, &masterImage);
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

    const QString configPath = dir.filePath(t::kDemoMasterConfig);
    const ConfigFileResult saved = saveConfigurationFile(masterImage, configPath);
    if (saved.success)
        m.Master.ConfigFile = configPath;

    demo->projectPath_ = dir.filePath(t::kDemoProjectFile);
    m.ProjectPath = demo->projectPath_;
    const ProjectFileWrite written = WriteProjectFile(demo->projectPath_, m);
    if (!written.ok) {
        error = written.message;
        return nullptr;
    }
    return demo;
}

} // namespace vextor
