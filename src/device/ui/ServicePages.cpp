#include "ServicePages.h"

#include "link/ui/ModbusLineControls.h"

#include "device/texts.h"
#include "link/ModbusParams.h"
#include "link/texts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace vextor {

namespace t = device_texts;

namespace {

QPushButton* addButton(QWidget* parent, const QString& text, QObject* context,
                       std::function<void()> onClick) {
    auto* b = new QPushButton(text, parent);
    QObject::connect(b, &QPushButton::clicked, context, std::move(onClick));
    return b;
}

// A read-only number panel, sunken like the status panels.
QLabel* numberPanel(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

ServicePages::ServicePages(ServicePanel& panel, QObject* parent) : QObject(parent), panel_(panel) {
    zarnet_ = new QWidget;
    auto* page = new QGridLayout(zarnet_);

    // The clock.
    auto* clockGroup = new QGroupBox(t::kClockGroup, zarnet_);
    auto* clock = new QGridLayout(clockGroup);
    date_ = new QDateEdit(clockGroup);
    date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    date_->setCalendarPopup(true);
    time_ = new QTimeEdit(clockGroup);
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    clock->addWidget(date_, 0, 0);
    clock->addWidget(time_, 0, 1);
    clock->addWidget(addButton(clockGroup, t::kReadFromDevice, this, [this] { panel_.readClock(); }), 1, 0, 1,
                     2);
    clock->addWidget(addButton(clockGroup, t::kPcClock, this,
                               [this] { panel_.takeComputerClock(QDateTime::currentDateTime()); }),
                     2, 0, 1, 2);
    clock->addWidget(addButton(clockGroup, t::kWriteToDevice, this, [this] { panel_.writeClock(); }), 3, 0, 1,
                     2);
    connect(date_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!showing_)
            panel_.view.date = d;
    });
    connect(time_, &QTimeEdit::timeChanged, this, [this](const QTime& tm) {
        if (!showing_)
            panel_.view.time = tm;
    });

