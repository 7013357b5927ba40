// vextor-configurator: the desktop program. "--demo" puts virtual controllers on a pseudo-terminal
// inside this process and opens a project of them, so the whole program can be tried without an
// adapter.
#include "DemoProject.h"
#include "app/AppIcon.h"
#include "app/MainWindow.h"
#include "app/Translations.h"
#include "app/texts.h"
#include "project/ui/ProjectTreeView.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    // On X11 each repaint through a shared-memory image waits for the display to answer before the
    // next one. The window repaints small areas (the running connection text, ten times a second),
    // which cost less sent as plain requests; a user's own setting of the variable is kept.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    vextor::useRussianLocaleWhereTheSystemHasNone();
    // The menu stays in the window, where its layout is made to fit a 1024 x 700 screen; a desktop's
    // global menu would take it away, and asking the desktop for one is a round trip at every start.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(vextor::main_texts::kAppTitle);
    // Numbers are shown and read with a decimal comma throughout.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    vextor::installQtTranslations(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("vextor-configurator"));
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    const bool demoMode = QApplication::arguments().contains(QStringLiteral("--demo"));
    std::unique_ptr<vextor::DemoProject> demo;
    if (demoMode) {
        QString error;
        demo = vextor::DemoProject::start(error);
        if (!demo) {
            QApplication::setWindowIcon(vextor::appIcon());
            QMessageBox::critical(nullptr, vextor::main_texts::kAppTitle,
                                  vextor::app_texts::kDemoFailed + error);
            return 1;
        }
    }

    vextor::MainWindow::Options options;
    options.programDir = QApplication::applicationDirPath();
    vextor::MainWindow* window = nullptr;
    if (demo) {
        options.afterFirstTick = [&window, &demo] {
            vextor::Project& project = window->project();
            if (!project.openProjectFile(demo->projectPath()))
                return;
            // The master is marked from the start: the task loop identifies it at once.
            project.MarkCode = vextor::node_code::kMasterDevice;
            project.repaintTree();
            project.ApplyMarkedLink();
            window->tree()->sync();
        };
    }
    vextor::MainWindow main(options);
    window = &main;
    main.show();
    // Drawing the icon in its seven sizes and handing them to the display is a noticeable part of the
    // start: the icon follows once the window is on its way, and from then on serves every window.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(vextor::appIcon()); });
    return QApplication::exec();
}
