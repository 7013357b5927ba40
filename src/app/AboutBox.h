#pragma once
// The about box: a picture, the version and the program's name; it closes itself after the start.
// The form TFAbout.
#include <QDialog>

namespace vextor {

class AboutBox : public QDialog {
public:
    explicit AboutBox(QWidget* parent = nullptr);
    void showCentred();
};

} // namespace vextor
