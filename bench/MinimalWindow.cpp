// The yardstick of the desktop program's start: the least a Qt Widgets program does to show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
