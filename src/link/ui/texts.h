#pragma once
// The texts of the Modbus line controls that the link settings window and the service page share,
// and of the traffic window.
#include <QString>

namespace vextor::line_control_texts {

inline const QString kParity = QStringLiteral("Чётность");
inline const QString kSpeed = QStringLiteral("Скорость");
inline const QString kFloatFormat = QStringLiteral(" формат float");
inline const QString kFloats[2] = {QStringLiteral("mant_ord"), QStringLiteral("ord_mant")};

} // namespace vextor::line_control_texts

namespace vextor::traffic_texts {

inline const QString kCaption = QStringLiteral("Обмен");
inline const QString kPause = QStringLiteral("Пауза");
inline const QString kClear = QStringLiteral("Очистить");
inline const QString kSave = QStringLiteral("Сохранить...");
inline const QString kClose = QStringLiteral("Закрыть");
inline const QString kSaveCaption = QStringLiteral("Сохранить обмен");
inline const QString kFilter = QStringLiteral("Текст (*.txt);;Все файлы (*)");
inline const QString kNotSaved = QStringLiteral("Обмен не сохранён в ");

} // namespace vextor::traffic_texts
