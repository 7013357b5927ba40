#pragma once
// The shared progress window of the configuration transfer and the event read: a title line, a
// gauge and a step line, on top of the main window.
// The form TFProgress.
#include "link/TransferProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace vextor {

class ProgressWindow : public QDialog, public TransferProgress {
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void begin(const QString& title, int maximum) override;
    void step(const QString& line) override;
    void setPosition(int position) override;
    void end() override;

    QString titleText() const;
    QString stepText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* title_;
    QProgressBar* gauge_;
    QLabel* line_;
    void centreOnParent();
};

} // namespace vextor
