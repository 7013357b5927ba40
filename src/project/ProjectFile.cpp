#include "ProjectFile.h"
#include "link/LocalPath.h"

#include "ProjectPaths.h"
#include "link/Cp1251.h"
#include "link/ReplacingFile.h"
#include "texts.h"

#include <QFile>
#include <algorithm>
#include <variant>
#include <vector>

namespace vextor {

namespace t = project_texts;

namespace {

// One line of the file after the first: a byte field or a text field of the model.
using Item = std::variant<uint8_t*, QString*>;

std::vector<Item> itemsOf(ProjectModel& m) {
    std::vector<Item> items{&m.PortNumber,
                            &m.WorkMode,
                            &m.Reserved1,
                            &m.Reserved2,
                            &m.ActiveProtocol,
                            &m.ActiveZarnetAddress,
                            &m.ActiveModbusAddress,
                            &m.ActiveMbParams,
                            &m.MasterCount,
                            &m.Master.Protocol,
                            &m.Master.Name,
                            &m.Master.ZarnetAddress,
                            &m.Master.ModbusAddress,
                            &m.Master.MbParams,
                            &m.Master.ConfigFile,
                            &m.Master.EventsFile,
                            &m.Master.VisualFile,
                            &m.SlaveCount,
                            &m.SlaveLineProtocol};
    auto addDevice = [&items](DeviceRecord& r, uint8_t* first) {
        items.insert(items.end(), {first, &r.Name, &r.ZarnetAddress, &r.ModbusAddress, &r.MbParams,
                                   &r.ConfigFile, &r.EventsFile, &r.VisualFile});
    };
    for (DeviceRecord& r : m.Slaves)
        addDevice(r, &r.TypeCode);
    items.emplace_back(&m.SingleCount);
    for (DeviceRecord& r : m.Singles)
        addDevice(r, &r.Protocol);
    return items;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

enum class ByteLine { Ok, NoNumber, OutOfRange };

// Blanks, a decimal integer (a "+" allowed), blanks. The whole number is checked before it goes to
// its byte: a value outside 0..255 would otherwise wrap (257 to 1) and reach another controller
// or port than the one the file names.
ByteLine parseByteLine(const QByteArray& line, uint8_t& value) {
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    const bool negative = i < line.size() && line[i] == '-';
    if (i < line.size() && (line[i] == '-' || line[i] == '+'))
        ++i;
    const qsizetype digitsStart = i;
    unsigned number = 0;
    bool tooLarge = false;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        number = number * 10 + static_cast<unsigned>(line[i] - '0');
        if (number > 0xFF) {
            tooLarge = true;
            number = 0xFF + 1; // keeps the sum bounded however long the digits run
        }
        ++i;
    }
    if (i == digitsStart)
        return ByteLine::NoNumber;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i != line.size())
        return ByteLine::NoNumber;
    if (tooLarge || (negative && number != 0))
        return ByteLine::OutOfRange;
    value = static_cast<uint8_t>(number);
    return ByteLine::Ok;
}

std::vector<QByteArray> splitLines(const QByteArray& bytes) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<QString> textLines(const ProjectModel& model) {
    ProjectModel copy = model;
    std::vector<QString> lines{fileNamePart(model.ProjectPath)};
    for (const Item& item : itemsOf(copy)) {
        if (auto* byte = std::get_if<uint8_t*>(&item))
            lines.push_back(QString::number(**byte));
        else
            lines.push_back(*std::get<QString*>(item));
    }
    return lines;
}

bool storable(const QString& text) {
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && fitsCp1251(text);
}

} // namespace

QString ProjectFileRead::message(const QString& path) const {
    switch (status) {
    case Status::Ok:
        return {};
    case Status::Short:
        return t::kShortFileHead + path + t::kShortFileMid + QString::number(line) + t::kShortFileTail;
    case Status::Malformed:
        return t::kReadErrorHead + path + t::kReadErrorLine + QString::number(line) + t::kReadErrorNumber;
    case Status::OutOfRange:
        return t::kReadErrorHead + path + t::kReadErrorLine + QString::number(line) + t::kReadErrorRange;
    case Status::TooLarge:
        return t::kReadErrorHead + path + t::kReadErrorTooLarge.arg(size).arg(kMaxProjectFileBytes);
    case Status::Unreadable:
        break;
    }
    return t::kReadErrorHead + path + t::kReadErrorIo;
}

ProjectFileRead parseProjectFile(const QByteArray& bytes) {
    ProjectFileRead result;
    const std::vector<QByteArray> lines = splitLines(bytes);
    const std::vector<Item> items = itemsOf(result.model);
    // Line 1 names the file it was written as; the path that counts is where it was opened from.
    for (size_t k = 0; k < items.size(); ++k) {
        const size_t lineIndex = k + 1;
        if (lineIndex >= lines.size())
            break; // a short file: the rest keeps its defaults
        if (auto* byte = std::get_if<uint8_t*>(&items[k])) {
            if (const ByteLine parsed = parseByteLine(lines[lineIndex], **byte); parsed != ByteLine::Ok) {
                result.status = parsed == ByteLine::NoNumber ? ProjectFileRead::Status::Malformed
                                                             : ProjectFileRead::Status::OutOfRange;
                result.line = static_cast<int>(lineIndex + 1);
                return result;
            }
        } else {
            *std::get<QString*>(items[k]) = fromCp1251(lines[lineIndex]);
        }
    }
    if (lines.size() < static_cast<size_t>(kProjectFileLines)) {
        result.status = ProjectFileRead::Status::Short;
        result.line = static_cast<int>(lines.size());
    } else {
        result.status = ProjectFileRead::Status::Ok;
    }
    return result;
}

ProjectFileRead ReadProjectFile(const QString& path) {
    LocalFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // One byte beyond the bound tells a file that is too long even where the size is not known
    // in advance (a pipe, a device).
    const QByteArray bytes = file.read(kMaxProjectFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {};
    if (bytes.size() > kMaxProjectFileBytes) {
        ProjectFileRead tooLarge;
        tooLarge.status = ProjectFileRead::Status::TooLarge;
        tooLarge.size = std::max<qint64>(file.size(), bytes.size());
        return tooLarge;
    }
    ProjectFileRead read = parseProjectFile(bytes);
    read.model.ProjectPath = path;
    return read;
}

int unstorableLine(const ProjectModel& model) {
    const std::vector<QString> lines = textLines(model);
    for (size_t i = 0; i < lines.size(); ++i)
        if (!storable(lines[i]))
            return static_cast<int>(i + 1);
    return 0;
}

QByteArray formatProjectFile(const ProjectModel& model) {
    QByteArray out;
    for (const QString& line : textLines(model)) {
        out += toCp1251(line);
        out += "\r\n";
    }
    return out;
}

ProjectFileWrite WriteProjectFile(const QString& path, const ProjectModel& model) {
    ProjectFileWrite result;
    if (const int bad = unstorableLine(model)) {
        result.message = t::kWriteErrorHead + path + t::kWriteErrorUnencodable.arg(bad);
        return result;
    }
    const QByteArray bytes = formatProjectFile(model);
    ReplacingFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        result.message = t::kWriteErrorHead + path + t::kWriteErrorIo.arg(file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace vextor
