// The "Датчики", "A In/Out" and "D In/Out" tabs as the engineer uses them: clicks on the grids,
// the kind choice, the entries and the buttons.
#include "config/TabTexts.h"
#include "config/ui/assignment/AssignmentPage.h"
#include "config/ui/sensors/SensorsPage.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace vextor {
namespace {

class ConfigTabsWidgetTest : public ::testing::Test {
protected:
    ConfigTabsWidgetTest() {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
    }
    ~ConfigTabsWidgetTest() override { setValidationDialogs(nullptr); }

    ConfigImage image;
    ScriptedDialogs dialogs;
};

TEST_F(ConfigTabsWidgetTest, SensorsTabFollowsTheImageAndAppliesEdits) {
    SensorsPage tab(image, dialogs);
    EXPECT_EQ(tab.cell(0, 1), "Нет датчика");
    EXPECT_EQ(tab.numberEdit()->text(), "1");
    EXPECT_EQ(tab.kindChoice()->currentText(), "Нет датчика");
    EXPECT_FALSE(tab.applyButton()->isEnabled());
    EXPECT_EQ(tab.r0Edit()->text(), "1000,0");
    EXPECT_EQ(tab.shuntEdit()->text(), "200,0");

    // A read brings a current input on channel 2.
    image.ArrSensors[1] = {4, 7, -20.0f, 120.0f, 150.0f, {}};
    tab.configurationChanged(ViewSensors);
    tab.selectFirstRows();
    EXPECT_EQ(tab.cell(1, 1), "Ток 4-20мА");
    EXPECT_EQ(tab.cell(1, 2), "Rшунт = 150,0;  Тмин = -20,0;  Тмакс = 120,0");
    EXPECT_TRUE(tab.applyButton()->isEnabled());

    tab.grid()->setCurrentCell(1, 1);
    EXPECT_EQ(tab.numberEdit()->text(), "2");
    EXPECT_EQ(tab.kindChoice()->currentIndex(), 4);
    EXPECT_FALSE(tab.rangeGroup()->isHidden());
    EXPECT_TRUE(tab.resistanceGroup()->isHidden());
    EXPECT_EQ(tab.rangeTitleGroup()->title(), " Ток ");
    EXPECT_FALSE(tab.shuntEdit()->isHidden());
    EXPECT_EQ(tab.minEdit()->text(), "-20,00");

    // The engineer picks a three-wire thermometer for channel 2.
    tab.kindChoice()->setCurrentIndex(0);
    EXPECT_FALSE(tab.resistanceGroup()->isHidden());
    EXPECT_TRUE(tab.rangeGroup()->isHidden());
    EXPECT_FALSE(tab.materialList()->isHidden());
    tab.r0Edit()->setText("100");
    tab.wiringGroup()->button(1)->click();
    tab.materialList()->setCurrentRow(3);
    tab.applyButton()->click();
    EXPECT_EQ(image.ArrSensors[1].KindSensor, 0);
    EXPECT_EQ(image.ArrSensors[1].TypeClb, 1);
    EXPECT_EQ(image.ArrSensors[1].Byte[1], 3);
    EXPECT_EQ(tab.cell(1, 1), "ТС  Pt 1.391   (I)");
    EXPECT_EQ(tab.cell(2, 1), "ТС  Pt 1.391   (U)");
    EXPECT_EQ(image.ArrSensors[2].KindSensor, kNoSensor);

    // A refused entry: its message, its focus, nothing else checked.
    tab.grid()->setCurrentCell(3, 1);
    tab.kindChoice()->setCurrentIndex(2);
    tab.minEdit()->setText("200000");
    tab.maxEdit()->setText("x");
    tab.applyButton()->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 2e+05 вне допустимого диапазона!"});
    EXPECT_EQ(image.ArrSensors[3].Rbegin, 0.0f);
}

// "Применить" keeps its place whichever kind is chosen, and stays off while a transfer runs even
// when another channel is picked meanwhile.
TEST_F(ConfigTabsWidgetTest, SensorsApplyKeepsItsPlaceAndWaitsForTheTransfer) {
    SensorsPage tab(image, dialogs);
    tab.selectFirstRows();
    tab.show();
    QList<int> tops;
    for (int item = 0; item < tab.kindChoice()->count(); ++item) {
        tab.kindChoice()->setCurrentIndex(item);
        QCoreApplication::processEvents();
        tops << tab.applyButton()->mapTo(&tab, QPoint(0, 0)).y();
    }
    EXPECT_EQ(tops.count(tops.front()), tops.size()) << tops.size();

    tab.setTransferRunning(true);
    EXPECT_FALSE(tab.applyButton()->isEnabled());
    tab.grid()->setCurrentCell(2, 1);
    EXPECT_FALSE(tab.applyButton()->isEnabled());
    tab.setTransferRunning(false);
    EXPECT_TRUE(tab.applyButton()->isEnabled());
}

TEST_F(ConfigTabsWidgetTest, AssignmentPagesShowTheirTablesAndRefuseBadEntries) {
    AssignmentPage analog(image, AssignmentPage::Kind::Analog);
    AssignmentPage discrete(image, AssignmentPage::Kind::Discrete);
    EXPECT_EQ(analog.inputs()->title(), " Входные аналоговые параметры ");
    EXPECT_EQ(analog.outputs()->title(), " Управляемые аналоговые выходы ");
    EXPECT_EQ(discrete.outputs()->title(), " Управляемые дикретные выходы ");
    EXPECT_EQ(analog.outputs()->grid()->rowCount(), 8);
    EXPECT_EQ(discrete.inputs()->grid()->rowCount(), 32);
    EXPECT_EQ(analog.outputs()->grid()->horizontalHeaderItem(3)->text(), " № вых");
    EXPECT_EQ(analog.outputs()->clearButton()->text(), "255   0");

    image.AdrNumAIn[0] = {1, 4};
    image.AdrNumDut[31] = {17, 2};
    analog.configurationChanged(kAllConfigViews);
    discrete.configurationChanged(kAllConfigViews);
    analog.selectFirstRows();
    EXPECT_EQ(analog.inputs()->cell(0, 1), " СПВ  Т канала");
    EXPECT_EQ(analog.inputs()->cell(0, 2), "1");
    EXPECT_EQ(analog.inputs()->cell(0, 3), "4");
    EXPECT_EQ(analog.inputs()->addressEdit()->text(), "1");
    EXPECT_EQ(discrete.outputs()->cell(31, 2), "17");
    EXPECT_EQ(analog.outputs()->cell(6, 1), "");
    EXPECT_EQ(analog.outputs()->cell(6, 2), "");

    AssignmentTableBox* in = analog.inputs();
    in->grid()->setCurrentCell(4, 1);
    EXPECT_EQ(in->rowEdit()->text(), "5");
    in->addressEdit()->setText("300");
    in->numberEdit()->setText("7");
    in->applyButton()->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 300 вне допустимого диапазона!"});
    EXPECT_EQ(image.AdrNumAIn[4], kUnassigned);

    in->addressEdit()->setText("3");
    in->applyButton()->click();
    EXPECT_EQ(image.AdrNumAIn[4], (AdrNum{3, 7}));
    EXPECT_EQ(in->cell(4, 2), "3");

    in->clearButton()->click();
    EXPECT_EQ(image.AdrNumAIn[4], kUnassigned);
    EXPECT_EQ(in->cell(4, 2), "255");
    EXPECT_EQ(in->cell(0, 3), "0");
}

// Discrete names that differ only at their end are shown whole, at the page's default size, with
// the whole text also as a tooltip.
TEST_F(ConfigTabsWidgetTest, DiscreteNamesDifferingAtTheirEndAreShownWhole) {
    AssignmentPage discrete(image, AssignmentPage::Kind::Discrete);
    discrete.configurationChanged(kAllConfigViews);
    discrete.show();
    QCoreApplication::processEvents();
    for (AssignmentTableBox* table : {discrete.inputs(), discrete.outputs()}) {
        QTableWidget* grid = table->grid();
        const QFontMetrics metrics(grid->font());
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QString name = table->cell(r, 1);
            EXPECT_LE(metrics.horizontalAdvance(name), grid->columnWidth(1)) << name.toStdString();
            EXPECT_EQ(grid->item(r, 1)->toolTip(), name);
        }
        // The page gives the grid at least the room its columns need.
        EXPECT_GE(grid->width(), grid->minimumWidth());
    }
    EXPECT_NE(discrete.inputs()->cell(6, 1), discrete.inputs()->cell(7, 1));
}

} // namespace
} // namespace vextor
