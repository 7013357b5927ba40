#pragma once
// The event viewer window: created once at start and refilled with each decoded event file. The
// table of decoded events arrives with the decoder's window; this is its frame.
#include <QWidget>

class QLabel;

namespace vextor {

class TBBFrm : public QWidget {
public:
    explicit TBBFrm(QWidget* parent = nullptr);

    // The file the viewer shows now.
    void showFile(const QString& path);
    QString file() const { return file_; }

private:
    QLabel* count_;
    QWidget* table_;
    QString file_;
};

} // namespace vextor
