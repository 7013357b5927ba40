#pragma once
// "Обмен": the frames the line sends and receives, newest at the bottom, as the line tells them.
// The table is a view over a bounded ring (FrameTableModel); "Пауза" stops taking new frames in,
// "Очистить" empties the table, "Сохранить..." writes the frames as the lines of vextorctl --trace.
#include "link/FrameTableModel.h"
#include "link/UserDialogs.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QTableView;

namespace vextor {

class TrafficWindow : public QWidget {
public:
    explicit TrafficWindow(UserDialogs& dialogs, QWidget* parent = nullptr,
                           std::size_t capacity = FrameTableModel::kDefaultCapacity);

    // A batch of frames from the line; while paused they are let go.
    void addFrames(std::vector<LinkFrame> frames);
    bool paused() const;
    void setPaused(bool paused);
    void clear();
    // Asks where, then writes the lines; a failed save says why and leaves an older file as it was.
    void save();

    FrameTableModel& model() { return model_; }
    QTableView* table() const { return table_; }
    QPushButton* pauseButton() const { return pause_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* saveButton() const { return save_; }

private:
    UserDialogs& dialogs_;
    FrameTableModel model_;
    QTableView* table_;
    QPushButton* pause_;
    QPushButton* clear_;
    QPushButton* save_;
    QString lastDir_;
};

} // namespace vextor
