#include "ProjectPaths.h"

namespace vextor {
namespace {

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

} // namespace

QString fileNamePart(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString directoryPart(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

QString extensionPart(const QString& path) {
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString withoutExtension(const QString& path) {
    return path.chopped(extensionPart(path).size());
}

QString joinPath(const QString& directory, const QString& name) {
    if (directory.isEmpty())
        return name;
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\')))
        return directory + name;
    const QChar sep = directory.contains(QLatin1Char('/')) || !directory.contains(QLatin1Char('\\'))
                          ? QLatin1Char('/')
                          : QLatin1Char('\\');
    return directory + sep + name;
}

} // namespace vextor
