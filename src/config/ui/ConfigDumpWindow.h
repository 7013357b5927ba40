#pragma once
// The whole configuration image as annotated text, for checking what the program holds field by
// field: address, name and value, under section headings. It shows the window's image as it is
// now and never talks to the controller. The form FShowEEPROM.
#include "config/ConfigImage.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace vextor {

class ConfigDumpWindow : public QWidget {
public:
    explicit ConfigDumpWindow(const ConfigImage& image, QWidget* parent = nullptr);

    // Shows the window in front with a fresh text.
    void open();
    // Builds the text anew from the image; the old text goes first.
    void fill();
    QString text() const;
    QPushButton* readButton() const { return read_; }

private:
    const ConfigImage& image_;
    QPlainTextEdit* text_;
    QPushButton* read_;
};

} // namespace vextor
