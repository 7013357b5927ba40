#pragma once
// The texts of the chart settings window, byte for byte as the user sees them.
#include <QString>

namespace vextor::monitor_texts {

inline const QString kChartSettingsTitle = QStringLiteral("Настройка графика");
inline const QString kScaleGroup = QStringLiteral(" Шкала  общая ");
inline const QString kScaleMin = QStringLiteral("Мин");
inline const QString kScaleMax = QStringLiteral("Макс");
// The groups of traces 1..6 are this followed by the input's number.
inline const QString kOwnInputGroupHead = QStringLiteral(" Собственный вход А  ");
inline const QString kOwnOutput1Group = QStringLiteral("Собственный Ан выход  1");
inline const QString kOwnOutput2Group = QStringLiteral("Собственный А выход  2");
inline const QString kSlaveInputGroup = QStringLiteral(" А вход ведомого");
inline const QString kSlaveOutputGroup = QStringLiteral("А выход ведомого ");
inline const QString kOffset = QStringLiteral("Смещение");
inline const QString kMultiplier = QStringLiteral("Множитель");
inline const QString kPlot = QStringLiteral("график");
inline const QString kTraceName = QStringLiteral("Имя параметра, (до 8 символов)");
inline const QString kPollPeriod = QStringLiteral("Период опроса, мС");
inline const QString kApply = QStringLiteral("Применить");
// %1 the file, %2 the reason.
inline const QString kChartSettingsSaveFailed = QStringLiteral("Не удалось сохранить файл \"%1\": %2");

} // namespace vextor::monitor_texts
