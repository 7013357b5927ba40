#pragma once
// The diagnostic text of the whole configuration image: every field on a line of its own with its
// device address, name and current value, grouped under section headings. Built from scratch on
// every call.
#include "ConfigImage.h"

#include <QStringList>
#include <vector>

namespace vextor {

QStringList configurationDumpLines(const ConfigImage& image);

// One field as the dump names and shows it, under the section heading it stands below. A record the
// dump shows as one row or as a block comes member by member here ("PIDKoef[1].KInt",
// "Calendars[i,3].Byte[2]"), and a kind-0 sensor's raw tail with all four of its bytes.
struct DumpField {
    QString section;
    QString name;
    QString value;
    // Every bit of the value, readable: two fields hold the same value exactly when these are equal,
    // even where the shown value rounds (24,000001 and 24 both show 24,00000).
    QString exact;
    // A season's Year: a write to the controller sends 0 in its place, so the controller never holds
    // a file's value.
    bool neverWritten = false;
};

// The dump's fields in its order; the fields the dump hides (TimeWorkPump, CfgVersion) are left out
// here too.
std::vector<DumpField> configurationDumpFields(const ConfigImage& image);

} // namespace vextor
