#pragma once
// Texts of the configuration window's editing tabs ("Датчики", "A In/Out", "D In/Out"), byte for
// byte as the engineer sees them.
#include <QString>
#include <array>

namespace vextor::tab_texts {

inline const QString kApply = QStringLiteral("Применить");

// The limits of an entry stored into one byte, on every tab.
inline const QString kByteMin = QStringLiteral("0");
inline const QString kByteMax = QStringLiteral("255");

// --- "Датчики" ---
inline const QString kOwnSensors = QStringLiteral("Собственные датчики");
inline const QString kColNumber = QStringLiteral("Номер");
inline const QString kColType = QStringLiteral("Тип");
inline const QString kColExecution = QStringLiteral("Исполнение");
inline const QString kKindChoice = QStringLiteral(" Тип датчика ");
inline const QString kExecutionGroup = QStringLiteral(" Исполнение ");
// The kind choice, in list order; position 6 stands for every kind above 5.
inline const std::array<QString, 7> kKindItems = {QStringLiteral("ТС"),
                                                  QStringLiteral("LM235"),
                                                  QStringLiteral("Напряжение 0-10в"),
                                                  QStringLiteral("Напряжение 0-1в"),
                                                  QStringLiteral("Ток 4-20мА"),
                                                  QStringLiteral("Ток 0-5мА"),
                                                  QStringLiteral("Нет датчика")};
inline const std::array<QString, 6> kMaterialItems = {QStringLiteral("Cu 1.426"), QStringLiteral("Cu 1.428"),
                                                      QStringLiteral("Pt 1.385"), QStringLiteral("Pt 1.391"),
                                                      QStringLiteral("Ni 1000"),  QStringLiteral("TK 5000")};
inline const QString kWiringChoice = QStringLiteral(" Схема ");
inline const std::array<QString, 2> kWiringItems = {QStringLiteral("2 line"), QStringLiteral("3 line")};
inline const QString kR0Caption = QStringLiteral("Сопротивление      при 0 *С, Ом");
inline const QString kLinesCaption = QStringLiteral("Сопротивление      линий, Ом");
inline const QString kVoltageCaption = QStringLiteral("Напряжение при 0 *С, В");
inline const QString kShuntCaption = QStringLiteral("R шунта, Ом");
inline const QString kRangeVoltageTitle = QStringLiteral("Напряжение");
inline const QString kRangeCurrentTitle = QStringLiteral(" Ток ");
inline const QString kMinCaption = QStringLiteral("Min");
inline const QString kMaxCaption = QStringLiteral("Max");

// Texts the entry fields start with.
inline const QString kDefaultR0 = QStringLiteral("1000,0");
inline const QString kDefaultLines = QStringLiteral("2,2");
inline const QString kDefaultVoltage = QStringLiteral("2,732");
inline const QString kDefaultMin = QStringLiteral("0");
inline const QString kDefaultMax = QStringLiteral("100");
inline const QString kDefaultShunt = QStringLiteral("200,0");

// Grid cells.
inline const QString kTypeGap = QStringLiteral("  ");
inline const QString kCurrentLine = QStringLiteral("   (I)");
inline const QString kSecondLine = QStringLiteral("   (U)");
inline const QString kR0Prefix = QStringLiteral("R0 = ");
inline const QString kWiresPrefix = QStringLiteral("  ; ");
inline const QString kWiresSuffix = QStringLiteral("-х проводная; Rлинии = ");
inline const QString kVoltagePrefix = QStringLiteral("U нач = ");
inline const QString kLm235LinesPrefix = QStringLiteral(";  Rлинии =  ");
inline const QString kTminPrefix = QStringLiteral("Тмин = ");
inline const QString kTmaxPrefix = QStringLiteral(";  Тмакс = ");
inline const QString kShuntPrefix = QStringLiteral("Rшунт = ");
inline const QString kTminAfterShunt = QStringLiteral(";  Тмин = ");

inline const QString kThreeWireOnLast =
    QStringLiteral("Подключение невозможно. Трехпроводному датчику необходимо две линии!");

// Validation limits.
inline const QString kZero = QStringLiteral("0,0");
inline const QString kTenThousand = QStringLiteral("10000,0");
inline const QString kRangeMin = QStringLiteral("-10000000,0");
inline const QString kRangeMax = QStringLiteral("10000000,0");

// --- "A In/Out" and "D In/Out" ---
inline const QString kAnalogInTitle = QStringLiteral(" Входные аналоговые параметры ");
inline const QString kAnalogOutTitle = QStringLiteral(" Управляемые аналоговые выходы ");
inline const QString kDiscreteInTitle = QStringLiteral(" Входные дискретные параметры ");
inline const QString kDiscreteOutTitle = QStringLiteral(" Управляемые дикретные выходы ");
inline const QString kColName = QStringLiteral("Наименование");
inline const QString kColAddress = QStringLiteral("Адрес");
inline const QString kColInput = QStringLiteral("№ вх");
inline const QString kColOutput = QStringLiteral(" № вых");
inline const QString kAnalogRowCaption = QStringLiteral("Номер строки");
inline const QString kDiscreteRowCaption = QStringLiteral("N строки");
inline const QString kAddressCaption = QStringLiteral("Адрес");
inline const QString kNumberCaption = QStringLiteral("Номер");
inline const QString kClearButton = QStringLiteral("255   0");

inline const std::array<QString, 14> kAnalogInNames = {
    QStringLiteral(" СПВ  Т канала"),    QStringLiteral(" СПВ  Т обр. воды"),
    QStringLiteral(" Т нар. воздуха"),   QStringLiteral(" СПВ  Т помещения"),
    QStringLiteral(" СПВ  Т задатчика"), QStringLiteral(" СПВ  Т Корректора"),
    QStringLiteral(" СОт  Тпрям. воды"), QStringLiteral(" СОт  Тобр. воды"),
    QStringLiteral(" СГВС  Т воды"),     QStringLiteral(" Технол. параметр"),
    QStringLiteral(" Т гликоля"),        QStringLiteral(" V вентиляторов, [%]"),
    QStringLiteral(" Параметр А1"),      QStringLiteral(" Параметр А2")};

inline const std::array<QString, 6> kAnalogOutNames = {
    QStringLiteral(" СПВ КЗР калорифера"), QStringLiteral(" СПВ КЗР кондиционера"),
    QStringLiteral(" СОт привод КЗР"),     QStringLiteral(" СГВС привод КЗР"),
    QStringLiteral(" Технол. процесс"),    QStringLiteral(" Рекуперация")};

// The С of "NС" is the Cyrillic letter.
inline const std::array<QString, 32> kDiscreteInNames = {QStringLiteral(" СПВ Дежурный режим"),
                                                         QStringLiteral(" СПВ Активный режим"),
                                                         QStringLiteral(" СПВ Термостат"),
                                                         QStringLiteral(" СПВ Перепад на возд. фильтре"),
                                                         QStringLiteral(" СПВ Перепад на приточ. вент."),
                                                         QStringLiteral(" СПВ Перепад на вытяжн. вент."),
                                                         QStringLiteral(" СПВ  Д. протока калорифера NO"),
                                                         QStringLiteral(" СПВ  Д. протока калорифера NС"),
                                                         QStringLiteral(" СПВ  Д. протока кондиц-а NO"),
                                                         QStringLiteral(" СПВ  Д. протока кондиц-а NС"),
                                                         QStringLiteral(" СОт  Принудительно Ночь"),
                                                         QStringLiteral(" СОт  Д. протока NO"),
                                                         QStringLiteral(" СОт  Д. протока NС"),
                                                         QStringLiteral(" СГВС  Д. протока NO"),
                                                         QStringLiteral(" СГВС  Д. протока NС"),
                                                         QStringLiteral(" Авария рекуператора"),
                                                         QStringLiteral(" Д. обмерз. трубчатого рекуп-ра"),
                                                         QStringLiteral(" СПВ Конт. Датч. жалюзи открыты"),
                                                         QStringLiteral(" СПВ Конт. Датч. жалюзи закрыты"),
                                                         QStringLiteral(" СПВ Контроль РИПа"),
                                                         QStringLiteral(" Счётчик импульсов №1"),
                                                         QStringLiteral(" Счётчик импульсов №2"),
                                                         QStringLiteral(" Счётчик импульсов №3"),
                                                         QStringLiteral(" Счётчик импульсов №4"),
                                                         QStringLiteral(" СПВ  вход  ПОЖАР"),
                                                         QStringLiteral(" Параметр Д1"),
                                                         QStringLiteral(" Параметр Д2"),
                                                         QStringLiteral(" Параметр Д3"),
                                                         QStringLiteral(" Параметр Д4"),
                                                         QStringLiteral(" Параметр Д5"),
                                                         QStringLiteral(" Параметр Д6"),
                                                         QStringLiteral(" Параметр Д7")};

inline const std::array<QString, 32> kDiscreteOutNames = {QStringLiteral(" СПВ Привод жалюзи (откр/закр)"),
                                                          QStringLiteral(" СПВ Привод жалюзи (закр)"),
                                                          QStringLiteral(" СПВ Вент. ПРИТОЧНЫЙ старт/стоп"),
                                                          QStringLiteral(" СПВ Вент. ПРИТОЧНЫЙ скорость"),
                                                          QStringLiteral(" СПВ Вент. ВЫТЯЖНОЙ старт/стоп"),
                                                          QStringLiteral(" СПВ Вент. ВЫТЯЖНОЙ скорость"),
                                                          QStringLiteral(" СПВ Насос Калориф. ОСНОВНОЙ"),
                                                          QStringLiteral(" СПВ Насос Калориф. РРЕЗЕРВН."),
                                                          QStringLiteral(" СПВ Насос Конд-ра ОСНОВНОЙ"),
                                                          QStringLiteral(" СПВ Насос Конд-ра РРЕЗЕРВН."),
                                                          QStringLiteral(" СПВ Обогрев жалюзи"),
                                                          QStringLiteral(" СОт Насос ОСНОВНОЙ"),
                                                          QStringLiteral(" СОт Насос РЕЗЕРВНЫЙ"),
                                                          QStringLiteral(" СГВС Насос ОСНОВНОЙ"),
                                                          QStringLiteral(" СГВС Насос РЕЗЕРВНЫЙ"),
                                                          QStringLiteral("   Выход Зима/Лето"),
                                                          QStringLiteral("   Выход День/Ночь"),
                                                          QStringLiteral("   Выход \"Авария\""),
                                                          QStringLiteral(" Грязный фильтр"),
                                                          QStringLiteral(" СПВ Насос рекуператора"),
                                                          QStringLiteral(" ШИМ 1-1"),
                                                          QStringLiteral(" ШИМ 1-2"),
                                                          QStringLiteral(" ШИМ 1-3"),
                                                          QStringLiteral(" Выход на Исп. Устройство 1"),
                                                          QStringLiteral(" Выход на Исп. Устройство 2"),
                                                          QStringLiteral(" Выход на Исп. Устройство 3"),
                                                          QStringLiteral(" Выход на Исп. Устройство 4"),
                                                          QStringLiteral(" Выход на Исп. Устройство 5"),
                                                          QStringLiteral(" Выход на Исп. Устройство 6"),
                                                          QStringLiteral(" Выход на Исп. Устройство 7"),
                                                          QStringLiteral(" Выход на Исп. Устройство 8"),
                                                          QStringLiteral(" Выход на Исп. Устройство 9")};

} // namespace vextor::tab_texts
