#pragma once
// The monitor's three service menus and their panels: "Управление выходом" (an output of the
// controller or of a device on its slave line, set by hand), "Запись в ОЗУ" (single parameters of the
// running copy of the configuration, and the set point of one condition) and " Звук On/Off ". The
// monitor window puts the menus into its menu bar; the panels open inside the widget it gives, all
// at the same place, one at a time. What the panels send goes through the headless ServiceMenus.
//
// "Частотным....", "Чтение состояния" and "Modbus R/W" are offered but disabled: no command stands
// behind them, and a panel that took an entry and sent nothing would tell the engineer it was done.
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace vextor::monitor {

class ServiceMenus;

class ServicePanels : public QObject {
public:
    // Where the panels open inside the host.
    static constexpr QPoint kPanelPlace{276, 40};

    // host: the monitor's chart area; the menus and panels live as long as it does.
    ServicePanels(ServiceMenus& menus, QWidget* host);

    // "Управление выходом", "Запись в ОЗУ" and " Звук On/Off ", in this order, for a menu bar.
    QList<QAction*> menuActions() const;
    // Off while the monitor runs ("Старт"), on again at "Стоп"; a panel left open goes along.
    void setEnabled(bool enabled);

    // The SoundOn byte of the configuration image held, and the new byte once the controller took
    // it. Without heldSound " Звук On/Off " does nothing: there is nothing to turn over.
    std::function<uint8_t()> heldSound;
    std::function<void(uint8_t)> soundWritten;

    // For tests and the monitor window.
    QMenu* outputMenu() const { return output_; }
    QMenu* ramMenu() const { return ram_; }
    QAction* soundAction() const { return sound_; }
    QAction* item(const QString& text) const; // a menu item by its text
    QGroupBox* openPanel() const;             // the panel open now, or null

private:
    ServiceMenus& menus_;
    QWidget* host_;
    QMenu* output_;
    QMenu* ram_;
    QAction* sound_;
    QList<QGroupBox*> panels_;

    QGroupBox* discrete_;
    QGroupBox* analog_;
    QGroupBox* parameter_;
    QLabel* parameterLabel_ = nullptr;
    QLineEdit* parameterValue_ = nullptr;
    int parameterKind_ = 0; // a ServiceMenus::Parameter
    QGroupBox* condition_;

    QGroupBox* newPanel(const QString& caption);
    QGroupBox* buildDiscretePanel();
    QGroupBox* buildAnalogPanel();
    QGroupBox* buildParameterPanel();
    QGroupBox* buildConditionPanel();
    void open(QGroupBox* panel);
    void openParameter(int kind, const QString& caption);
    void toggleSound();
};

} // namespace vextor::monitor
