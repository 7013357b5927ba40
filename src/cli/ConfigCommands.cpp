// Configuration transfer, file and dump.
#include "CliContext.h"
#include "CliProgress.h"

#include "config/ConfigDump.h"
#include "config/ConfigFile.h"
#include "config/ConfigTransfer.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"

namespace vextor::cli {
namespace {

QString oneFile(QStringList& args, const char* command) {
    if (args.size() != 1)
        throw UsageError{QStringLiteral("%1 needs exactly one FILE.bin").arg(QLatin1String(command))};
    return args.takeFirst();
}

// The defaults, then the file over them; a short file is read in part with a warning.
bool loadFile(ConfigImage& image, const QString& path) {
    loadDefaultConfiguration(image);
    const ConfigFileResult loaded = loadConfigurationFile(image, path, nullptr);
    if (!loaded.success) {
        fail(loaded.errorText);
        return false;
    }
    if (!loaded.warningText.isEmpty())
        fail(loaded.warningText);
    return true;
}

int readConfig(CliContext& ctx, QStringList& args) {
    const QString path = oneFile(args, "read-config");
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    uint8_t v[2];
    if (!ReadMemory(ctx.link, v, kCfgVersionAddress, 2)) {
        fail(QStringLiteral("the controller did not answer the configuration version request"));
        return ExitNoAnswer;
    }
    const uint16_t version = wordFromImage(v);
    if (version != kConfigLayoutVersion) {
        fail(QStringLiteral("the controller's configuration version is %1: the configuration must be written "
                            "first (write-config)")
                 .arg(version == kNoCfgVersion ? QStringLiteral("none") : formatHundredths(version)));
        return ExitNoAnswer;
    }
    ConfigImage image;
    loadDefaultConfiguration(image);
    CliProgress progress(ctx.progress);
    if (!readConfiguration(ctx.link, image, progress, nullptr)) {
        fail(QStringLiteral("the configuration read failed: a block did not answer; nothing was saved"));
        return ExitNoAnswer;
    }
    image.CfgVersion = version;
    const ConfigFileResult saved = saveConfigurationFile(image, path);
    if (!saved.success) {
        fail(saved.errorText);
        return ExitUsage;
    }
    out(QStringLiteral("Конфигурация прочитана!"));
    return ExitOk;
}

int writeConfig(CliContext& ctx, QStringList& args) {
    const QString path = oneFile(args, "write-config");
    ConfigImage image;
    if (!loadFile(image, path))
        return ExitUsage;
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    CliProgress progress(ctx.progress);
    if (!writeConfiguration(ctx.link, image, progress)) {
        fail(QStringLiteral("the configuration write failed: a section was not acknowledged"));
        return ExitNoAnswer;
    }
    out(QStringLiteral("Конфигурация записана!"));
    return ExitOk;
}

int dump(CliContext&, QStringList& args) {
    const QString path = oneFile(args, "dump");
    ConfigImage image;
    if (!loadFile(image, path))
        return ExitUsage;
    for (const QString& line : configurationDumpLines(image))
        out(line);
    return ExitOk;
}

} // namespace

std::vector<Command> configCommands() {
    return {
        {"read-config", readConfig, "read-config FILE.bin          read the whole configuration into a file"},
        {"write-config", writeConfig,
         "write-config FILE.bin         write every section of a configuration file"},
        {"dump", dump, "dump FILE.bin                 the annotated text of a configuration file"},
    };
}

} // namespace vextor::cli
