#pragma once
// "Связь. Дополнительно.": the read time-outs of both ports and the count of failed
// identifications.
#include <QDialog>
#include <functional>

class QLabel;
class QTableWidget;

namespace vextor {

class SerialPort;

class TFLinkMore : public QDialog {
public:
    explicit TFLinkMore(QWidget* parent = nullptr);

    void setPorts(const SerialPort* zarnet, const SerialPort* modbus);
    // The six time-outs, in decimal.
    void refresh();
    void setLinkErrors(uint32_t failures);
    QString linkErrorsText() const;
    QTableWidget* table() const { return table_; }

    // The hidden corner that opens the configuration dump view.
    std::function<void()> openDump;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const SerialPort* zarnet_ = nullptr;
    const SerialPort* modbus_ = nullptr;
    QTableWidget* table_;
    QLabel* errors_;
    QWidget* hidden_;
};

} // namespace vextor
