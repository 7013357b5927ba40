#pragma once
// The two pages of "Системная конфигурация": the device-protocol page with the service functions
// and the Modbus page with its switch back. A view over ServicePanel.
#include "device/ServicePanel.h"

#include <QObject>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QWidget;

namespace vextor {

class ServicePages : public QObject {
public:
    explicit ServicePages(ServicePanel& panel, QObject* parent = nullptr);

    // Owned by whoever shows them (the configuration window's tabs).
    QWidget* zarnetPage() const { return zarnet_; }
    QWidget* modbusPage() const { return modbus_; }
    // Shows the panel's view.
    void showView();

    // For tests: a button of either page by its text and group.
    QPushButton* button(const QString& group, const QString& text) const;
    QComboBox* speedList() const { return speed_; }
    QComboBox* frameList() const { return frame_; }
    QButtonGroup* floatChoice() const { return float_; }
    QLineEdit* modbusAddress() const { return address_; }
    QComboBox* soundList() const { return sound_; }
    QLabel* replyDelay() const { return delay_; }
    QLabel* zarnetAddress() const { return zarnetAddress_; }
    QDateEdit* date() const { return date_; }
    QTimeEdit* time() const { return time_; }

private:
    ServicePanel& panel_;
    QWidget* zarnet_;
    QWidget* modbus_;
    QDateEdit* date_;
    QTimeEdit* time_;
    QLineEdit* address_;
    QComboBox* speed_;
    QComboBox* frame_;
    QButtonGroup* float_;
    QLabel* delay_;
    QLabel* zarnetAddress_;
    QComboBox* sound_;
    bool showing_ = false;
};

} // namespace vextor
