#include "ModbusLineControls.h"

#include "link/ModbusParams.h"
#include "link/texts.h"
#include "texts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace vextor {

ModbusLineControls makeModbusLineControls(QWidget* parent, QObject* owner) {
    ModbusLineControls c{};
    c.frame = new QComboBox(parent);
    for (const char* frame : link_texts::kModbusFrames)
        c.frame->addItem(QString::fromUtf8(frame));
    c.speed = new QComboBox(parent);
    for (const int rate : kModbusBaudRates)
        c.speed->addItem(QString::number(rate));
    c.floatBox = new QGroupBox(line_control_texts::kFloatFormat, parent);
    auto* row = new QHBoxLayout(c.floatBox);
    c.floatChoice = new QButtonGroup(owner);
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(line_control_texts::kFloats[i], c.floatBox);
        c.floatChoice->addButton(r, i);
        row->addWidget(r);
    }
    return c;
}

} // namespace vextor
