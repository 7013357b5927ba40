#pragma once
// The three controls of a Modbus line byte, as the link settings window and the service page both
// show them: the frame list, the speed list and the float word order choice (ids 0 and 1).
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QObject;
class QWidget;

namespace vextor {

struct ModbusLineControls {
    QComboBox* frame;
    QComboBox* speed;
    QGroupBox* floatBox;
    QButtonGroup* floatChoice; // owned by the given owner
};

ModbusLineControls makeModbusLineControls(QWidget* parent, QObject* owner);

} // namespace vextor
