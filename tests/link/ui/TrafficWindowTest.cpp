// The traffic window offscreen: what its rows say, and its pause, clear and save.
#include "link/ui/TrafficWindow.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor;

namespace {

LinkFrame frame(int64_t ms, FrameDirection direction, QByteArray bytes,
                FrameVerdict verdict = FrameVerdict::None, bool scrambled = false) {
    LinkFrame f;
    f.ms = ms;
    f.direction = direction;
    f.verdict = verdict;
    f.scrambled = scrambled;
    f.command = "ReadMemory";
    f.code = 0x43;
    f.bytes = std::move(bytes);
    return f;
}

std::vector<LinkFrame> exchange(int64_t ms) {
    return {
        frame(ms, FrameDirection::Sent, QByteArray::fromHex("0108434303000008")),
        frame(ms + 15, FrameDirection::Received, QByteArray::fromHex("81044400"), FrameVerdict::Good, true)};
}

QString cell(const TrafficWindow& w, int row, int column) {
    auto& model = const_cast<TrafficWindow&>(w).model();
    return model.data(model.index(row, column)).toString();
}

} // namespace

TEST(TrafficWindow, RowsPauseClearAndSave) {
    ScriptedDialogs dialogs;
    TrafficWindow window(dialogs);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Обмен");

    window.addFrames(exchange(100));
    ASSERT_EQ(window.model().rowCount(), 2);
    EXPECT_EQ(cell(window, 0, 0), "100");
    EXPECT_EQ(cell(window, 0, 1), "передача");
    EXPECT_EQ(cell(window, 0, 2), "01 08 43 43 03 00 00 08");
    EXPECT_EQ(cell(window, 0, 3), "ReadMemory");
    EXPECT_EQ(cell(window, 0, 4), "");
    EXPECT_EQ(cell(window, 1, 1), "приём");
    EXPECT_EQ(cell(window, 1, 4), "норма, зашифрован");

    // Paused, the line's frames are let go; after the pause they come in again.
    window.pauseButton()->click();
    EXPECT_TRUE(window.paused());
    window.addFrames(exchange(200));
    EXPECT_EQ(window.model().rowCount(), 2);
    window.pauseButton()->click();
    window.addFrames(exchange(300));
    ASSERT_EQ(window.model().rowCount(), 4);
    EXPECT_EQ(cell(window, 2, 0), "300");

    QTemporaryDir dir;
    const QString path = dir.filePath("traffic.txt");
    dialogs.saveFiles.push_back(path);
    window.saveButton()->click();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "100 tx 01 08 43 43 03 00 00 08 | ReadMemory\n"
                               "115 rx 81 04 44 00 | ReadMemory | good, scrambled\n"
                               "300 tx 01 08 43 43 03 00 00 08 | ReadMemory\n"
                               "315 rx 81 04 44 00 | ReadMemory | good, scrambled\n");
    EXPECT_EQ(dialogs.shown, QStringList{"Сохранить обмен"}); // the dialog's caption, and no message

    // A place that cannot be written is told, naming it.
    const QString nowhere = dir.filePath("missing/traffic.txt");
    dialogs.saveFiles.push_back(nowhere);
    window.saveButton()->click();
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_TRUE(dialogs.shown[2].startsWith("Обмен не сохранён в " + nowhere + ": "))
        << dialogs.shown[2].toStdString();

    window.clearButton()->click();
    EXPECT_EQ(window.model().rowCount(), 0);
    window.addFrames(exchange(400));
    EXPECT_EQ(cell(window, 0, 0), "400");
}
