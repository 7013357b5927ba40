#include "events/EventDecoder.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace vextor::events;

namespace {

EventRecord fromHex(const char* hex) {
    const QByteArray b = QByteArray::fromHex(hex);
    return EventRecord::fromBytes(reinterpret_cast<const uint8_t*>(b.constData()));
}

struct RowCase {
    const char* what;
    const char* record; // 9 bytes in hex
    const char* source;
    const char* date;
    const char* time;
    const char* event;
};

// The viewer's worked examples and the order of the three checks.
const RowCase kRows[] = {
    {"own event", "0009000C1E2D0F060A", "Собственное", "15/06/10", "12:30:45", "(9)  Новый ключ"},
    {"hour 24 and minute 60 are valid", "000900183C000F060A", "Собственное", "15/06/10", "24:60:00",
     "(9)  Новый ключ"},
    {"bit 7 of the second is ignored", "000900010AAD0F060A", "Собственное", "15/06/10", "01:10:45",
     "(9)  Новый ключ"},
    {"slave source", "03FA07173B3B1F0C63", "Ведомого адр=3", "31/12/99", "23:59:59",
     "(250)  Потеряна связь с прибором адрес = 7"},
    {"unknown start cause", "00CB05000000010100", "Собственное", "01/01/00", "00:00:00",
     "(203)  Start by over..."},
    {"unknown code", "003C02000000010100", "Собственное", "01/01/00", "00:00:00", "(60)  Код=60 Опция 2"},
    {"hour 25", "000900190000010100", "", "", "", "Ошибка метки времени"},
    {"minute 61", "0009000C3D00010100", "", "", "", "Ошибка метки времени"},
    {"second 61 under bit 7", "0009000C00BD010100", "", "", "", "Ошибка метки времени"},
    {"second 60 under bit 7 is valid", "0009000C00BC010100", "Собственное", "01/01/00", "12:00:60",
     "(9)  Новый ключ"},
    {"day 32", "0009000C0000200100", "", "", "", "Ошибка метки даты"},
    {"month 13", "0009000C0000010D00", "", "", "", "Ошибка метки даты"},
    {"year 100", "0009000C0000010164", "", "", "", "Ошибка метки даты"},
    {"bad source", "8009000C0000010100", "", "", "", "Ошибка адреса"},
    {"time is checked before date", "80090019000020FFFF", "", "", "", "Ошибка метки времени"},
    {"date is checked before source", "FF09000C0000200100", "", "", "", "Ошибка метки даты"},
};

} // namespace

TEST(EventDecoder, RowsFollowTheChecksInOrder) {
    for (const RowCase& c : kRows) {
        SCOPED_TRACE(c.what);
        const EventRow row = decodeEventRecord(41, fromHex(c.record));
        EXPECT_EQ(row[ColNumber], "42");
        EXPECT_EQ(row[ColSource], QString::fromUtf8(c.source));
        EXPECT_EQ(row[ColDate], QString::fromUtf8(c.date));
        EXPECT_EQ(row[ColTime], QString::fromUtf8(c.time));
        EXPECT_EQ(row[ColEvent], QString::fromUtf8(c.event));
    }
}

TEST(EventDecoder, EveryCodeText) {
    const struct {
        int code, option;
        const char* text;
    } cases[] = {
        {1, 0, "РИП - 220B"},
        {2, 0, "РИП - аккум-р"},
        {7, 3, "Изменение адреса"},
        {8, 12, "Bad address 12"},
        {9, 0, "Новый ключ"},
        {11, 5, "Запись КФГ с адреса 5"},
        {13, 0, "Запись КФГ с платы дисплея"},
        {45, 4, "Обрыв ШС4"},
        {82, 2, "DA2 - ошибка"},
        {83, 2, "DA2 - Ok!"},
        {84, 201, "Новая конфигурация - 201"},
        {94, 0, "Нагрев калорифера"},
        {95, 0, "Угроза охлаждения"},
        {96, 0, "Угроза замерзания"},
        {97, 0, "Перегрев ОВ"},
        {98, 0, "Фильтр грязный!"},
        {99, 0, "Отказ вентилятора!"},
        {100, 0, "Лето - День"},
        {101, 0, "Лето - Ночь"},
        {102, 0, "Зима - День"},
        {103, 0, "Зима - Ночь (ДР)"},
        {109, 7, "ШС7 снят"},
        {122, 1, "ЦАП1 - ошибка"},
        {123, 1, "ЦАП1 - Ok!"},
        {127, 16, "Подключение выхода16"},
        {135, 1, "Error CRC"},
        {135, 0, "135 - ??"},
        {135, 2, "135 - ??"},
        {149, 9, "Тревога взлома, адрес = 9"},
        {198, 0, "Uпит. ниже нормы"},
        {199, 0, "Uпит. Ok!"},
        {203, 0, "Start by PWR"},
        {203, 1, "Start by WDT"},
        {203, 2, "Start by command"},
        {203, 255, "Start by over..."},
        {224, 17, "Некорректный ответ в ДПЛС устройства 17"},
        {250, 127, "Потеряна связь с прибором адрес = 127"},
        {251, 0, "Восстановлена связь с прибором адрес = 0"},
        {0, 0, "Код=0 Опция 0"},
        {255, 255, "Код=255 Опция 255"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(eventText(static_cast<uint8_t>(c.code), static_cast<uint8_t>(c.option)),
                  QString::fromUtf8(c.text));
    }
    // The controller's display shows these two letters in Latin; a Cyrillic look-alike would break
    // any search or comparison by text.
    EXPECT_EQ(eventText(1, 0).back(), QChar(u'B'));
    EXPECT_EQ(eventText(198, 0).front(), QChar(u'U'));
}

TEST(EventDecoder, HeaderAndLabel) {
    EXPECT_EQ(eventColumnHeaders(), (QStringList{"N п/п", "Источник", "Дата", "Время", "Событие"}));
    EXPECT_EQ(recordCountLabel(0), "Количество записей - 0");
    EXPECT_EQ(recordCountLabel(682), "Количество записей - 682");
}
