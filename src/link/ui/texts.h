#pragma once
// The texts of the Modbus line controls that the link settings window and the service page share.
#include <QString>

namespace vextor::line_control_texts {

inline const QString kParity = QStringLiteral("Чётность");
inline const QString kSpeed = QStringLiteral("Скорость");
inline const QString kFloatFormat = QStringLiteral(" формат float");
inline const QString kFloats[2] = {QStringLiteral("mant_ord"), QStringLiteral("ord_mant")};

} // namespace vextor::line_control_texts
