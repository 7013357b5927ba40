#pragma once
// "Связь. Дополнительно.": the read time-outs of both ports and the count of failed
// identifications.
// The form TFLinkMore.
#include "link/SerialPort.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vextor {

class LinkDetailsWindow : public QDialog {
public:
    explicit LinkDetailsWindow(QWidget* parent = nullptr);

    // The read time-outs of the two ports; the ports themselves live on the line's thread.
    void setTimeouts(const ReadTimeouts& zarnet, const ReadTimeouts& modbus);
    // The six time-outs, in decimal.
    void refresh();
    void setLinkErrors(uint32_t failures);
    QString linkErrorsText() const;
    // Whether each port's driver hands bytes on at once (the low-latency mode asked for at open).
    void setLowLatency(LowLatency zarnet, LowLatency modbus);
    QString lowLatencyText() const;
    QTableWidget* table() const { return table_; }

    // The button "Обмен" opens the traffic window.
    std::function<void()> openTraffic;
    QPushButton* trafficButton() const { return traffic_; }

    // The hidden corner that opens the configuration dump view on a double click.
    std::function<void()> openDump;
    QWidget* hiddenCorner() const { return hidden_; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<ReadTimeouts> zarnet_;
    std::optional<ReadTimeouts> modbus_;
    QTableWidget* table_;
    QLabel* errors_;
    QLabel* latency_;
    QPushButton* traffic_;
    QWidget* hidden_;
};

} // namespace vextor
