// The service menus' panels offscreen against the virtual controller: where they open, what their
// buttons send, and what they refuse.
#include "monitor/ui/ServicePanels.h"
#include "monitor/ServiceMenus.h"
#include "sim/SimHarness.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <cstring>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

using sim::testing::SimHarness;

// Runs every operation at once on the virtual controller's link and counts them.
struct CountingAccess : ControllerAccess {
    explicit CountingAccess(ZarnetLink& l) : link(l) {}
    void run(std::function<void(ZarnetLink&)> op, std::function<void(bool)> done) override {
        ++runs;
        op(link);
        if (done)
            done(true);
    }
    ZarnetLink& link;
    int runs = 0;
};

QPushButton* button(QWidget* panel, const QString& text) {
    for (QPushButton* b : panel->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QLineEdit* field(QWidget* panel, const char* name) {
    auto* edit = panel->findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit;
}

struct Panels : ::testing::Test {
    vextor::sim::testing::SimHarness h;
    ScriptedDialogs dialogs;
    CountingAccess access{h.link};
    ServiceMenus menus{dialogs, access};
    QWidget host;
    ServicePanels panels{menus, &host};

    Panels() { host.resize(1000, 700); }
    QGroupBox* open(const QString& item) {
        QAction* a = panels.item(item);
        EXPECT_NE(a, nullptr) << item.toStdString();
        if (a)
            a->trigger();
        return panels.openPanel();
    }
    float memoryFloat(uint32_t address) {
        float v = 0;
        std::memcpy(&v, h.controller().memory().data() + address, 4);
        return v;
    }
};

TEST_F(Panels, MenusAndWhereThePanelsOpen) {
    const QList<QAction*> bar = panels.menuActions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0]->text(), "Управление выходом");
    EXPECT_EQ(bar[1]->text(), "Запись в ОЗУ");
    EXPECT_EQ(bar[2]->text(), " Звук On/Off ");
    QStringList items;
    for (QAction* a : panels.outputMenu()->actions())
        items << a->text() + (a->isEnabled() ? "" : " (off)");
    EXPECT_EQ(items, (QStringList{"Дискретным...", "Аналоговым...", "Частотным.... (off)",
                                  "Чтение состояния (off)", "Modbus R/W (off)"}));

    struct Case {
        QString item, caption, label;
    };
    for (const Case& c : {Case{"Дискретным...", "Установка состояния дискретного выхода", "Номер"},
                          Case{"Аналоговым...", "Установка напряжения на ЦАПе", "Напряжение, В"},
                          Case{"Температура для ГВС", "", "Температура для ГВС"},
                          Case{"коэф. Проп.  для ГВС", "", "коэф. Проп.  для ГВС"},
                          Case{"Уставка для условия", "Изменение уставки в блоке условий",
                               "Номер условия     Значение уставки"}}) {
        SCOPED_TRACE(c.item.toStdString());
        QGroupBox* panel = open(c.item);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->parentWidget(), &host);
        EXPECT_EQ(panel->pos(), QPoint(276, 40));
        EXPECT_EQ(panel->title(), c.caption);
        bool labelled = false;
        for (QLabel* l : panel->findChildren<QLabel*>())
            labelled = labelled || l->text() == c.label;
        EXPECT_TRUE(labelled);
        int open = 0;
        for (QGroupBox* g : host.findChildren<QGroupBox*>())
            open += g->isHidden() ? 0 : 1;
        EXPECT_EQ(open, 1) << "one panel at a time";
    }

    // "Старт" turns the menus off, and a panel left open with them.
    QGroupBox* panel = panels.openPanel();
    panels.setEnabled(false);
    for (QAction* a : bar)
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(panel->isEnabled());
    panels.setEnabled(true);
    EXPECT_TRUE(bar[0]->isEnabled());
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_FALSE(panels.item("Частотным....")->isEnabled());
    button(panel, "Отмена")->click();
    EXPECT_EQ(panels.openPanel(), nullptr);
}

