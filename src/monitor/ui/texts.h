#pragma once
// The monitor window's own texts, byte for byte as the user sees them.
#include <QString>

namespace vextor::monitor_ui_texts {

inline const QString kCaption = QStringLiteral("Визуализация");
inline const QString kStart = QStringLiteral("Старт");
inline const QString kStop = QStringLiteral("Стоп");
inline const QString kChartMenu = QStringLiteral("График");
inline const QString kChartSettings = QStringLiteral("Настройка графика");
inline const QString kAnalogInputs = QStringLiteral(" А входы");
inline const QString kAnalogOutputs = QStringLiteral(" А вЫходы");
inline const QString kDiscreteInputs = QStringLiteral("Выбор Д входов");
inline const QString kDiscreteOutputs = QStringLiteral("Выбор Д вЫходов");
inline const QString kEventsHint = QStringLiteral("Новые события прибора. Щелчок очищает список.");

// Recording of the chart to CSV and the chart as a picture.
inline const QString kRecord = QStringLiteral("Записать в файл...");
inline const QString kStopRecording = QStringLiteral("Остановить запись");
inline const QString kRecordCaption = QStringLiteral("Записать график в файл");
inline const QString kCsvFilter = QStringLiteral("Файлы CSV (*.csv)|*.csv|Все файлы|*.*");
inline const QString kRecordingTo = QStringLiteral("Запись в %1: строк %2");
inline const QString kRecordingNotStarted = QStringLiteral("Запись не начата: ");
inline const QString kRecordingStopped = QStringLiteral("Запись остановлена: ");
inline const QString kSaveChart = QStringLiteral("Сохранить график...");
inline const QString kSaveChartCaption = QStringLiteral("Сохранить график как рисунок");
inline const QString kPngFilter = QStringLiteral("Рисунки PNG (*.png)|*.png|Все файлы|*.*");
inline const QString kChartNotSaved = QStringLiteral("График не сохранён в ");

} // namespace vextor::monitor_ui_texts
