#pragma once
// The event viewer's frame texts.
#include <QString>

namespace vextor::viewer_texts {

inline const QString kCaption = QStringLiteral(" Vextor   Черный ящик");
inline const QString kRecordCount = QStringLiteral("Количество записей - ");

} // namespace vextor::viewer_texts