TEST_F(Panels, OutputsOfTheController) {
    QGroupBox* panel = open("Дискретным...");
    ASSERT_NE(panel, nullptr);
    field(panel, "address")->setText("0");
    field(panel, "number")->setText("3");
    panel->findChild<QCheckBox*>()->setChecked(true);
    button(panel, "Выполнить")->click();
    EXPECT_EQ(access.runs, 1);
    EXPECT_EQ(h.lastRequest.size() > 3 ? h.lastRequest[3] : 0, 0x15) << "SetOutputState";
    EXPECT_TRUE(h.controller().channels().discreteOutput(3));
    EXPECT_EQ(panels.openPanel(), nullptr) << "closed after Выполнить";

    panel = open("Аналоговым...");
    ASSERT_NE(panel, nullptr);
    field(panel, "address")->setText("0");
    field(panel, "number")->setText("2");
    field(panel, "volts")->setText("abc");
    button(panel, "Выполнить")->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Ошибка формата данных!"});
    EXPECT_EQ(access.runs, 1) << "nothing sent";
    EXPECT_EQ(panels.openPanel(), panel) << "stays open";
    field(panel, "volts")->setText("7,5");
    button(panel, "Выполнить")->click();
    EXPECT_EQ(h.controller().channels().analogOutput(2), 7.5f);
    EXPECT_EQ(panels.openPanel(), nullptr);

    panel = open("Дискретным...");
    button(panel, "Escape")->click();
    EXPECT_EQ(panels.openPanel(), nullptr);
    EXPECT_EQ(access.runs, 2);
}

TEST_F(Panels, RunningCopyParametersAndConditionSetPoints) {
    QGroupBox* panel = open("Температура для ГВС");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(field(panel, "value")->text().isEmpty());
    field(panel, "value")->setText("55,5");
    button(panel, "Запись")->click();
    EXPECT_EQ(memoryFloat(65890), 55.5f);
    EXPECT_EQ(panels.openPanel(), nullptr);
    panel = open("коэф. Проп.  для ГВС");
    EXPECT_TRUE(field(panel, "value")->text().isEmpty()) << "every opening starts empty";
    field(panel, "value")->setText("1,25");
    button(panel, "Запись")->click();
    EXPECT_EQ(memoryFloat(66102), 1.25f);
    EXPECT_EQ(dialogs.shown, (QStringList{"Ok!", "Ok!"}));

    dialogs.shown.clear();
    const int runs = access.runs;
    panel = open("Уставка для условия");
    ASSERT_NE(panel, nullptr);
    QLineEdit* number = field(panel, "number");
    QLineEdit* value = field(panel, "value");
    for (const char* refused : {"33", "0"}) {
        number->setText(refused);
        value->setText("5");
        button(panel, "Запись")->click();
        button(panel, "Чтение")->click();
    }
    EXPECT_EQ(dialogs.shown, QStringList(4, "Недопустимый номер условия!"));
    EXPECT_EQ(access.runs, runs) << "nothing sent";

    dialogs.shown.clear();
    number->setText("32");
    value->setText("-4,5");
    button(panel, "Запись")->click();
    value->clear();
    button(panel, "Чтение")->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Ok!"});
    EXPECT_EQ(memoryFloat(66664), -4.5f);
    EXPECT_EQ(value->text(), "-4,500");
    EXPECT_EQ(panels.openPanel(), panel) << "the set point panel stays open";
}

TEST_F(Panels, SoundTurnsTheHeldByteOver) {
    uint8_t held = 0;
    panels.heldSound = [&] { return held; };
    panels.soundWritten = [&](uint8_t b) { held = b; };
    panels.soundAction()->trigger();
    EXPECT_EQ(h.controller().memory()[65979], 1);
    panels.soundAction()->trigger();
    EXPECT_EQ(h.controller().memory()[65979], 0);
    EXPECT_EQ(held, 0);
    EXPECT_EQ(dialogs.shown, (QStringList{"Ok!", "Ok!"}));
}

} // namespace
} // namespace vextor::monitor
