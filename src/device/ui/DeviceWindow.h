#pragma once
// The device window: direct service of one controller. A view over DeviceConsole: its menus run the
// console's commands, and it shows the console's view, the two service groups and the event read's
// progress panel.
#include "device/DeviceConsole.h"

#include <QWidget>

class QAction;
class QDialog;
class QGroupBox;
class QListWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;

namespace vextor {

class DeviceWindow : public QWidget, public TransferProgress {
public:
    explicit DeviceWindow(DeviceConsole& console, QWidget* parent = nullptr);

    // Shows the console's view.
    void showView();

    // For tests and the main window.
    QAction* action(const QString& text) const; // a menu item or a menu by its caption
    QLabel* identityLabel() const { return identity_; }
    QLabel* displayBoardLabel() const { return board_; }
    QLabel* readingLabel() const { return reading_; }
    QLabel* sentLabel() const { return sent_; }
    QGroupBox* delayGroup() const { return delayGroup_; }
    QGroupBox* clockGroup() const { return clockGroup_; }
    QGroupBox* eventPanel() const { return eventPanel_; }
    QLineEdit* delayEdit() const { return delay_; }
    QLineEdit* dateEdit() const { return date_; }
    QLineEdit* timeEdit() const { return time_; }
    QPushButton* button(const QString& text) const;
    QProgressBar* eventBar() const { return eventBar_; }
    QLabel* eventCounter() const { return eventCounter_; }
    QGroupBox* scanPanel() const { return scanPanel_; }
    QProgressBar* scanBar() const { return scanBar_; }
    QLabel* addressLabel() const { return address_; }
    // The list of the last search's finds while it is open (nullptr otherwise).
    QDialog* foundDialog() const { return foundDialog_; }
    QListWidget* foundList() const { return foundList_; }

    // The event read's progress panel.
    void begin(const QString& title, int maximum) override;
    void step(const QString& line) override;
    void setPosition(int position) override;
    void end() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    DeviceConsole& console_;
    QMenuBar* menus_;
    QAction* port_;
    QMenu* configuration_;
    QMenu* data_;
    QAction* reset_;
    QMenu* events_;
    QAction* modbus_;
    QLabel* hint_;
    QLabel* identity_;
    QLabel* board_;
    QLabel* reading_;
    QLabel* sent_;
    QGroupBox* delayGroup_;
    QLineEdit* delay_;
    QGroupBox* clockGroup_;
    QLineEdit* date_;
    QLineEdit* time_;
    QGroupBox* eventPanel_;
    QProgressBar* eventBar_;
    QLabel* eventCounter_;
    QLabel* address_;
    QGroupBox* scanPanel_;
    QProgressBar* scanBar_;
    QLabel* scanCounter_;
    QDialog* foundDialog_ = nullptr;
    QListWidget* foundList_ = nullptr;

    void buildMenus();
    QGroupBox* buildDelayGroup();
    QGroupBox* buildClockGroup();
    QGroupBox* buildEventPanel();
    QGroupBox* buildScanPanel();
    // Lists the console's finds in a small dialog; a pick goes back to the console.
    void offerFound();
};

} // namespace vextor
