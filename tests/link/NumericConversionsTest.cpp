#include "link/NumericConversions.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace vextor;

TEST(FloatFromImage, PlausibilityRule) {
    struct {
        uint8_t b[4];
        bool check;
        float expected;
    } cases[] = {
        {{0x00, 0x00, 0xC8, 0x41}, true, 25.0f},
        {{0x00, 0x00, 0xC8, 0x41}, false, 25.0f},
        {{0x00, 0x00, 0x80, 0x3F}, true, 1.0f},
        {{0x00, 0x00, 0x80, 0x7F}, true, kImplausibleFloat}, // infinity
        {{0x00, 0x00, 0x00, 0x00}, true, 0.0f},
        {{0xFF, 0xFF, 0xFF, 0xFF}, true, kImplausibleFloat},
        {{0x00, 0x00, 0x00, 0x80}, true, kImplausibleFloat}, // negative zero
        {{0x00, 0x00, 0x00, 0x33}, true, 2.98023224e-08f},   // lowest top byte taken
        {{0x00, 0x00, 0x00, 0x32}, true, kImplausibleFloat},
        {{0x00, 0x00, 0x00, 0xC7}, true, -32768.0f}, // sign bit ignored by the rule
    };
    for (const auto& c : cases) {
        const float x = floatFromImage(c.check, c.b);
        EXPECT_FLOAT_EQ(x, c.expected) << std::hex << int(c.b[3]);
    }
    uint32_t marker;
    std::memcpy(&marker, &kImplausibleFloat, 4);
    EXPECT_EQ(marker, 0xC3894666u);
}

TEST(FloatToImage, LittleEndianAndNoNegativeZero) {
    uint8_t b[4];
    floatToImage(25.0f, b);
    EXPECT_EQ(b[0], 0x00);
    EXPECT_EQ(b[2], 0xC8);
    EXPECT_EQ(b[3], 0x41);
    floatToImage(-0.0f, b);
    EXPECT_EQ(b[3], 0x00);
    EXPECT_EQ(floatFromImage(true, b), 0.0f);
}

TEST(NumberTexts, FormattingAndParsingWithADecimalComma) {
    EXPECT_EQ(formatHundredths(201), "2,01");
    EXPECT_EQ(formatHundredths(200), "2,00");
    EXPECT_EQ(intToStrPad(7, 2), "07");
    EXPECT_EQ(intToStrPad(123, 2), "123");
    EXPECT_EQ(formatFixed(25.0, 7, 1), "25,0");
    EXPECT_EQ(formatFixed(-0.25, 7, 2), "-0,25");
    EXPECT_EQ(formatFixed(123.456, 4, 2), "123,50");
    // Every text the formatter makes reads back, the exponent form included.
    for (double v : {0.0, 1.5, -274.55, 12345678.9, 1e15, -3.2e-9, 65535.0}) {
        const QString text = formatFixed(v, 7, 2);
        double back = 0;
        ASSERT_TRUE(parseNumber(text, back)) << text.toStdString();
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-6 + 0.01) << text.toStdString();
    }
    double x;
    EXPECT_FALSE(parseNumber("abc", x));
    EXPECT_FALSE(parseNumber("", x));
    EXPECT_TRUE(parseNumber("10000,01", x));
    EXPECT_DOUBLE_EQ(x, 10000.01);
}

struct ValidationFixture : ::testing::Test {
    ScriptedDialogs dialogs;
    void SetUp() override {
        setValidationDialogs(&dialogs);
        resetValueErrors();
    }
    void TearDown() override { setValidationDialogs(nullptr); }
};

// The dialogs of a window that has gone are never used: its scope hands back what was routed before.
TEST(ValidationDialogsScope, RoutesMessagesOnlyWhileItsOwnerLives) {
    setValidationDialogs(nullptr);
    ScriptedDialogs outer;
    {
        const ValidationDialogsScope outerScope(&outer);
        {
            ScriptedDialogs window;
            const ValidationDialogsScope scope(&window);
            EXPECT_EQ(validationDialogs(), &window);
        }
        EXPECT_EQ(validationDialogs(), &outer);
        resetValueErrors();
        PlainEditField f("abc");
        checkInteger(f, "0", "10", 3);
        EXPECT_EQ(outer.shown, QStringList{"Ошибка формата данных!"});
    }
    EXPECT_EQ(validationDialogs(), nullptr);
    resetValueErrors();
}

TEST_F(ValidationFixture, RangesFormatErrorsAndTheOneMessageRule) {
    PlainEditField f("10000");
    EXPECT_EQ(checkSingle(f, "0,0", "10000,0", 5.0f), 10000.0f);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    f.setText("10000,01");
    EXPECT_EQ(checkSingle(f, "0,0", "10000,0", 5.0f), 5.0f); // the current value stays
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0], "Значение 10000,01 вне допустимого диапазона!");
    EXPECT_EQ(f.focusCount, 1);

    // Later fields of the same apply are not checked and keep their values.
    PlainEditField g("abc");
    EXPECT_EQ(checkInteger(g, "0", "10", 3), 3);
    EXPECT_EQ(dialogs.shown.size(), 1);

    resetValueErrors();
    EXPECT_EQ(checkInteger(g, "0", "10", 3), 3);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1], "Ошибка формата данных!");

    resetValueErrors();
    PlainEditField h("300");
    EXPECT_EQ(checkInteger(h, "0", "255", 17), 17);
    EXPECT_EQ(dialogs.shown.last(), "Значение 300 вне допустимого диапазона!");

    resetValueErrors();
    h.setText("-10000");
    EXPECT_EQ(checkSingle(h, "-10000,0", "10000,0", 0.0f), -10000.0f);
    EXPECT_EQ(checkEditValue(h, ValueKind::Other, "0", "1", 42.0), 42.0);
}

TEST_F(ValidationFixture, PackedTime) {
    PlainEditField f("12:34:56");
    const PackedTime p = packTime(f, {});
    EXPECT_EQ(p, (PackedTime{0x64, 0x5C}));
    EXPECT_EQ(f.text(), "12:34:56");
    EXPECT_EQ(unpackTime(0x64, 0x5C), "12:34:56");
    f.setText("12:34:57");
    const PackedTime odd = packTime(f, {});
    EXPECT_EQ(unpackTime(odd.high, odd.low), "12:34:56");

    // Refused parts and short texts leave the stored bytes as they were.
    const PackedTime stored{0x64, 0x5C};
    for (const char* text : {"32:00:00", "12:64:00", "12:00:64", "1:2:3", "ab:00:00"}) {
        resetValueErrors();
        dialogs.shown.clear();
        f.setText(text);
        EXPECT_EQ(packTime(f, stored), stored) << text;
        EXPECT_EQ(dialogs.shown.size(), 1) << text;
        EXPECT_EQ(f.text(), text);
    }
    resetValueErrors();
    f.setText("31:63:63");
    const PackedTime top = packTime(f, stored);
    EXPECT_EQ(unpackTime(top.high, top.low), "31:63:62");
}

TEST(DateTimeFormats, AnUnsetSystemLocaleFallsBackToRussian) {
    const QDate day(2026, 12, 10);
    struct Case {
        QLocale system;
        QString shortDate;
    };
    const Case cases[] = {
        {QLocale::c(), "10.12.2026"},
        {QLocale(QLocale::Russian, QLocale::Russia), "10.12.2026"},
        {QLocale(QLocale::German, QLocale::Germany), "10.12.26"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "12/10/26"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateTimeFormats(c.system).toString(day, QLocale::ShortFormat), c.shortDate)
            << c.system.name().toStdString();
}
