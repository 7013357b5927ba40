#pragma once
// The desktop program's own texts outside its windows.
#include <QString>

namespace vextor::app_texts {

// The demo project: a master and two slaves on one virtual line.
inline const QString kDemoProjectFile = QStringLiteral("Демо.prj");
inline const QString kDemoMasterName = QStringLiteral("Приточная установка");
inline const QString kDemoSlaveName1 = QStringLiteral("Котельная");
inline const QString kDemoSlaveName2 = QStringLiteral("Тепловой пункт");
inline const QString kDemoMasterConfig = QStringLiteral("Приточная установка.bin");
inline const QString kDemoFailed = QStringLiteral("Демонстрационный режим не запущен: ");

} // namespace vextor::app_texts
