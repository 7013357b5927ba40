// The month grid and the condition editor as the engineer uses them: clicks on days, the header,
// the kind list, the entries and "Применить".
#include "config/CalendarTab.h"
#include "config/ui/calendar/CalendarPage.h"
#include "config/ui/calendar/MonthGrid.h"
#include "config/ui/conditions/ConditionsPage.h"
#include "config/ui/general/GeneralPage.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace vextor {
namespace {

// A left-button press on a point of the widget, as the month grid takes a click.
void clickAt(QWidget* w, QPoint p) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

class GeneralTabsWidgetTest : public ::testing::Test {
protected:
    GeneralTabsWidgetTest() {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
    }
    ~GeneralTabsWidgetTest() override { setValidationDialogs(nullptr); }

    ConfigImage image;
    ScriptedDialogs dialogs;
};

TEST_F(GeneralTabsWidgetTest, MonthGridStartsOnMondayAndAClickTogglesTheDay) {
    CalendarPage tab(image);
    tab.resize(900, 700);
    buildDefaultCalendar(image, QDate(2015, 6, 1));
    tab.configurationChanged(ViewCalendar);
    MonthGrid* june = tab.month(0);
    EXPECT_EQ(tab.caption(0)->text(), "Июнь 2015");
    EXPECT_EQ(tab.caption(11)->text(), "Май 2016");
    EXPECT_EQ(tab.startDateEdit()->date(), QDate(2015, 6, 1));
    EXPECT_EQ(june->headerText(0), "пн");
    EXPECT_EQ(june->headerText(6), "вс");
    EXPECT_EQ(june->cellDay(0, 1), 1); // 1 June 2015 is a Monday
    EXPECT_EQ(june->size(), QSize(250, 120));
    // Nothing is red before a read, a file or a start date.
    EXPECT_FALSE(june->dayIsRed(2015, 6, 6));
    tab.configurationChanged(ViewCalendar | ViewCalendarLoaded);
    EXPECT_TRUE(june->dayIsRed(2015, 6, 6));

    const auto before = image.Calendars;
    const QPoint day1 = june->cellRect(0, 1).center();
    clickAt(june, day1);
    EXPECT_EQ(image.Calendars[1][0], before[1][0] | 0x01);
    EXPECT_TRUE(june->dayIsRed(2015, 6, 1));
    EXPECT_EQ(june->currentCell(), QPoint(0, 0));
    clickAt(june, day1);
    EXPECT_EQ(image.Calendars, before);
    // Empty cells and the header change nothing.
    clickAt(june, june->cellRect(6, 6).center());
    clickAt(june, june->cellRect(3, 0).center());
    EXPECT_EQ(image.Calendars, before);
    // While a transfer runs a click changes nothing.
    tab.setTransferRunning(true);
    clickAt(june, day1);
    EXPECT_EQ(image.Calendars, before);
    EXPECT_FALSE(tab.pcDateButton()->isEnabled());
}

TEST_F(GeneralTabsWidgetTest, ConditionEditorFollowsTheKindAndApplies) {
    ConditionsPage tab(image, dialogs);
    tab.resize(1200, 700);
    tab.show();
    tab.selectFirstRows();
    EXPECT_EQ(tab.cell(0, 1), "Нет");
    tab.grid()->setCurrentCell(2, 0);
    EXPECT_EQ(tab.numberEdit()->text(), "3");

    tab.kindList()->setCurrentIndex(9); // "задержка по Включению"
    EXPECT_EQ(tab.operand1Group()->title(), "Задержка");
    EXPECT_EQ(tab.operand2Group()->title(), "Длительность");
    EXPECT_TRUE(tab.time1Edit()->isVisible());
    EXPECT_FALSE(tab.adr1Edit()->isVisible());
    EXPECT_FALSE(tab.outputTypeButton(kOutputAnalog)->isVisible());
    tab.time1Edit()->setText("01:30:15");
    tab.time2Edit()->setText("00:10:00");
    tab.outputTypeButton(kOutputDiscrete)->click();
    tab.outAddressEdit()->setText("0");
    tab.outNumberEdit()->setText("5");
    tab.ifValueEdit()->setText("1");
    tab.elseValueEdit()->setText("0");
    tab.applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(tab.cell(2, 5), "self / D5");
    EXPECT_EQ(tab.cell(2, 11), "01:30:14");

    tab.kindList()->setCurrentIndex(15);
    EXPECT_TRUE(tab.set1Edit()->isVisible());
    tab.dependencyEdit()->setText("");
    tab.applyButton()->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Должна быть зависимость!"});
    EXPECT_EQ(image.Conditions[2].Kind, 9);

    tab.setTransferRunning(true);
    EXPECT_FALSE(tab.applyButton()->isEnabled());
    EXPECT_FALSE(tab.clearButton()->isEnabled());
    tab.setTransferRunning(false);
    tab.clearButton()->click();
    EXPECT_EQ(tab.cell(2, 1), "Нет");
    EXPECT_EQ(tab.numberEdit()->text(), "1");
}

TEST_F(GeneralTabsWidgetTest, GeneralPageSlavesAndApply) {
    GeneralPage tab(image);
    tab.show();
    EXPECT_EQ(tab.summerDateEdit()->date(), QDate(2015, 5, 3));
    EXPECT_FALSE(tab.slaveAddressEdit(0)->isEnabled());
    tab.addButton(6)->click(); // Toshiba
    EXPECT_TRUE(tab.slaveBaudList(0)->isEnabled());
    EXPECT_FALSE(tab.addButton(0)->isEnabled());
    tab.slaveBaudList(0)->setCurrentIndex(0);
    EXPECT_EQ(tab.slaveBaudList(7)->currentIndex(), 0);
    tab.slaveAddressEdit(0)->setText("5");
    tab.dac1RangeBox()->setChecked(true);
    image.Options = 0x0400;
    tab.applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(image.Slaves[0], (SlaveRecord{5, 67, 0x00}));
    EXPECT_EQ(image.Options, 0x0401);

    // An unprogrammed controller's date shows empty and stays as it was through an apply.
    image.WinterBegin = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    tab.configurationChanged(ViewGeneral);
    EXPECT_EQ(tab.findChildren<QDateEdit*>()[1]->text().trimmed(), "");
    tab.applyButton()->click();
    EXPECT_EQ(image.WinterBegin.Day, 0xFF);
    EXPECT_EQ(image.WinterBegin.Month, 0xFF);

    tab.setTransferRunning(true);
    EXPECT_FALSE(tab.applyButton()->isEnabled());
}

// The caption over the slave rows stays on one line with each part over its own column, whether the
// slave list stands beside the other groups (a wide window) or under them.
TEST_F(GeneralTabsWidgetTest, SlaveHeaderIsOneLineOverItsColumns) {
    GeneralPage tab(image);
    const struct {
        QString text;
        QWidget* entry;
    } columns[] = {{QStringLiteral("Адрес (1...127)"), tab.slaveAddressEdit(0)},
                   {QStringLiteral("Тип  прибора"), tab.slaveTypeList(0)},
                   {QStringLiteral("Чётность/Скорость"), tab.slaveFrameList(0)}};
    for (const QSize size : {QSize(1800, 1000), QSize(760, 600)}) {
        tab.resize(size);
        tab.show();
        QCoreApplication::processEvents();
        for (const auto& column : columns) {
            SCOPED_TRACE(column.text.toStdString() + " at width " + std::to_string(size.width()));
            QLabel* caption = nullptr;
            for (QLabel* l : tab.findChildren<QLabel*>())
                if (l->text() == column.text)
                    caption = l;
            ASSERT_NE(caption, nullptr);
            EXPECT_LT(caption->height(), 2 * caption->fontMetrics().lineSpacing());
            EXPECT_GE(caption->width(), caption->fontMetrics().horizontalAdvance(column.text));
            const QWidget* box = column.entry->parentWidget();
            EXPECT_EQ(caption->mapTo(box, QPoint(0, 0)).x(), column.entry->x());
            EXPECT_LT(caption->mapTo(box, QPoint(0, 0)).y(), column.entry->y());
        }
    }
}

} // namespace
} // namespace vextor
