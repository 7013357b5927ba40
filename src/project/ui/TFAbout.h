#pragma once
// The about box: a picture, the version and the program's name; it closes itself after the start.
#include <QDialog>

namespace vextor {

class TFAbout : public QDialog {
public:
    explicit TFAbout(QWidget* parent = nullptr);
    void showCentred();
};

} // namespace vextor
