#include "GeneralTab.h"

#include "GeneralTexts.h"
#include "SensorsTab.h"

namespace vextor {

namespace t = general_texts;

namespace {

constexpr std::array<uint8_t, 8> kSlaveTypeCodes = {2, 3, 9, 34, 32, 65, 67, 69};
constexpr int kLintra = 2;
constexpr int kVardex = 5, kToshiba = 6, kDanfoss = 7;
constexpr int kOtherMakeSlots = 4;
constexpr int kDefaultFrame = 0; // "10 бит/1 стоп"
constexpr int kDefaultBaud = 1;  // "9600"
constexpr int kDefaultSlaveAddress = 0;

uint8_t checkByte(EditField& field, const QString& maxText, uint8_t current) {
    return static_cast<uint8_t>(checkInteger(field, t::kByteMin, maxText, current));
}

// A time whose bytes form no time of day shows midnight; the bytes stay until an apply.
QTime shownTime(uint8_t h, uint8_t m, uint8_t s) {
    const QTime time(h, m, s);
    return time.isValid() ? time : QTime(0, 0);
}

void applySeason(DateTimePoint& p, const DateField& date, const TimeField& time) {
    if (const std::optional<QDate> d = date.date(); d && d->isValid()) {
        p.Day = static_cast<uint8_t>(d->day());
        p.Month = static_cast<uint8_t>(d->month());
        p.Year = static_cast<uint8_t>((d->year() + 48) & 0xFF); // year - 2000, eight bits
    }
    const QTime tm = time.time();
    p.Hour = static_cast<uint8_t>(tm.hour());
    p.Minute = static_cast<uint8_t>(tm.minute());
    p.Second = 0;
}

void applyTimeOfDay(TimeOfDay& p, const TimeField& time) {
    const QTime tm = time.time();
    p.Hour = static_cast<uint8_t>(tm.hour());
    p.Minute = static_cast<uint8_t>(tm.minute());
    p.Second = 0;
}

void setOption(uint16_t& options, uint16_t bit, bool on) {
    options = static_cast<uint16_t>(on ? options | bit : options & ~bit);
}

} // namespace

// ---------------------------------------------------------------- "ДУ приводов "

DriveControlTab::DriveControlTab(ConfigImage& image, DriveControlControls controls)
    : image_(image), c_(controls) {}

void DriveControlTab::showDriveControl() {
    const uint8_t times[6] = {image_.DC1FullTime, image_.DC1MinTime, image_.DC1LuftTime,
                              image_.DC2FullTime, image_.DC2MinTime, image_.DC2LuftTime};
    for (size_t i = 0; i < c_.times.size(); ++i)
        c_.times[i]->setText(QString::number(times[i]));
    for (size_t i = 0; i < c_.flags.size(); ++i)
        c_.flags[i]->setChecked(image_.DCFlags & (1u << i));
}

void DriveControlTab::applyDriveControl() {
    resetValueErrors();
    image_.DCFlags = 0;
    for (size_t i = 0; i < c_.flags.size(); ++i)
        if (c_.flags[i]->isChecked())
            image_.DCFlags = static_cast<uint8_t>(image_.DCFlags | (1u << i));
    uint8_t* times[6] = {&image_.DC1FullTime, &image_.DC1MinTime, &image_.DC1LuftTime,
                         &image_.DC2FullTime, &image_.DC2MinTime, &image_.DC2LuftTime};
    for (size_t i = 0; i < c_.times.size(); ++i)
        *times[i] = checkByte(*c_.times[i], t::kByteMax, *times[i]);
}

// ---------------------------------------------------------------- " Ведомые "

uint8_t slaveTypeCode(int index) {
    return index >= 0 && index < static_cast<int>(kSlaveTypeCodes.size()) ? kSlaveTypeCodes[index]
                                                                          : kEmptySlaveType;
}

int slaveTypeIndex(uint8_t code) {
    for (size_t i = 0; i < kSlaveTypeCodes.size(); ++i)
        if (kSlaveTypeCodes[i] == code)
            return static_cast<int>(i);
    return kSlaveTypeNone;
}

SlavesEditor::SlavesEditor(ConfigImage& image, std::array<SlaveRowControls, kSlaveCount> rows)
    : image_(image), c_(rows) {
    buttons_.fill(true);
}

int SlavesEditor::typeOf(int row) const {
    const int index = c_[row].type->currentIndex();
    return index < 0 ? kSlaveTypeNone : index;
}

void SlavesEditor::enableRow(int row) {
    const int type = typeOf(row);
    SlaveRowState& s = state_[row];
    s.addressEnabled = s.typeEnabled = type != kSlaveTypeNone;
    s.settingsEnabled = isOtherMake(type);
}

void SlavesEditor::notify() {
    if (stateChanged)
        stateChanged();
}

void SlavesEditor::showSlaves() {
    for (int i = 0; i < kSlaveCount; ++i) {
        const SlaveRecord& r = image_.Slaves[i];
        c_[i].address->setText(QString::number(r.Address));
        c_[i].type->setCurrentIndex(slaveTypeIndex(r.Type));
        c_[i].frame->setCurrentIndex((r.Options >> 4) & 3);
        c_[i].baud->setCurrentIndex(r.Options & 3);
        enableRow(i);
    }
    notify();
}

void SlavesEditor::applySlaves() {
    for (int i = 0; i < kSlaveCount; ++i) {
        SlaveRecord& r = image_.Slaves[i];
        const int type = typeOf(i);
        if (type == kSlaveTypeNone) {
            c_[i].address->setText(QString::number(kDefaultSlaveAddress));
            r.Address = kDefaultSlaveAddress;
        } else {
            const long long address =
                checkInteger(*c_[i].address, t::kSlaveAddressMin, t::kSlaveAddressMax, r.Address);
            // A slot whose address was not taken keeps all three bytes: a type without its address
            // would have the controller poll address 0.
            if (valueErrorShown())
                continue;
            r.Address = static_cast<uint8_t>(address);
        }
        r.Type = slaveTypeCode(type);
        const int baud = std::max(c_[i].baud->currentIndex(), 0);
        const int frame = std::max(c_[i].frame->currentIndex(), 0);
        r.Options = static_cast<uint8_t>(baud + 16 * frame);
    }
}

void SlavesEditor::addSlaveDevice(int index) {
    if (index < 0 || index >= kSlaveButtonCount)
        return;
    if (isOwnMake(index)) {
        for (int b = kVardex; b <= kDanfoss; ++b)
            buttons_[b] = false;
        if (index == kLintra)
            buttons_[kLintra] = false;
    } else {
        for (int b = 0; b < kSlaveButtonCount; ++b)
            if (b != index)
                buttons_[b] = false;
    }
    const int slotCount = isOtherMake(index) ? kOtherMakeSlots : kSlaveCount;
    for (int i = 0; i < slotCount; ++i) {
        if (typeOf(i) != kSlaveTypeNone)
            continue;
        c_[i].type->setCurrentIndex(index);
        c_[i].address->setText(QString::number(kDefaultSlaveAddress));
        if (isOwnMake(index)) {
            c_[i].frame->setCurrentIndex(kDefaultFrame);
            c_[i].baud->setCurrentIndex(kDefaultBaud);
        }
        enableRow(i);
        break;
    }
    notify();
}

void SlavesEditor::removeLastSlave() {
    for (int i = kSlaveCount - 1; i >= 0; --i) {
        if (typeOf(i) == kSlaveTypeNone)
            continue;
        c_[i].address->setText(QString::number(kDefaultSlaveAddress));
        c_[i].type->setCurrentIndex(kSlaveTypeNone);
        c_[i].frame->setCurrentIndex(kDefaultFrame);
        c_[i].baud->setCurrentIndex(kDefaultBaud);
        enableRow(i);
        updateAddButtons();
        return;
    }
    buttons_.fill(true);
    notify();
}

void SlavesEditor::updateAddButtons() {
    bool own = false, lintra = false, other = false, vardex = false, toshiba = false, danfoss = false;
    for (int i = 0; i < kSlaveCount; ++i) {
        const int type = typeOf(i);
        own = own || isOwnMake(type);
        other = other || isOtherMake(type);
        lintra = lintra || type == kLintra;
        vardex = vardex || type == kVardex;
        toshiba = toshiba || type == kToshiba;
        danfoss = danfoss || type == kDanfoss;
        if (type == kSlaveTypeNone)
            c_[i].address->setText(QString::number(kDefaultSlaveAddress));
    }
    if (own)
        buttons_[kVardex] = buttons_[kToshiba] = buttons_[kDanfoss] = false;
    buttons_[kLintra] = !lintra;
    if (other)
        for (int b = 0; b <= 4; ++b)
            buttons_[b] = false;
    if (vardex)
        buttons_[kToshiba] = buttons_[kDanfoss] = false;
    if (toshiba)
        buttons_[kVardex] = buttons_[kDanfoss] = false;
    if (danfoss)
        buttons_[kVardex] = buttons_[kToshiba] = false;
    notify();
}

void SlavesEditor::frameChanged(int row) {
    if (row < 0 || row >= kSlaveCount)
        return;
    const int item = c_[row].frame->currentIndex();
    for (auto& r : c_)
        r.frame->setCurrentIndex(item);
}

void SlavesEditor::baudChanged(int row) {
    if (row < 0 || row >= kSlaveCount)
        return;
    const int item = c_[row].baud->currentIndex();
    for (auto& r : c_)
        r.baud->setCurrentIndex(item);
}

// ---------------------------------------------------------------- " Общие "

std::optional<QDate> seasonDate(const DateTimePoint& p) {
    const QDate d(2000 + p.Year, p.Month, p.Day);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

GeneralTab::GeneralTab(ConfigImage& image, GeneralControls controls, SlavesEditor& slaves)
    : image_(image), c_(controls), slaves_(slaves) {}

void GeneralTab::showGeneral() {
    const ConfigImage& im = image_;
    c_.summerDate.setDate(seasonDate(im.SummerBegin));
    c_.summerTime.setTime(shownTime(im.SummerBegin.Hour, im.SummerBegin.Minute, im.SummerBegin.Second));
    c_.winterDate.setDate(seasonDate(im.WinterBegin));
    c_.winterTime.setTime(shownTime(im.WinterBegin.Hour, im.WinterBegin.Minute, im.WinterBegin.Second));
    c_.dayTime.setTime(shownTime(im.DayBegin.Hour, im.DayBegin.Minute, im.DayBegin.Second));
    c_.nightTime.setTime(shownTime(im.NightBegin.Hour, im.NightBegin.Minute, im.NightBegin.Second));
    c_.delayFlowCtrl.setText(QString::number(im.DelayFlowCtrl));
    c_.quantityAttemptLink.setText(QString::number(im.QuantityAttemptLink));
    c_.timeNoAsking.setText(QString::number(im.TimeNoAsking));
    c_.dac1Range.setChecked(im.Options & kOptionDac1Range);
    c_.dac2Range.setChecked(im.Options & kOptionDac2Range);
    c_.overload1.setChecked(im.Options & kOptionDac1Overload);
    c_.overload2.setChecked(im.Options & kOptionDac2Overload);
    c_.dac1Percent.setText(QString::number(im.DAC1erProcent));
    c_.dac1Time.setText(QString::number(im.DAC1erTime));
    c_.dac2Percent.setText(QString::number(im.DAC2erProcent));
    c_.dac2Time.setText(QString::number(im.DAC2erTime));
    for (size_t i = 0; i < c_.counters.size(); ++i)
        c_.counters[i]->setText(formatFixed(im.KoefCounters[i], 6, 4));
    slaves_.showSlaves();
}

void GeneralTab::applyGeneral() {
    resetValueErrors();
    ConfigImage& im = image_;
    applySeason(im.SummerBegin, c_.summerDate, c_.summerTime);
    applySeason(im.WinterBegin, c_.winterDate, c_.winterTime);
    applyTimeOfDay(im.DayBegin, c_.dayTime);
    applyTimeOfDay(im.NightBegin, c_.nightTime);
    im.DelayFlowCtrl = checkByte(c_.delayFlowCtrl, t::kByteMax, im.DelayFlowCtrl);
    im.QuantityAttemptLink = checkByte(c_.quantityAttemptLink, t::kByteMax, im.QuantityAttemptLink);
    im.TimeNoAsking = checkByte(c_.timeNoAsking, t::kByteMax, im.TimeNoAsking);
    setOption(im.Options, kOptionDac1Range, c_.dac1Range.isChecked());
    setOption(im.Options, kOptionDac2Range, c_.dac2Range.isChecked());
    setOption(im.Options, kOptionDac1Overload, c_.overload1.isChecked());
    setOption(im.Options, kOptionDac2Overload, c_.overload2.isChecked());
    im.DAC1erProcent = checkByte(c_.dac1Percent, t::kPercentMax, im.DAC1erProcent);
    im.DAC1erTime = checkByte(c_.dac1Time, t::kByteMax, im.DAC1erTime);
    im.DAC2erProcent = checkByte(c_.dac2Percent, t::kPercentMax, im.DAC2erProcent);
    im.DAC2erTime = checkByte(c_.dac2Time, t::kByteMax, im.DAC2erTime);
    slaves_.applySlaves();
    for (size_t i = 0; i < c_.counters.size(); ++i)
        im.KoefCounters[i] =
            checkImageSingle(*c_.counters[i], t::kCounterMin, t::kCounterMax, im.KoefCounters[i]);
}

} // namespace vextor
