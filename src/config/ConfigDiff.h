#pragma once
// Two configurations side by side: every field whose value differs, named and shown as the dump
// names and shows it. The command-line tool prints the list, the main window shows it as a table.
#include "ConfigImage.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace vextor {

struct ConfigDifference {
    QString name;    // "PresetTempAir", "NightBegin.Hour", "PIDKoef[1].KInt"
    QString section; // the dump's heading over the field
    // The shown values. Where the shown values round to the same text, both come with every digit.
    // Empty on a side that has no such field: a sensor's tail is a float, or four raw bytes for a
    // kind-0 sensor.
    QString valueA;
    QString valueB;
    bool operator==(const ConfigDifference&) const = default;
};

// Where the first image came from. A controller holds 0 in the seasons' Year bytes after every write
// (they are never sent), so against it they would differ from any file that was written to it.
enum class FirstSide { Image, Controller };

// The differing fields in the dump's order; empty when the two hold the same values.
std::vector<ConfigDifference> compareConfigurations(const ConfigImage& a, const ConfigImage& b,
                                                    FirstSide first = FirstSide::Image);

// An image against the bytes of a whole configuration file. The file goes over a copy of the image,
// so the fields a file does not carry (the factory constants, the protocol selector and the rest)
// never count as differences.
std::vector<ConfigDifference> compareWithFileBytes(const ConfigImage& image, const QByteArray& fileBytes,
                                                   FirstSide first = FirstSide::Image);

// A configuration file read for a comparison. Only a whole one is taken: a short file read in part
// would leave the other side's values in the fields it lacks and hide their differences.
struct ComparisonFile {
    enum class Status { Read, Missing, Unreadable, WrongSize };
    Status status = Status::Missing;
    QString reason;  // Unreadable: the system's reason
    qint64 size = 0; // WrongSize: the file's length
    QByteArray bytes;
    bool read() const { return status == Status::Read; }
};
ComparisonFile readComparisonFile(const QString& path);

// Why a file was not taken, in the words of the configuration file messages.
QString comparisonRefusalText(const ComparisonFile& file, const QString& path);

} // namespace vextor
