#pragma once
// The configuration window: two outer pages, the editor tabs of the first page and the service tabs
// of the second, in their fixed order. Each tab is a view over ConfigImage; the editors fill their
// tabs as they are built.
// The form TFCfg.
#include "config/ConfigObserver.h"

#include <QWidget>
#include <vector>

class QAction;
class QMenuBar;
class QTabWidget;

namespace vextor {

class ConfigWindow : public QWidget, public ConfigObserver {
public:
    explicit ConfigWindow(QWidget* parent = nullptr);

    QTabWidget* outerPages() const { return outer_; }
    QTabWidget* userTabs() const { return user_; }
    QTabWidget* systemTabs() const { return system_; }
    // The tab page with this caption on either page (nullptr if there is none).
    QWidget* tab(const QString& caption) const;

    // Puts an editor into the tab page with this caption; the editor then follows every refresh of
    // the window (observer may be null for an editor that shows no image fields).
    void addEditor(const QString& caption, QWidget* editor, ConfigObserver* observer);

    // The hidden menu: " Прочитать из файла ", " Записать в файл " and "Сравнить с файлом...".
    QMenuBar* menu() const { return menu_; }
    QAction* readFromFileAction() const { return readFromFile_; }
    QAction* writeToFileAction() const { return writeToFile_; }
    QAction* compareWithFileAction() const { return compareWithFile_; }

    // The device service panels work only while the marked controller answers.
    void setServicePanelsEnabled(bool enabled);
    bool servicePanelsEnabled() const { return serviceEnabled_; }

    // ConfigObserver.
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override;
    void showFirstPage() override;
    void setTransferRunning(bool running) override;
    bool transferRunning() const { return transferRunning_; }

    int refreshCount() const { return refreshes_; }

private:
    QTabWidget* outer_;
    QTabWidget* user_;
    QTabWidget* system_;
    QMenuBar* menu_;
    QAction* readFromFile_;
    QAction* writeToFile_;
    QAction* compareWithFile_;
    bool serviceEnabled_ = false;
    int refreshes_ = 0;
    bool transferRunning_ = false;
    std::vector<ConfigObserver*> editors_;
};

} // namespace vextor
