#include "DeviceWindow.h"

#include "device/texts.h"
#include "events/EventReader.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

namespace t = device_texts;

namespace {

QLabel* clickableLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setCursor(Qt::PointingHandCursor);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

void setTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() == text)
        return;
    const QSignalBlocker block(edit);
    edit->setText(text);
}

} // namespace

DeviceWindow::DeviceWindow(DeviceConsole& console, QWidget* parent) : QWidget(parent), console_(console) {
    auto* layout = new QVBoxLayout(this);
    menus_ = new QMenuBar(this);
    layout->setMenuBar(menus_);
    buildMenus();

    hint_ = new QLabel(t::kLinkHint, this);
    hint_->setWordWrap(true);
    hint_->setEnabled(false);
    layout->addWidget(hint_);
    address_ = new QLabel(this);
    layout->addWidget(address_);
    identity_ = clickableLabel(this);
    QFont identityFont = identity_->font();
    identityFont.setBold(true);
    identityFont.setPointSizeF(identityFont.pointSizeF() * 1.3);
    identity_->setFont(identityFont);
    board_ = clickableLabel(this);
    reading_ = new QLabel(t::kReadingConfiguration, this);
    QFont readingFont = reading_->font();
    readingFont.setBold(true);
    reading_->setFont(readingFont);
    reading_->setStyleSheet(QStringLiteral("color: red"));
    for (QLabel* label : {identity_, board_})
        label->installEventFilter(this);
    layout->addWidget(identity_);
    layout->addWidget(board_);
    layout->addWidget(reading_);

    // The two service groups open side by side, centred near the top of the window.
    auto* groups = new QHBoxLayout;
    groups->addStretch();
    groups->addWidget(buildDelayGroup(), 0, Qt::AlignTop);
    groups->addWidget(buildClockGroup(), 0, Qt::AlignTop);
    groups->addStretch();
    layout->addSpacing(12);
    layout->addLayout(groups);
    sent_ = new QLabel(this);
    QFont sentFont = sent_->font();
    sentFont.setBold(true);
    sent_->setFont(sentFont);
    layout->addWidget(sent_, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(buildScanPanel());
    layout->addWidget(buildEventPanel());

    console_.eventProgress = this;
    console_.scanFinished = [this] { offerFound(); };
    console_.viewChanged = [this] { showView(); };
    showView();
}

void DeviceWindow::buildMenus() {
    port_ = menus_->addAction(t::kMenuPort, this, [this] { console_.choosePort(); });

    QMenu* device = menus_->addMenu(t::kMenuDevice);
    device->addAction(t::kAddress127, this, [this] { console_.linkAnyAddress(); });
    device->addAction(t::kAddressAsk, this, [this] { console_.linkAskedAddress(); });
    device->addAction(t::kScanItem, this, [this] { console_.scanLine(); });
    device->addSeparator();
    device->addAction(t::kModbusAddressItem, this, [this] { console_.askModbusAddress(); });

    configuration_ = menus_->addMenu(t::kMenuConfiguration);
    configuration_->addAction(t::kParameters, this, [this] { console_.readConfiguration(); });
    configuration_->addAction(t::kChangeZarnetAddress, this, [this] { console_.changeZarnetAddress(); });
    configuration_->addAction(t::kReplyDelayItem, this, [this] { console_.openReplyDelay(); });
    configuration_->addAction(t::kClockItem, this, [this] { console_.openClock(); });
    configuration_->addSeparator();
    configuration_->addAction(t::kSwitchToModbus, this, [this] { console_.switchToModbus(); });
    configuration_->addAction(t::kChangeModbusAddress, this, [this] { console_.changeModbusAddress(); });

    data_ = menus_->addMenu(t::kMenuData);
    data_->addAction(t::kGet, this, [this] { console_.readStatus(); });
    data_->addSeparator();
    // The controller's self-test sends have no command behind them yet.
    data_->addAction(t::kSendSelfD)->setEnabled(false);
    data_->addAction(t::kSendSelfA)->setEnabled(false);

    reset_ = menus_->addAction(t::kMenuReset, this, [this] { console_.reset(); });

    events_ = menus_->addMenu(t::kMenuEvents);
    events_->addAction(t::kEventsFromDevice, this, [this] { console_.readProjectEvents(); });
    events_->addAction(t::kEventsFromFile, this, [this] { console_.openEventsFile(); });

    modbus_ = menus_->addAction(t::kMenuModbus, this, [this] { console_.readEventsFromDevice(); });
}

QGroupBox* DeviceWindow::buildDelayGroup() {
    delayGroup_ = new QGroupBox(t::kReplyDelayGroup, this);
    auto* row = new QHBoxLayout(delayGroup_);
    delay_ = new QLineEdit(delayGroup_);
    delay_->setMaxLength(5);
    delay_->setFixedWidth(delay_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    connect(delay_, &QLineEdit::textEdited, this,
            [this](const QString& text) { console_.view.delayText = text; });
    auto* read = new QPushButton(t::kDelayRead, delayGroup_);
    auto* write = new QPushButton(t::kDelayWrite, delayGroup_);
    connect(read, &QPushButton::clicked, this, [this] { console_.readReplyDelay(); });
    connect(write, &QPushButton::clicked, this, [this] { console_.writeReplyDelay(); });
    row->addWidget(delay_);
    row->addWidget(read);
    row->addWidget(write);
    delayGroup_->installEventFilter(this);
    return delayGroup_;
}

QGroupBox* DeviceWindow::buildClockGroup() {
    clockGroup_ = new QGroupBox(t::kClockGroup, this);
    auto* column = new QVBoxLayout(clockGroup_);
    auto* edits = new QHBoxLayout;
    date_ = new QLineEdit(clockGroup_);
    time_ = new QLineEdit(clockGroup_);
    for (QLineEdit* edit : {date_, time_}) {
        edit->setMaxLength(8);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00-00-000")) + 16);
    }
    connect(date_, &QLineEdit::textEdited, this,
            [this](const QString& text) { console_.view.dateText = text; });
    connect(time_, &QLineEdit::textEdited, this,
            [this](const QString& text) { console_.view.timeText = text; });
    edits->addWidget(new QLabel(t::kDateEdit, clockGroup_));
    edits->addWidget(date_);
    edits->addSpacing(12);
    edits->addWidget(new QLabel(t::kTimeEdit, clockGroup_));
    edits->addWidget(time_);
    edits->addStretch();
    column->addLayout(edits);
    auto* read = new QPushButton(t::kReadFromDevice, clockGroup_);
    auto* pc = new QPushButton(t::kPcClock, clockGroup_);
    auto* write = new QPushButton(t::kClockWrite, clockGroup_);
    connect(read, &QPushButton::clicked, this, [this] { console_.readClock(); });
    connect(pc, &QPushButton::clicked, this,
            [this] { console_.takeComputerClock(QDateTime::currentDateTime()); });
    connect(write, &QPushButton::clicked, this, [this] { console_.writeClock(); });
    for (QPushButton* b : {read, pc, write})
        column->addWidget(b);
    clockGroup_->installEventFilter(this);
    return clockGroup_;
}

QGroupBox* DeviceWindow::buildEventPanel() {
    eventPanel_ = new QGroupBox(events::eventReadTitle(events::EventReadPacing::DeviceWindow), this);
    auto* row = new QHBoxLayout(eventPanel_);
    eventBar_ = new QProgressBar(eventPanel_);
    eventBar_->setTextVisible(false);
    eventCounter_ = new QLabel(eventPanel_);
    eventCounter_->setMinimumWidth(eventCounter_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    eventCounter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(eventBar_, 1);
    row->addWidget(eventCounter_);
    eventPanel_->hide();
    return eventPanel_;
}

QGroupBox* DeviceWindow::buildScanPanel() {
    scanPanel_ = new QGroupBox(t::kScanItem, this);
    auto* row = new QHBoxLayout(scanPanel_);
    scanBar_ = new QProgressBar(scanPanel_);
    scanBar_->setTextVisible(false);
    scanCounter_ = new QLabel(scanPanel_);
    scanCounter_->setMinimumWidth(
        scanCounter_->fontMetrics().horizontalAdvance(t::kScanAsking + QStringLiteral("000")));
    auto* stop = new QPushButton(t::kScanStop, scanPanel_);
    connect(stop, &QPushButton::clicked, this, [this] { console_.stopScan(); });
    row->addWidget(scanBar_, 1);
    row->addWidget(scanCounter_);
    row->addWidget(stop);
    scanPanel_->hide();
    return scanPanel_;
}

void DeviceWindow::offerFound() {
    delete foundDialog_;
    foundDialog_ = new QDialog(this);
    foundDialog_->setWindowTitle(t::kFoundCaption);
    foundDialog_->setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(foundDialog_);
    column->addWidget(new QLabel(t::kFoundPrompt, foundDialog_));
    foundList_ = new QListWidget(foundDialog_);
    for (const FoundController& found : console_.lastFound()) {
        auto* item = new QListWidgetItem(DeviceConsole::foundText(found), foundList_);
        item->setData(Qt::UserRole, found.address);
    }
    foundList_->setCurrentRow(0);
    foundList_->setMinimumWidth(foundList_->sizeHintForColumn(0) + 24);
    column->addWidget(foundList_);
    if (console_.lastStrayReplies() > 0)
        column->addWidget(
            new QLabel(t::kStrayReplies + QString::number(console_.lastStrayReplies()), foundDialog_));
    auto* buttons = new QDialogButtonBox(foundDialog_);
    buttons->addButton(t::kFoundPick, QDialogButtonBox::AcceptRole);
    buttons->addButton(t::kFoundCancel, QDialogButtonBox::RejectRole);
    column->addWidget(buttons);
    QDialog* dialog = foundDialog_;
    QListWidget* list = foundList_;
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, dialog, &QDialog::accept);
    connect(dialog, &QDialog::accepted, this, [this, list] {
        if (QListWidgetItem* item = list->currentItem())
            console_.pickFound(static_cast<uint8_t>(item->data(Qt::UserRole).toInt()));
    });
    connect(dialog, &QObject::destroyed, this, [this, dialog] {
        if (foundDialog_ == dialog) {
            foundDialog_ = nullptr;
            foundList_ = nullptr;
        }
    });
    // Window-modal and without a loop of its own: the line's answers keep arriving meanwhile.
    dialog->open();
}

QAction* DeviceWindow::action(const QString& text) const {
    for (QAction* a : menus_->actions()) {
        if (a->text() == text)
            return a;
        if (QMenu* menu = a->menu())
            for (QAction* item : menu->actions())
                if (item->text() == text)
                    return item;
    }
    return nullptr;
}

QPushButton* DeviceWindow::button(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void DeviceWindow::showView() {
    const DeviceView& v = console_.view;
    if (windowTitle() != v.caption)
        setWindowTitle(v.caption);
    port_->setEnabled(v.portEnabled);
    for (QMenu* menu : {configuration_, data_, events_})
        menu->menuAction()->setEnabled(v.linked);
    reset_->setEnabled(v.resetEnabled);
    modbus_->setEnabled(v.modbusEnabled);
    hint_->setVisible(!v.linked);
    identity_->setText(v.identity);
    identity_->setVisible(v.identityVisible);
    board_->setText(v.displayBoard);
    board_->setVisible(v.identityVisible && !v.displayBoard.isEmpty());
    reading_->setVisible(v.readingConfiguration);
    delayGroup_->setVisible(v.delayVisible);
    setTextIfChanged(delay_, v.delayText);
    clockGroup_->setVisible(v.clockVisible);
    setTextIfChanged(date_, v.dateText);
    setTextIfChanged(time_, v.timeText);
    sent_->setText(v.sentLabel);
    sent_->setVisible(!v.sentLabel.isEmpty());
    address_->setText(v.addressText);
    address_->setVisible(!v.addressText.isEmpty());
    scanPanel_->setVisible(v.scanning);
    scanBar_->setRange(0, std::max(1, v.scanTotal));
    scanBar_->setValue(v.scanAsked);
    scanCounter_->setText(t::kScanAsking + QString::number(v.scanAddress));
    action(t::kScanItem)->setEnabled(!v.scanning);
}

bool DeviceWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == identity_ || watched == board_) {
            console_.askDisplayBoard();
            return true;
        }
        if (watched == delayGroup_) {
            console_.hideReplyDelay();
            return true;
        }
        if (watched == clockGroup_) {
            console_.hideClock();
            return true;
        }
    }
    if (event->type() == QEvent::Enter && watched == clockGroup_)
        console_.hideSentLabel();
    return QWidget::eventFilter(watched, event);
}

void DeviceWindow::mousePressEvent(QMouseEvent* event) {
    // A click on the window's free area brings the configuration editor, as "Параметры" does after
    // its read; a click that a label or a panel passed on is none.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        console_.showConfiguration();
    QWidget::mousePressEvent(event);
}

void DeviceWindow::begin(const QString& title, int maximum) {
    eventPanel_->setTitle(title);
    eventBar_->setRange(0, maximum);
    eventBar_->setValue(0);
    eventCounter_->clear();
    eventPanel_->show();
}

void DeviceWindow::step(const QString& line) {
    eventCounter_->setText(line);
}

void DeviceWindow::setPosition(int position) {
    eventBar_->setValue(position);
}

void DeviceWindow::end() {
    eventPanel_->hide();
}

} // namespace vextor
