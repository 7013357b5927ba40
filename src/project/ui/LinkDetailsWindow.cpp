#include "LinkDetailsWindow.h"

#include "link/SerialPort.h"
#include "project/LinkSettingsTexts.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace vextor {

namespace t = link_settings_texts;

LinkDetailsWindow::LinkDetailsWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(t::kExtraWindow);
    auto* layout = new QGridLayout(this);
    table_ = new QTableWidget(3, 2, this);
    table_->setHorizontalHeaderLabels({t::kZarnet, t::kModbus});
    table_->setVerticalHeaderLabels({t::kRowInterval, t::kRowConstant, t::kRowMultiplier});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setMinimumHeight(120);
    errors_ = new QLabel(QStringLiteral("0"), this);
    latency_ = new QLabel(this);
    latency_->setWordWrap(true);
    setLowLatency(LowLatency::Unknown, LowLatency::Unknown);
    hidden_ = new QWidget(this);
    hidden_->setFixedSize(12, 12);
    hidden_->installEventFilter(this);
    traffic_ = new QPushButton(t::kTraffic, this);
    connect(traffic_, &QPushButton::clicked, this, [this] {
        if (openTraffic)
            openTraffic();
    });
    auto* close = new QPushButton(t::kClose, this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(table_, 0, 0, 1, 3);
    layout->addWidget(new QLabel(t::kLinkErrors, this), 1, 0);
    layout->addWidget(errors_, 1, 1);
    layout->addWidget(new QLabel(t::kLowLatency, this), 2, 0);
    layout->addWidget(latency_, 2, 1, 1, 2);
    layout->addWidget(hidden_, 3, 0);
    layout->addWidget(traffic_, 3, 1);
    layout->addWidget(close, 3, 2);
}

void LinkDetailsWindow::setTimeouts(const ReadTimeouts& zarnet, const ReadTimeouts& modbus) {
    zarnet_ = zarnet;
    modbus_ = modbus;
    refresh();
}

void LinkDetailsWindow::refresh() {
    const std::optional<ReadTimeouts> ports[2] = {zarnet_, modbus_};
    for (int column = 0; column < 2; ++column) {
        if (!ports[column])
            continue;
        const ReadTimeouts& to = *ports[column];
        const uint32_t values[3] = {to.interval, to.constant, to.multiplier};
        for (int row = 0; row < 3; ++row)
            table_->setItem(row, column, new QTableWidgetItem(QString::number(values[row])));
    }
}

void LinkDetailsWindow::setLinkErrors(uint32_t failures) {
    errors_->setText(QString::number(failures));
}

QString LinkDetailsWindow::linkErrorsText() const {
    return errors_->text();
}

void LinkDetailsWindow::setLowLatency(LowLatency zarnet, LowLatency modbus) {
    latency_->setText(t::lowLatencyLine(zarnet, modbus));
}

QString LinkDetailsWindow::lowLatencyText() const {
    return latency_->text();
}

void LinkDetailsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QDialog::changeEvent(event);
}

bool LinkDetailsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == hidden_ && event->type() == QEvent::MouseButtonDblClick && openDump)
        openDump();
    return QDialog::eventFilter(watched, event);
}

} // namespace vextor
