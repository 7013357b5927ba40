#pragma once
// The configuration file (".bin"): a flat 1153-byte dump of ConfigImage in an order of its own, with
// no header, version or checksum, so that files move between this program and existing
// installations unchanged.
//
// Binding the file to a project device, showing the texts and writing the log line are the
// caller's: these operations only say whether to do so and with which texts.
#include "ConfigImage.h"
#include "ConfigObserver.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vextor {

inline constexpr int kConfigFileSize = 1153;

struct ConfigFileResult {
    // True when the file was written (committed) or read. Only then does the caller bind the path
    // to the device as its configuration file and add logLine to the message log.
    bool success = false;
    // Shown to the user when success is false; the image, the file on disk and the binding are as
    // they were.
    QString errorText;
    // Shown to the user despite success: a file shorter than a configuration file was read in part.
    QString warningText;
    // "<date> <time> сохранение файла - <path>" or "... открытие файла - <path>".
    QString logLine;
};

// The file bytes of an image: always kConfigFileSize bytes, reserved bytes 0.
QByteArray configurationFileBytes(const ConfigImage& image);

// Reads the fields the bytes reach, in file order, into image; a field cut off by the end is left as
// it was. Fields that the file does not hold (Zarnet_Modbus, the factory constants, SoundOn,
// TimeWorkPump, analog output rows 6 and 7, CfgVersion) are never touched. Returns the bytes used.
int applyConfigurationFileBytes(ConfigImage& image, const QByteArray& bytes);

// Writes the file beside the target and renames it over the target once it is on disk: a write that
// fails or cannot be committed leaves the old file in place.
ConfigFileResult saveConfigurationFile(const ConfigImage& image, const QString& path,
                                       const QDateTime& now = QDateTime::currentDateTime());

// Reads the file into image and then tells observer (may be null) to show the first page, refill
// every view (the calendar counts as loaded) and select the first rows. A missing file, a file that
// cannot be read and a file longer than kConfigFileSize change nothing. A shorter file is read as
// far as it goes (older tools relied on that) with a warning that names the size read.
ConfigFileResult loadConfigurationFile(ConfigImage& image, const QString& path, ConfigObserver* observer,
                                       const QDateTime& now = QDateTime::currentDateTime());

// One line of the main window's message log: date and time in the system's short formats, then
// the action text and the path.
QString fileLogLine(const char* action, const QString& path, const QDateTime& now);

} // namespace vextor
