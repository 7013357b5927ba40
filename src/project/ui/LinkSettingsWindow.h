#pragma once
// The link settings window "Связь": the port page (port mode) or the protocol page of one device
// (device mode). It mirrors LinkSettingsView and calls LinkSettings for every change.
// The form TFLink.
#include "project/LinkSettings.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace vextor {

class LinkDetailsWindow;

class LinkSettingsWindow : public QDialog {
public:
    LinkSettingsWindow(Project& project, UserDialogs& dialogs, LinkDetailsWindow* more,
                       QWidget* parent = nullptr);

    LinkSettings& settings() { return settings_; }
    void setMore(LinkDetailsWindow* more) { more_ = more; }

    void openPortMode();
    // From a "Связь" node of the project tree: the DeviceIndex of that node.
    void openDevice(int deviceIndex);
    // The widgets from the settings' view.
    void fill();

    // For tests and the window's own buttons.
    QTabWidget* pages() const { return pages_; }
    QStackedWidget* protocolPages() const { return protocolPages_; }
    QButtonGroup* protocolGroup() const { return protocol_; }
    QComboBox* baudBox() const { return baud_; }
    QComboBox* frameBox() const { return frame_; }
    QButtonGroup* floatGroup() const { return float_; }
    QLabel* portLabel() const { return port_; }
    QLabel* zarnetLabel() const { return zarnet_; }
    QLabel* modbusLabel() const { return modbus_; }
    QPushButton* changePortButton() const { return changePort_; }

private:
    LinkSettings settings_;
    LinkDetailsWindow* more_;
    QTabWidget* pages_;
    QWidget* portPage_;
    QWidget* protocolPage_;
    QLabel* port_;
    QPushButton* changePort_;
    QComboBox* devices_;
    QLabel* devicePath_;
    QButtonGroup* protocol_;
    QStackedWidget* protocolPages_;
    QLabel* zarnet_;
    QPushButton* otherAddress_;
    QPushButton* address127_;
    QLabel* modbus_;
    QPushButton* changeModbus_;
    QComboBox* frame_;
    QComboBox* baud_;
    QButtonGroup* float_;
    QList<QWidget*> protocolChoice_;
    QList<QWidget*> lineControls_;

    QWidget* buildPortPage();
    QWidget* buildProtocolPage();
    void fillDevices();
};

} // namespace vextor
