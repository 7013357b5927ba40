#pragma once
// Path pieces for project files that may come from Windows: both '\' and '/' separate directories.
#include <QString>

namespace vextor {

// "C:\Work\Plant\cfg.bin" and "/work/plant/cfg.bin" both give "cfg.bin"; a text without any
// separator (such as a "no file" placeholder) is its own file-name part.
QString fileNamePart(const QString& path);
// Everything before the file-name part, separator included ("" when there is none).
QString directoryPart(const QString& path);
// The extension of the file-name part, dot included (".prj"), or "" when it has none.
QString extensionPart(const QString& path);
// The chosen project name without its extension at the very end: "/data/Plant.prj" gives
// "/data/Plant", and the ".prj" of a directory such as "/data/old.prj.d/" is never touched.
QString withoutExtension(const QString& path);
// Joins a directory with a file name using the directory's own separator ('/' when it has none).
QString joinPath(const QString& directory, const QString& name);

} // namespace vextor
