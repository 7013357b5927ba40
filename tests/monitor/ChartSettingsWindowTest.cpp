// "Настройка графика" offscreen: what it shows without a file, the key filter, "Применить" with
// refused entries, a failed save, and the load of every "Старт".
#include "monitor/ui/ChartSettingsWindow.h"
#include "support/ScriptedDialogs.h"

#include "link/NumericConversions.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void type(QLineEdit* edit, const QString& keys) {
    for (const QChar c : keys) {
        const int key = c == '\b'  ? int(Qt::Key_Backspace)
                        : c == '.' ? int(Qt::Key_Period)
                                   : int(c.unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, c == '\b' ? QString() : QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

struct ChartWindow : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("Colors.ini");
    ScriptedDialogs dialogs;
    std::vector<ChartSettings> applied;

    std::unique_ptr<ChartSettingsWindow> make() {
        auto w = std::make_unique<ChartSettingsWindow>(dialogs, path);
        w->applied = [this](const ChartSettings& s) { applied.push_back(s); };
        return w;
    }
    void save(const ChartSettings& s) { ASSERT_TRUE(saveChartSettings(path, s)); }
};

// Without Colors.ini the window holds the defaults from its creation on, so that applying it before
// the monitor's first "Старт" stores the defaults rather than a set of zeros.
TEST_F(ChartWindow, WithoutAFileShowsAndStoresTheDefaults) {
    auto w = make();
    w->show();
    EXPECT_EQ(w->windowTitle(), "Настройка графика");
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "fixed size";
    EXPECT_EQ(w->scaleMinEdit()->text(), "0,0");
    EXPECT_EQ(w->scaleMaxEdit()->text(), "100,0");
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(w->multiplierEdit(k)->text(), "1,0");
        EXPECT_EQ(w->offsetEdit(k)->text(), "0,0");
        EXPECT_EQ(w->plotBox(k)->isChecked(), k == 1);
        EXPECT_TRUE(w->traceGroup(k)->isVisibleTo(w.get()));
    }
    EXPECT_EQ(w->traceGroup(1)->title(), " Собственный вход А  1");
    EXPECT_EQ(w->traceGroup(6)->title(), " Собственный вход А  6");
    EXPECT_EQ(w->traceGroup(7)->title(), "Собственный Ан выход  1");
    EXPECT_EQ(w->traceGroup(8)->title(), "Собственный А выход  2");
    EXPECT_EQ(w->traceGroup(9)->title(), " А вход ведомого");
    EXPECT_EQ(w->traceGroup(10)->title(), "А выход ведомого ");
    for (int k : {9, 10})
        EXPECT_FALSE(w->traceGroup(k)->isVisibleTo(w.get())) << k;
    EXPECT_FALSE(w->nameEdit(1)->isVisibleTo(w.get()));
    EXPECT_EQ(w->nameEdit(1)->text(), "T 1");

    w->applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(fileBytes(path), encodeColorsIni(defaultChartSettings()));
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], defaultChartSettings());
}

TEST_F(ChartWindow, NumberFieldsTakeOnlyWhatANumberHas) {
    auto w = make();
    struct Case {
        QString keys, text;
    };
    for (const Case& c : {Case{"2.5", "2,5"}, Case{"-1,5e", "-1,5"}, Case{"12a3", "123"}, Case{"7 .\b", "7"},
                          Case{"1.25\b\b", "1,"}}) {
        SCOPED_TRACE(c.keys.toStdString());
        QLineEdit* edit = w->multiplierEdit(3);
        edit->clear();
        type(edit, c.keys);
        EXPECT_EQ(edit->text(), c.text);
    }
}

