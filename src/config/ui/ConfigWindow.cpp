#include "ConfigWindow.h"

#include "PageStrip.h"
#include "texts.h"

#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vextor {

namespace t = cfg_texts;

ConfigWindow::ConfigWindow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menu_ = new QMenuBar(this);
    readFromFile_ = menu_->addAction(t::kMenuReadFromFile);
    writeToFile_ = menu_->addAction(t::kMenuWriteToFile);
    compareWithFile_ = menu_->addAction(t::kMenuCompareWithFile);
    readFromFile_->setVisible(false);
    writeToFile_->setVisible(false);
    compareWithFile_->setVisible(false);
    menu_->hide();
    layout->setMenuBar(menu_);
    outer_ = new QTabWidget(this);
    layout->addWidget(outer_);

    user_ = new QTabWidget;
    for (const QString& caption : {t::kSensors, t::kAnalogInOut, t::kDiscreteInOut, t::kSupplyVentilation,
                                   t::kHeating, t::kHotWater, t::kProcess, t::kRecuperation, t::kDriveControl,
                                   t::kGeneral, t::kConditions, t::kSlaves, t::kCalendar}) {
        auto* page = new QWidget;
        page->setObjectName(caption);
        user_->addTab(page, caption);
    }
    // Its controls are reached by no command.
    user_->setTabVisible(user_->indexOf(tab(t::kSlaves)), false);
    auto* userPage = new QWidget;
    auto* userLayout = new QVBoxLayout(userPage);
    userLayout->setContentsMargins(2, 4, 2, 2);
    userLayout->setSpacing(0);
    userLayout->addWidget(new PageStrip(user_, userPage));
    userLayout->addWidget(user_, 1);
    outer_->addTab(userPage, t::kUserPage);

    system_ = new QTabWidget;
    for (const QString& caption : {t::kZarnetTab, t::kModbusTab}) {
        auto* page = new QWidget;
        page->setObjectName(caption);
        system_->addTab(page, caption);
    }
    outer_->addTab(system_, t::kSystemPage);
    setServicePanelsEnabled(false);
}

QWidget* ConfigWindow::tab(const QString& caption) const {
    for (QTabWidget* w : {user_, system_})
        for (int i = 0; i < w->count(); ++i)
            if (w->tabText(i) == caption)
                return w->widget(i);
    return nullptr;
}

void ConfigWindow::setServicePanelsEnabled(bool enabled) {
    serviceEnabled_ = enabled;
    for (int i = 0; i < system_->count(); ++i)
        system_->widget(i)->setEnabled(enabled);
}

void ConfigWindow::addEditor(const QString& caption, QWidget* editor, ConfigObserver* observer) {
    QWidget* page = tab(caption);
    if (!page)
        return;
    QLayout* layout = page->layout();
    if (!layout) {
        layout = new QVBoxLayout(page);
        // The editors keep their own margins; the window's room goes to their fields.
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(editor);
    if (observer) {
        editors_.push_back(observer);
        observer->setTransferRunning(transferRunning_);
    }
}

void ConfigWindow::configurationChanged(ConfigViews views) {
    ++refreshes_;
    for (ConfigObserver* e : editors_)
        e->configurationChanged(views);
}

void ConfigWindow::selectFirstRows() {
    for (ConfigObserver* e : editors_)
        e->selectFirstRows();
}

void ConfigWindow::setTransferRunning(bool running) {
    transferRunning_ = running;
    for (ConfigObserver* e : editors_)
        e->setTransferRunning(running);
}

void ConfigWindow::showFirstPage() {
    outer_->setCurrentIndex(0);
}

} // namespace vextor
