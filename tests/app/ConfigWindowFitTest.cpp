// The configuration window in the main window of a 1024 x 700 screen: on every page the fields fit the
// working area's width and "Применить" is in sight, with no scrolling of the window itself.
#include "app/MainWindow.h"
#include "config/ui/ConfigWindow.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace vextor {
namespace {

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

// The part of the button that is cut off by a scrolled view it lies in (empty when all of it shows).
std::string hiddenBy(QWidget* button) {
    for (QWidget* w = button->parentWidget(); w; w = w->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget());
        if (!area || area->viewport() != w)
            continue;
        const QRect r(button->mapTo(w, QPoint(0, 0)), button->size());
        if (!w->rect().contains(r))
            return QStringLiteral("%1 (%2,%3 %4x%5 in %6x%7)")
                .arg(area->metaObject()->className())
                .arg(r.x())
                .arg(r.y())
                .arg(r.width())
                .arg(r.height())
                .arg(w->width())
                .arg(w->height())
                .toStdString();
    }
    return {};
}

TEST(ConfigWindowFit, EveryPageFitsTheWorkingAreaOfA1024x700Screen) {
    QTemporaryDir programDir, settingsDir;
    ScriptedDialogs dialogs;
    MainWindow::Options o;
    o.programDir = programDir.path();
    o.settingsDir = settingsDir.path();
    o.dialogs = &dialogs;
    // The whole of that screen with no window frame, and the default panel sizes.
    FormGeometry screen;
    screen.width = 1024;
    screen.height = 700;
    ASSERT_TRUE(writeFormIni(QDir(settingsDir.path()).filePath(QStringLiteral("Form.ini")), screen));
    MainWindow window(o);
    window.refreshTimer().stop();
    window.show();
    window.resize(1024, 700);
    window.refresh();
    settle();
    ConfigWindow* cfg = window.configWindow();
    ASSERT_EQ(window.shownModeWindow(), cfg);
    auto* scroll = qobject_cast<QAbstractScrollArea*>(cfg->parentWidget()->parentWidget());
    ASSERT_NE(scroll, nullptr);

    struct Case {
        int outerPage;
        QString caption;
        int applyButtons;
    };
    const Case cases[] = {
        {0, "Датчики", 1},      {0, "A In/Out", 2}, {0, "D In/Out", 2},         {0, " СПВ ", 1},
        {0, " СОт ", 1},        {0, " СГВС ", 1},   {0, " Технол. Процесс", 1}, {0, " Рекуперация ", 1},
        {0, "ДУ приводов ", 1}, {0, " Общие ", 1},  {0, "БУ и Ф", 1},           {0, "Календарь", 0},
        {1, "Zarnet", 0},       {1, "ModBus", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        cfg->outerPages()->setCurrentIndex(c.outerPage);
        QWidget* page = cfg->tab(c.caption);
        ASSERT_NE(page, nullptr);
        QTabWidget* tabs = c.outerPage == 0 ? cfg->userTabs() : cfg->systemTabs();
        tabs->setCurrentWidget(page);
        settle();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0)
            << "window needs " << cfg->minimumSizeHint().width() << " px of " << scroll->viewport()->width();
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0)
            << "window needs " << cfg->minimumSizeHint().height() << " px of "
            << scroll->viewport()->height();
        // A page may scroll its content up and down, never sideways (a grid scrolls as it likes).
        for (QScrollArea* area : page->findChildren<QScrollArea*>())
            if (area->isVisibleTo(page)) {
                EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0)
                    << "content needs " << area->widget()->minimumSizeHint().width() << " px of "
                    << area->viewport()->width();
            }
        // Narrow columns wrap the captions, never lay an entry over its caption.
        for (QFormLayout* form : page->findChildren<QFormLayout*>())
            for (int row = 0; row < form->rowCount(); ++row) {
                QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
                QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
                if (label && field && label->widget() && label->widget()->isVisibleTo(page) &&
                    !field->isEmpty()) {
                    EXPECT_FALSE(label->geometry().intersects(field->geometry()))
                        << qobject_cast<QLabel*>(label->widget())->text().toStdString();
                }
            }
        int applies = 0;
        for (QPushButton* b : page->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Применить") && b->isVisibleTo(page)) {
                ++applies;
                EXPECT_EQ(hiddenBy(b), "") << "\"Применить\" cut off by a scrolled view";
            }
        EXPECT_EQ(applies, c.applyButtons);
    }
}

} // namespace
} // namespace vextor
