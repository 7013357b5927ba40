#include "SensorsTab.h"

#include "TabTexts.h"
#include "link/UserDialogs.h"

#include <cmath>

namespace vextor {

namespace t = tab_texts;

namespace {

constexpr int kLastChannel = kSensorCount - 1;
constexpr uint8_t kTwoWires = 2;
constexpr uint8_t kThreeWires = 3;

// Kinds above 5 are all "no sensor" on screen.
int kindItemOf(uint8_t kind) {
    return kind <= 5 ? kind : kNoSensorItem;
}

// Raw bytes from the controller are never list indexes: a material byte outside the list names no
// material.
QString materialText(uint8_t material) {
    return material < t::kMaterialItems.size() ? t::kMaterialItems[material] : QString();
}

bool isThreeWire(const SensorRecord& r) {
    return r.KindSensor == kRawSensorKind && r.Byte[0] == kThreeWires;
}

QString fixed1(float x) {
    return formatFixed(x, 15, 1);
}

} // namespace

uint8_t resistanceClass(float r0) {
    if (r0 < 75)
        return 0;
    if (r0 < 105)
        return 1;
    if (r0 < 1050)
        return 2;
    return 3;
}

bool floatFitsImage(float x) {
    const float m = std::fabs(x);
    return m == 0.0f || (m >= std::ldexp(1.0f, -25) && m < 131072.0f);
}

float checkImageSingle(EditField& field, const QString& minText, const QString& maxText, float current) {
    const float x = checkSingle(field, minText, maxText, current);
    if (valueErrorShown() || floatFitsImage(x))
        return valueErrorShown() ? current : x;
    // An empty range: the same refusal, with the same message and focus, as any value out of range.
    checkEditValue(field, ValueKind::Single, QStringLiteral("1"), QStringLiteral("0"), current);
    return current;
}

void setSensorKind(SensorRecord& r, uint8_t kind) {
    const bool wasRaw = r.KindSensor == kRawSensorKind;
    const bool isRaw = kind == kRawSensorKind;
    if (wasRaw && !isRaw)
        r.FValue = floatFromImage(false, r.Byte.data());
    else if (!wasRaw && isRaw)
        floatToImage(r.FValue, r.Byte.data());
    r.KindSensor = kind;
}

SensorsTab::SensorsTab(ConfigImage& image, SensorControls controls, UserDialogs& dialogs)
    : image_(image), c_(controls), dialogs_(dialogs) {
    for (int i = 0; i < kSensorCount; ++i)
        grid_[i].number = QString::number(i + 1);
}

void SensorsTab::setDefaults() {
    selected_ = 1;
    c_.number.setText(QStringLiteral("1"));
    c_.kind.setCurrentIndex(kNoSensorItem);
    c_.r0.setText(t::kDefaultR0);
    c_.wiring.setCurrentIndex(0);
    c_.resistanceLines.setText(t::kDefaultLines);
    c_.material.setCurrentIndex(0);
    c_.voltage.setText(t::kDefaultVoltage);
    c_.lm235Lines.setText(t::kDefaultLines);
    c_.min.setText(t::kDefaultMin);
    c_.max.setText(t::kDefaultMax);
    c_.shunt.setText(t::kDefaultShunt);
    setPanel(SensorPanel{});
}

SensorRecord& SensorsTab::selectedRecord() {
    return image_.ArrSensors[static_cast<size_t>(selected_ - 1)];
}

void SensorsTab::showSensorTable() {
    for (int i = 0; i < kSensorCount; ++i) {
        SensorRecord& s = image_.ArrSensors[i];
        SensorGridRow& row = grid_[i];
        row.number = QString::number(i + 1);
        row.type.clear();
        row.execution.clear();
        switch (s.KindSensor) {
        case 0:
            row.type = t::kKindItems[0] + t::kTypeGap + materialText(s.Byte[1]);
            if (s.Byte[0] == kThreeWires)
                row.type += t::kCurrentLine;
            row.execution = t::kR0Prefix + formatFixed(s.Rbegin, 6, 2) + t::kWiresPrefix +
                            QString::number(s.Byte[0] & 3) + t::kWiresSuffix + formatFixed(s.Rline, 6, 2);
            break;
        case 1:
            row.type = t::kKindItems[1];
            row.execution = t::kVoltagePrefix + fixed1(s.Rbegin) + t::kLm235LinesPrefix + fixed1(s.Rline);
            break;
        case 2:
        case 3:
            row.type = t::kKindItems[s.KindSensor];
            row.execution = t::kTminPrefix + fixed1(s.Rbegin) + t::kTmaxPrefix + fixed1(s.Rline);
            break;
        case 4:
        case 5:
            row.type = t::kKindItems[s.KindSensor];
            row.execution = t::kShuntPrefix + fixed1(s.FValue) + t::kTminAfterShunt + fixed1(s.Rbegin) +
                            t::kTmaxPrefix + fixed1(s.Rline);
            break;
        default:
            row.type = t::kKindItems[kNoSensorItem];
            break;
        }
        // A three-wire thermometer takes the next channel for its second line.
        if (i > 0 && isThreeWire(image_.ArrSensors[i - 1])) {
            row.type = t::kKindItems[0] + t::kTypeGap + materialText(image_.ArrSensors[i - 1].Byte[1]) +
                       t::kSecondLine;
            row.execution.clear();
            setSensorKind(s, kNoSensor);
        }
    }
    if (gridChanged)
        gridChanged();
}

void SensorsTab::selectSensor(int row) {
    if (row < 1 || row > kSensorCount)
        return;
    selected_ = row;
    c_.number.setText(QString::number(row));
    const int item = kindItemOf(selectedRecord().KindSensor);
    c_.kind.setCurrentIndex(item);
    fillGroup(item, selectedRecord());
    SensorPanel p = panel_;
    p.applyEnabled = true;
    setPanel(p);
    showGroup(item);
}

void SensorsTab::kindChanged() {
    const int item = c_.kind.currentIndex();
    fillGroup(item, selectedRecord());
    showGroup(item);
}

void SensorsTab::showGroup(int item) {
    SensorPanel p = panel_;
    p.materialVisible = item == 0;
    p.shuntVisible = item == 4 || item == 5;
    p.rangeTitle.clear();
    switch (item) {
    case 0:
        p.group = SensorGroup::Resistance;
        break;
    case 1:
        p.group = SensorGroup::Lm235;
        break;
    case 2:
    case 3:
        p.group = SensorGroup::Range;
        p.rangeTitle = t::kRangeVoltageTitle;
        break;
    case 4:
    case 5:
        p.group = SensorGroup::Range;
        p.rangeTitle = t::kRangeCurrentTitle;
        break;
    default:
        p.group = SensorGroup::None;
        break;
    }
    setPanel(p);
}

void SensorsTab::fillGroup(int item, const SensorRecord& r) {
    switch (item) {
    case 0:
        c_.r0.setText(formatFixed(r.Rbegin, 5, 2));
        c_.resistanceLines.setText(formatFixed(r.Rline, 5, 2));
        // A wiring byte other than 2 or 3 shows as two wires; the byte itself stays until an apply.
        c_.wiring.setCurrentIndex(r.Byte[0] == kThreeWires ? 1 : 0);
        c_.material.setCurrentIndex(r.Byte[1] < t::kMaterialItems.size() ? r.Byte[1] : 0);
        break;
    case 1:
        c_.voltage.setText(formatFixed(r.Rbegin, 6, 4));
        c_.lm235Lines.setText(formatFixed(r.Rline, 15, 2));
        break;
    case 2:
    case 3:
        c_.min.setText(formatFixed(r.Rbegin, 15, 2));
        c_.max.setText(formatFixed(r.Rline, 15, 2));
        break;
    case 4:
    case 5:
        c_.min.setText(formatFixed(r.Rbegin, 15, 2));
        c_.max.setText(formatFixed(r.Rline, 15, 2));
        c_.shunt.setText(formatFixed(r.FValue, 15, 2));
        break;
    default:
        break;
    }
}

void SensorsTab::applySensor() {
    resetValueErrors();
    const int item = c_.kind.currentIndex();
    bool numberOk = false;
    const int row = c_.number.text().trimmed().toInt(&numberOk);
    if (!numberOk || row < 1 || row > kSensorCount)
        return;
    selected_ = row;
    SensorRecord& s = selectedRecord();
    const int i = row - 1;

    if (item < 0 || item >= kNoSensorItem) {
        setSensorKind(s, kNoSensor);
        showSensorTable();
        return;
    }
    setSensorKind(s, static_cast<uint8_t>(item));
    bool refused = false;
    switch (item) {
    case 0: {
        const int material = c_.material.currentIndex();
        s.Byte[1] = static_cast<uint8_t>(material < 0 ? 0 : material);
        s.Rbegin = checkImageSingle(c_.r0, t::kZero, t::kTenThousand, s.Rbegin);
        s.TypeClb = resistanceClass(s.Rbegin);
        s.Byte[0] = c_.wiring.currentIndex() == 1 ? kThreeWires : kTwoWires;
        s.Rline = checkImageSingle(c_.resistanceLines, t::kZero, t::kTenThousand, s.Rline);
        if (i == kLastChannel && s.Byte[0] == kThreeWires) {
            setSensorKind(s, kNoSensor);
            dialogs_.message(t::kThreeWireOnLast);
            refused = true;
        }
        break;
    }
    case 1:
        s.TypeClb = 4;
        s.Rbegin = checkImageSingle(c_.voltage, t::kZero, t::kTenThousand, s.Rbegin);
        s.Rline = checkImageSingle(c_.lm235Lines, t::kZero, t::kTenThousand, s.Rline);
        break;
    default: // 2..5: a range; the current inputs also have their shunt
        s.Rbegin = checkImageSingle(c_.min, t::kRangeMin, t::kRangeMax, s.Rbegin);
        s.Rline = checkImageSingle(c_.max, t::kRangeMin, t::kRangeMax, s.Rline);
        if (item >= 4)
            s.FValue = checkImageSingle(c_.shunt, t::kZero, t::kTenThousand, s.FValue);
        s.TypeClb = static_cast<uint8_t>(item + 3);
        break;
    }
    showSensorTable();
    // The editor goes back to what the channel now holds, so grid and editor agree.
    if (refused)
        selectSensor(row);
}

void SensorsTab::setPanel(const SensorPanel& p) {
    panel_ = p;
    if (panelChanged)
        panelChanged();
}

} // namespace vextor