    // The Modbus port.
    auto* modbusGroup = new QGroupBox(t::kModbusGroup, zarnet_);
    auto* mb = new QGridLayout(modbusGroup);
    address_ = new QLineEdit(modbusGroup);
    const ModbusLineControls line = makeModbusLineControls(modbusGroup, this);
    speed_ = line.speed;
    frame_ = line.frame;
    float_ = line.floatChoice;
    QWidget::setTabOrder(speed_, frame_); // the page lists the speed first
    QGroupBox* floatGroup = line.floatBox;
    floatGroup->setToolTip(t::kFloatHint);
    mb->addWidget(new QLabel(t::kAddress, modbusGroup), 0, 0);
    mb->addWidget(address_, 0, 1);
    mb->addWidget(new QLabel(t::kSpeed, modbusGroup), 1, 0);
    mb->addWidget(speed_, 1, 1);
    mb->addWidget(new QLabel(t::kParity, modbusGroup), 2, 0);
    mb->addWidget(frame_, 2, 1);
    mb->addWidget(floatGroup, 3, 0, 1, 2);
    mb->addWidget(addButton(modbusGroup, t::kReadFromDevice, this, [this] { panel_.readModbusParams(); }), 4,
                  0, 1, 2);
    mb->addWidget(addButton(modbusGroup, t::kWriteToDevice, this, [this] { panel_.writeModbusParams(); }), 5,
                  0, 1, 2);
    connect(address_, &QLineEdit::textEdited, this,
            [this](const QString& text) { panel_.view.modbusAddressText = text; });
    connect(speed_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!showing_)
            panel_.view.speedIndex = i;
    });
    connect(frame_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!showing_)
            panel_.view.frameIndex = i;
    });
    connect(float_, &QButtonGroup::idClicked, this, [this](int id) { panel_.view.floatIndex = id; });

    // The device protocol: reply delay and address.
    auto* zarnetGroup = new QGroupBox(t::kZarnetGroup, zarnet_);
    auto* zg = new QVBoxLayout(zarnetGroup);
    auto* delayGroup = new QGroupBox(t::kReplyDelayGroup, zarnetGroup);
    auto* dl = new QHBoxLayout(delayGroup);
    delay_ = numberPanel(delayGroup, panel_.view.replyDelayText);
    dl->addWidget(delay_);
    dl->addWidget(addButton(delayGroup, t::kRead, this, [this] { panel_.readReplyDelay(); }));
    dl->addWidget(addButton(delayGroup, t::kChange, this, [this] { panel_.changeReplyDelay(); }));
    auto* addressGroup = new QGroupBox(t::kZarnetAddressGroup, zarnetGroup);
    auto* al = new QHBoxLayout(addressGroup);
    zarnetAddress_ = numberPanel(addressGroup, panel_.view.zarnetAddressText);
    al->addWidget(zarnetAddress_);
    al->addWidget(addButton(addressGroup, t::kChange, this, [this] { panel_.changeZarnetAddress(); }));
    al->addStretch(1);
    zg->addWidget(delayGroup);
    zg->addWidget(addressGroup);
    zg->addStretch(1);

    // Sound, restart and the switch to Modbus.
    auto* soundGroup = new QGroupBox(t::kSound, zarnet_);
    auto* sl = new QHBoxLayout(soundGroup);
    sound_ = new QComboBox(soundGroup);
    for (const QString& item : t::kSoundItems)
        sound_->addItem(item);
    sl->addWidget(sound_);
    connect(sound_, &QComboBox::activated, this, [this](int i) { panel_.chooseSound(i); });
    // Under the groups: a third column would not fit beside the project tree.
    auto* commands = new QHBoxLayout;
    commands->addWidget(soundGroup);
    commands->addWidget(addButton(zarnet_, t::kResetDevice, this, [this] { panel_.reset(); }), 0,
                        Qt::AlignBottom);
    commands->addWidget(addButton(zarnet_, t::kGoModbus, this, [this] { panel_.switchToModbus(); }), 0,
                        Qt::AlignBottom);
    commands->addStretch(1);

    page->addWidget(clockGroup, 0, 0);
    page->addWidget(modbusGroup, 0, 1, 2, 1, Qt::AlignTop);
    page->addWidget(zarnetGroup, 1, 0);
    page->addLayout(commands, 2, 0, 1, 2);
    page->setColumnStretch(2, 1);
    page->setRowStretch(3, 1);

    modbus_ = new QWidget;
    auto* ml = new QVBoxLayout(modbus_);
    auto* back = addButton(modbus_, t::kGoZarnet, this, [this] { panel_.switchToZarnet(); });
    auto* row = new QHBoxLayout;
    row->addWidget(back);
    row->addStretch(1);
    ml->addLayout(row);
    ml->addStretch(1);

    panel_.viewChanged = [this] { showView(); };
    showView();
}

void ServicePages::showView() {
    const ServiceView& v = panel_.view;
    showing_ = true;
    date_->setDate(v.date);
    time_->setTime(v.time);
    if (address_->text() != v.modbusAddressText)
        address_->setText(v.modbusAddressText);
    speed_->setCurrentIndex(v.speedIndex);
    frame_->setCurrentIndex(v.frameIndex);
    if (QAbstractButton* b = float_->button(v.floatIndex))
        b->setChecked(true);
    delay_->setText(v.replyDelayText);
    zarnetAddress_->setText(v.zarnetAddressText);
    sound_->setCurrentIndex(v.soundIndex);
    showing_ = false;
}

QPushButton* ServicePages::button(const QString& group, const QString& text) const {
    for (QWidget* page : {zarnet_, modbus_})
        for (QPushButton* b : page->findChildren<QPushButton*>()) {
            if (b->text() != text)
                continue;
            auto* box = qobject_cast<QGroupBox*>(b->parentWidget());
            if (group.isEmpty() ? box == nullptr : (box && box->title() == group))
                return b;
        }
    return nullptr;
}

} // namespace vextor
