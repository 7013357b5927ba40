#pragma once
// The 8-bit code page of project files and of the chart settings' trace names. Qt's converter is used
// when this Qt build has it (it needs ICU); otherwise a table of the upper half, so these files stay
// readable everywhere.
#include <QByteArray>
#include <QString>

namespace vextor {

QString fromCp1251(const QByteArray& bytes);
// False in *ok when a character has no windows-1251 byte (it would come back as something else).
QByteArray toCp1251(const QString& text, bool* ok = nullptr);
bool fitsCp1251(const QString& text);

// The built-in table alone, whatever Qt offers; exposed so it can be checked against Qt's converter.
QString fromCp1251Table(const QByteArray& bytes);
QByteArray toCp1251Table(const QString& text, bool* ok = nullptr);

} // namespace vextor
