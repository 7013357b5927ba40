#include "SlavesEditor.h"

#include "GeneralTexts.h"
#include "link/NumericConversions.h"

#include <algorithm>

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

} // namespace

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

} // namespace vextor
