#include "FormIni.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>

namespace vextor {

std::optional<FormGeometry> readFormIni(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray b = f.read(kFormIniSize);
    if (b.size() < kFormIniSize)
        return std::nullopt;
    auto at = [&](int offset) {
        const int32_t v = qFromLittleEndian<int32_t>(b.constData() + offset);
        return std::clamp(v, kFormIniMinimum, kFormIniMaximum);
    };
    FormGeometry g;
    g.height = at(0);
    g.left = at(4);
    g.top = at(8);
    g.width = at(12);
    g.modePanelWidth = at(16);
    g.treePanelWidth = at(20);
    g.logHeight = at(24);
    const auto state = static_cast<uint8_t>(b[28]);
    g.state = state <= 2 ? state : 0;
    return g;
}

bool writeFormIni(const QString& path, const FormGeometry& g) {
    QByteArray b(kFormIniSize, '\0');
    const int32_t values[7] = {g.height,         g.left,           g.top,      g.width,
                               g.modePanelWidth, g.treePanelWidth, g.logHeight};
    for (int i = 0; i < 7; ++i)
        qToLittleEndian<int32_t>(values[i], b.data() + 4 * i);
    b[28] = static_cast<char>(g.state);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(b) != b.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace vextor
