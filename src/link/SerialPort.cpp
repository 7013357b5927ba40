#include "SerialPort.h"

#include "LocalPath.h"
#include "NetworkPort.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtGlobal>

namespace vextor {

QString ComPortName(int portNumber) {
    return (portNumber <= 9 ? QStringLiteral("COM") : QStringLiteral("\\\\.\\COM")) +
           QString::number(portNumber);
}

QString userSettingsPath() {
    const QString overridden = qEnvironmentVariable("VEXTOR_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/vextor/configurator.ini");
}

QString userConfigFolder() {
    return QFileInfo(userSettingsPath()).absolutePath();
}

QString resolvePortPath(int portNumber) {
    const QString fromEnv =
        pathFromLocalBytes(qgetenv(qPrintable(QStringLiteral("VEXTOR_COM%1").arg(portNumber))));
    if (!fromEnv.isEmpty())
        return fromEnv;
    QSettings settings(userSettingsPath(), QSettings::IniFormat);
    const QString bound = settings.value(QStringLiteral("ports/COM%1").arg(portNumber)).toString();
    if (!bound.isEmpty())
        return bound;
    return QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 1);
}

bool bindPortPath(int portNumber, const QString& devicePath) {
    const QByteArray variable = QByteArrayLiteral("VEXTOR_COM") + QByteArray::number(portNumber);
    if (qEnvironmentVariableIsSet(variable.constData()))
        qputenv(variable.constData(), localPathBytes(devicePath));
    QSettings settings(userSettingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("ports/COM%1").arg(portNumber), devicePath);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString describeOpenFailure(const SerialPort& port, const QString& devicePath) {
    if (const std::optional<NetworkAddress> address = parseNetworkPort(devicePath)) {
        return QStringLiteral("Нет соединения с %1 (узел %2, порт %3): %4")
            .arg(devicePath, QString::fromUtf8(address->host), QString::fromLatin1(address->service),
                 port.openFailureText());
    }
    if (isNetworkPort(devicePath))
        return QStringLiteral("Порт %1 задан неверно: ожидается tcp://УЗЕЛ:ПОРТ.").arg(devicePath);
    switch (port.openFailure()) {
    case OpenFailure::NotFound:
        return QStringLiteral("Порт %1 не найден: такого устройства нет.").arg(devicePath);
    case OpenFailure::PermissionDenied:
        return QStringLiteral("Нет доступа к порту %1: добавьте пользователя в группу dialout "
                              "(sudo usermod -aG dialout $USER) и войдите в систему заново.")
            .arg(devicePath);
    case OpenFailure::Busy:
        return QStringLiteral("Порт %1 занят другой программой.").arg(devicePath);
    case OpenFailure::NotSerial:
        return QStringLiteral("%1 не является последовательным портом.").arg(devicePath);
    case OpenFailure::Other:
        return QStringLiteral("Порт %1 не открывается: %2").arg(devicePath, port.openFailureText());
    case OpenFailure::None:
        break;
    }
    return QStringLiteral("Порт %1 не открывается (ошибка %2).").arg(devicePath).arg(port.lastError());
}

} // namespace vextor
