// The yardstick of the desktop program's start: the least a Qt Widgets program does to show a window.
//   vextor-minimal-window          an empty window
//   vextor-minimal-window --text   the same window with one line of text in it: a program that shows
//                                  text loads the font database and measures the text before its
//                                  window is mapped, which the empty window never does
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Конфигурация прибора"), &window));
    }
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
