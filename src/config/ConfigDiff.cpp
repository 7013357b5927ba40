#include "ConfigDiff.h"
#include "link/LocalPath.h"

#include "ConfigDump.h"
#include "ConfigFile.h"
#include "texts.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace vextor {

std::vector<ConfigDifference> compareConfigurations(const ConfigImage& a, const ConfigImage& b,
                                                    FirstSide first) {
    const std::vector<DumpField> fa = configurationDumpFields(a);
    const std::vector<DumpField> fb = configurationDumpFields(b);
    // The two walks differ only where a sensor's kind chose another tail, so the fields pair up by
    // name, and a field of one side alone stands where its side has it.
    QHash<QString, size_t> inA, inB;
    for (size_t i = 0; i < fa.size(); ++i)
        inA.insert(fa[i].name, i);
    for (size_t j = 0; j < fb.size(); ++j)
        inB.insert(fb[j].name, j);

    std::vector<ConfigDifference> out;
    size_t nextB = 0; // B's fields before this one are listed or paired
    auto onlyInB = [&](size_t end) {
        for (; nextB < end; ++nextB)
            if (!inA.contains(fb[nextB].name))
                out.push_back({fb[nextB].name, fb[nextB].section, {}, fb[nextB].value});
    };
    for (const DumpField& x : fa) {
        const auto found = inB.constFind(x.name);
        if (found == inB.constEnd()) {
            out.push_back({x.name, x.section, x.value, {}});
            continue;
        }
        onlyInB(*found);
        nextB = std::max(nextB, *found + 1);
        const DumpField& y = fb[*found];
        if (x.exact == y.exact || (first == FirstSide::Controller && x.neverWritten))
            continue;
        if (x.value == y.value)
            out.push_back({x.name, x.section, x.exact, y.exact});
        else
            out.push_back({x.name, x.section, x.value, y.value});
    }
    onlyInB(fb.size());
    return out;
}

std::vector<ConfigDifference> compareWithFileBytes(const ConfigImage& image, const QByteArray& fileBytes,
                                                   FirstSide first) {
    ConfigImage fromFile = image;
    applyConfigurationFileBytes(fromFile, fileBytes);
    return compareConfigurations(image, fromFile, first);
}

ComparisonFile readComparisonFile(const QString& path) {
    ComparisonFile result;
    if (!localPathExists(path))
        return result;
    LocalFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = ComparisonFile::Status::Unreadable;
        result.reason = file.errorString();
        return result;
    }
    // One byte past a configuration's size tells a longer file without trusting the size the file
    // system reports (a pipe reports none).
    const QByteArray bytes = file.read(kConfigFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = ComparisonFile::Status::Unreadable;
        result.reason = file.errorString();
        return result;
    }
    if (bytes.size() != kConfigFileSize) {
        result.status = ComparisonFile::Status::WrongSize;
        result.size =
            bytes.size() > kConfigFileSize ? std::max<qint64>(file.size(), bytes.size()) : bytes.size();
        return result;
    }
    result.status = ComparisonFile::Status::Read;
    result.bytes = bytes;
    return result;
}

QString comparisonRefusalText(const ComparisonFile& file, const QString& path) {
    switch (file.status) {
    case ComparisonFile::Status::Read:
        break;
    case ComparisonFile::Status::Missing:
        return QString::fromUtf8(texts::kFileMissingPrefix) + QLatin1Char('"') + path + QLatin1Char('"') +
               QString::fromUtf8(texts::kFileMissingSuffix);
    case ComparisonFile::Status::Unreadable:
        return QString::fromUtf8(texts::kFileOpenFailed).arg(path, file.reason);
    case ComparisonFile::Status::WrongSize:
        return QString::fromUtf8(texts::kFileNotConfiguration).arg(path).arg(file.size).arg(kConfigFileSize);
    }
    return {};
}

} // namespace vextor
