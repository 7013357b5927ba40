// Configuration transfer, file and dump.
#include "CliContext.h"
#include "CliProgress.h"
#include "link/LocalPath.h"

#include "config/ConfigDiff.h"
#include "config/ConfigDump.h"
#include "config/ConfigFile.h"
#include "config/ConfigTransfer.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"

#include <QFile>
#include <algorithm>
#include <optional>
#include <vector>

namespace vextor::cli {
namespace {

QString oneFile(const CliContext& ctx, QStringList& args, const char* command) {
    keepPositionals(ctx, args);
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

// The controller's whole configuration, as read-config reads it. ExitOk, or the exit code of the
// failure, which has been printed (a failed read with the consequence the caller names).
int readControllerConfiguration(CliContext& ctx, ConfigImage& image, const QString& failedReadTail) {
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    uint8_t v[2];
    if (!ctx.attempt([&] { return ReadMemory(ctx.link, v, kCfgVersionAddress, 2); })) {
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
    loadDefaultConfiguration(image);
    CliProgress progress(ctx.progress);
    if (!readConfiguration(ctx.link, image, progress, nullptr)) {
        fail(QStringLiteral("the configuration read failed: a block did not answer") + failedReadTail);
        return ExitNoAnswer;
    }
    image.CfgVersion = version;
    return ExitOk;
}

int readConfig(CliContext& ctx, QStringList& args) {
    const QString path = oneFile(ctx, args, "read-config");
    ConfigImage image;
    if (const int rc = readControllerConfiguration(ctx, image, QStringLiteral("; nothing was saved"));
        rc != ExitOk)
        return rc;
    const ConfigFileResult saved = saveConfigurationFile(image, path);
    if (!saved.success) {
        fail(saved.errorText);
        return ExitUsage;
    }
    out(QStringLiteral("Конфигурация прочитана!"));
    return ExitOk;
}

int writeConfig(CliContext& ctx, QStringList& args) {
    const QString path = oneFile(ctx, args, "write-config");
    // Without the controller's image to fill in, a part of a file would write defaults over the
    // rest of its configuration: only a whole one goes out. The input is read whole first, one byte
    // past a configuration's size, so a pipe or a device is held to the same rule as a file.
    LocalFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1 cannot be read: %2; nothing was sent").arg(path, file.errorString()));
        return ExitUsage;
    }
    const QByteArray bytes = file.read(kConfigFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("%1 cannot be read: %2; nothing was sent").arg(path, file.errorString()));
        return ExitUsage;
    }
    if (bytes.size() != kConfigFileSize) {
        const QString size = localIsFile(path) ? QString::number(localFileSize(path))
                             : bytes.size() > kConfigFileSize
                                 ? QStringLiteral("more than %1").arg(kConfigFileSize)
                                 : QString::number(bytes.size());
        fail(QStringLiteral("%1 is not a whole configuration file: %2 bytes, not %3; nothing was sent")
                 .arg(path, size)
                 .arg(kConfigFileSize));
        return ExitUsage;
    }
    ConfigImage image;
    loadDefaultConfiguration(image);
    applyConfigurationFileBytes(image, bytes);
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    // The file does not carry every field the write sends (TimeWorkPump, the protocol selector):
    // those keep the controller's own values, so they are read first.
    for (const MemoryRange& range : writtenRangesNotInFile()) {
        std::vector<uint8_t> bytes(range.count);
        if (!ctx.attempt([&] {
                return ReadMemory(ctx.link, bytes.data(), range.address, static_cast<uint8_t>(range.count));
            })) {
            fail(QStringLiteral("the controller did not answer the read of its own values at %1: nothing "
                                "was written")
                     .arg(range.address));
            return ExitNoAnswer;
        }
        decodeBlock(image, range.address, range.count, bytes.data());
    }
    CliProgress progress(ctx.progress);
    if (!writeConfiguration(ctx.link, image, progress)) {
        fail(QStringLiteral("the configuration write failed: a section was not acknowledged"));
        return ExitNoAnswer;
    }
    out(QStringLiteral("Конфигурация записана!"));
    return ExitOk;
}

int dump(CliContext& ctx, QStringList& args) {
    const QString path = oneFile(ctx, args, "dump");
    ConfigImage image;
    if (!loadFile(image, path))
        return ExitUsage;
    for (const QString& line : configurationDumpLines(image))
        out(line);
    return ExitOk;
}

// A whole configuration file, or the reason it is none, printed.
std::optional<QByteArray> comparisonBytes(const QString& path) {
    const ComparisonFile file = readComparisonFile(path);
    switch (file.status) {
    case ComparisonFile::Status::Read:
        return file.bytes;
    case ComparisonFile::Status::Missing:
        fail(QStringLiteral("%1 does not exist").arg(path));
        break;
    case ComparisonFile::Status::Unreadable:
        fail(QStringLiteral("%1 cannot be read: %2").arg(path, file.reason));
        break;
    case ComparisonFile::Status::WrongSize:
        fail(QStringLiteral("%1 is not a configuration file: %2 bytes, not %3")
                 .arg(path)
                 .arg(file.size)
                 .arg(kConfigFileSize));
        break;
    }
    return std::nullopt;
}

// One line per differing field: the name, then A's value, then B's, in columns. Names and values
// hold no blanks, so the columns split on blanks; "-" stands for a field one side does not have.
void printDifferences(const std::vector<ConfigDifference>& differences) {
    auto shown = [](const QString& v) { return v.isEmpty() ? QStringLiteral("-") : v; };
    qsizetype nameWidth = 0, aWidth = 0;
    for (const ConfigDifference& d : differences) {
        nameWidth = std::max(nameWidth, d.name.size());
        aWidth = std::max(aWidth, shown(d.valueA).size());
    }
    for (const ConfigDifference& d : differences)
        out(d.name.leftJustified(nameWidth + 2) + shown(d.valueA).leftJustified(aWidth + 2) +
            shown(d.valueB));
}

int diff(CliContext& ctx, QStringList& args) {
    keepPositionals(ctx, args);
    const bool device = ctx.commandFlags.contains(QStringLiteral("--device"));
    if (args.size() != (device ? 1 : 2))
        throw UsageError{QStringLiteral("diff needs two files A.bin B.bin, or --device FILE.bin")};
    // The files first: one that is no configuration ends the command before the port is opened.
    std::vector<QByteArray> files;
    for (const QString& path : args) {
        const auto bytes = comparisonBytes(path);
        if (!bytes)
            return ExitUsage;
        files.push_back(*bytes);
    }
    ConfigImage a;
    if (device) {
        const int rc = readControllerConfiguration(ctx, a, {});
        if (rc != ExitOk)
            return rc == ExitNoAnswer ? ExitDiffNoAnswer : rc;
    } else {
        // Both files over the same defaults: what a file does not carry is the same on both sides.
        loadDefaultConfiguration(a);
        applyConfigurationFileBytes(a, files.front());
    }
    const std::vector<ConfigDifference> differences =
        compareWithFileBytes(a, files.back(), device ? FirstSide::Controller : FirstSide::Image);
    printDifferences(differences);
    return differences.empty() ? ExitOk : ExitDiffers;
}

} // namespace

std::vector<Command> configCommands() {
    return {
        {"read-config", readConfig, "read-config FILE.bin          read the whole configuration into a file"},
        {"write-config", writeConfig,
         "write-config FILE.bin         write every section of a configuration file"},
        {"dump", dump, "dump FILE.bin                 the annotated text of a configuration file"},
        {"diff", diff,
         "diff A.bin B.bin              the fields that differ: name, value in A, value in B\n"
         "  diff --device FILE.bin        the same, the controller's configuration (A) against a file"},
    };
}

} // namespace vextor::cli
