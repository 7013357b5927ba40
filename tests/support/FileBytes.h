#pragma once
// A file's whole content, or nothing when it cannot be read: what a test compares a written file by.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace vextor::testing {

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace vextor::testing
