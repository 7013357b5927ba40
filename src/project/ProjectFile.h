#pragma once
// The project file: 213 lines, each ended by CR LF, texts in windows-1251.
#include "ProjectModel.h"

namespace vextor {

inline constexpr int kProjectFileLines = 213;
// 213 short lines and a few dozen paths: a few KB. Anything beyond this bound is another kind of
// file picked by mistake and is refused before it is read into memory.
inline constexpr qint64 kMaxProjectFileBytes = 1024 * 1024;

struct ProjectFileRead {
    enum class Status {
        Ok,
        Short,      // ended before line 213; the missing items hold their defaults
        Malformed,  // no number where one belongs; the model is not usable
        OutOfRange, // a number outside 0..255: refused rather than wrapped into another value
        Unreadable, // could not be opened or read
        TooLarge,   // far longer than any project file: not read at all
    };
    Status status = Status::Unreadable;
    // Short: the number of lines present; Malformed, OutOfRange: the line at fault.
    int line = 0;
    qint64 size = 0; // TooLarge: the file's size
    ProjectModel model;

    bool usable() const { return status == Status::Ok || status == Status::Short; }
    // The message for the user naming the file and the line, empty for Ok.
    QString message(const QString& path) const;
};

// Reads the whole file into a fresh model (ProjectPath = path, no file marked missing); the caller
// decides whether to take it.
ProjectFileRead ReadProjectFile(const QString& path);
ProjectFileRead parseProjectFile(const QByteArray& bytes);

struct ProjectFileWrite {
    bool ok = false;
    QString message; // for the user, naming the file; empty when ok
};

// The 213 lines of the model; false in *ok when some text cannot be stored (see unstorableLine).
QByteArray formatProjectFile(const ProjectModel& model);
// The first line (1..213) whose text windows-1251 cannot hold or that holds a line break; 0 if none.
int unstorableLine(const ProjectModel& model);
// Writes beside the file and renames over it: a refused or failed write leaves the old file as it was.
ProjectFileWrite WriteProjectFile(const QString& path, const ProjectModel& model);

} // namespace vextor