// Every refused entry is told and keeps its value; everything else is taken and saved. A refusal in
// another window before does not silence this one.
TEST_F(ChartWindow, ApplyKeepsRefusedEntriesAndTakesTheRest) {
    ChartSettings before = defaultChartSettings();
    before.traces[2].offset = 5.0f;
    before.traces[3].multiplier = 3.0f;
    save(before);
    auto w = make();
    w->chooseColour = [](uint32_t start) -> std::optional<uint32_t> {
        EXPECT_EQ(start, kLime) << "the dialog starts from the swatch's colour";
        return 0x123456;
    };
    w->show();

    // Another window refused an entry and left the one-message flag set.
    PlainEditField elsewhere(QStringLiteral("x"));
    checkSingle(elsewhere, kChartValueMin, kChartValueMax, 0);
    ASSERT_TRUE(valueErrorShown());

    w->scaleMaxEdit()->setText("250");
    w->offsetEdit(2)->setText("abc");           // refused: no number
    w->multiplierEdit(3)->setText("1000000,5"); // refused: out of range
    w->multiplierEdit(1)->setText("2,5");
    w->offsetEdit(8)->setText("-10");
    w->plotBox(4)->setChecked(true);
    w->swatch(3)->click();
    w->applyButton()->click();

    EXPECT_EQ(dialogs.shown.join('|').toStdString(),
              "Ошибка формата данных!|Значение 1000000,5 вне допустимого диапазона!");
    EXPECT_FALSE(valueErrorShown());
    ChartSettings expected = before;
    expected.scaleMax = 250.0f;
    expected.traces[1].multiplier = 2.5f;
    expected.traces[8].offset = -10.0f;
    expected.traces[4].plot = true;
    expected.traces[3].colour = 0x123456;
    EXPECT_EQ(decodeColorsIni(fileBytes(path)), expected);
    EXPECT_EQ(w->settings(), expected);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], expected);
    EXPECT_FALSE(w->isVisible());

    // Opened again, it shows what it holds, and a second bad entry is told too.
    w->show();
    EXPECT_EQ(w->offsetEdit(2)->text(), "5,0");
    EXPECT_EQ(w->multiplierEdit(1)->text(), "2,5");
    w->offsetEdit(1)->setText("-");
    w->applyButton()->click();
    EXPECT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown.last(), "Ошибка формата данных!");
}

// Values that one decimal would round come back unchanged when the window is applied untouched.
TEST_F(ChartWindow, AnUntouchedApplyChangesNothing) {
    ChartSettings s = defaultChartSettings();
    s.traces[1].multiplier = 0.125f;
    s.traces[2].offset = 1234.5f;
    s.traces[5].offset = -0.3f;
    s.traces[7].multiplier = 1e6f;
    s.scaleMin = -12.5f;
    save(s);
    const QByteArray bytes = fileBytes(path);
    auto w = make();
    w->show();
    EXPECT_EQ(w->multiplierEdit(1)->text(), "0,125");
    EXPECT_EQ(w->offsetEdit(5)->text(), "-0,3");
    EXPECT_EQ(w->scaleMinEdit()->text(), "-12,5");
    w->applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(fileBytes(path), bytes);
}

TEST_F(ChartWindow, AFailedSaveIsToldAndKeepsTheWindowOpen) {
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    path = dir.filePath("plain/Colors.ini"); // a folder that is a file
    auto w = make();
    w->show();
    w->multiplierEdit(1)->setText("4");
    w->applyButton()->click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith("Не удалось сохранить файл")) << dialogs.shown[0].toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->multiplierEdit(1)->text(), "4") << "the entry stays for another try";
    EXPECT_EQ(w->settings(), defaultChartSettings()) << "what is held is what the file holds";
    EXPECT_TRUE(applied.empty());
}

// Every "Старт" takes the file as it is now; an axis whose minimum is not below its maximum is 0..100.
TEST_F(ChartWindow, LoadTakesTheFileAndPutsAReversedAxisRight) {
    auto w = make();
    ChartSettings s = defaultChartSettings();
    s.traces[2].multiplier = 2.0f;
    s.scaleMin = 50.0f;
    s.scaleMax = 10.0f; // accepted by "Применить", put right by the next load
    save(s);
    const ChartSettings loaded = w->loadAndApply();
    EXPECT_EQ(loaded.traces[2].multiplier, 2.0f);
    EXPECT_EQ(loaded.scaleMin, 0.0f);
    EXPECT_EQ(loaded.scaleMax, 100.0f);
    EXPECT_EQ(w->settings(), loaded);
    // Applied while hidden, it stores what was loaded.
    w->apply();
    EXPECT_EQ(decodeColorsIni(fileBytes(path)), loaded);

    s.scaleMin = s.scaleMax = 20.0f;
    save(s);
    EXPECT_EQ(w->loadAndApply().scaleMax, 100.0f);
}

} // namespace
} // namespace vextor::monitor
