#pragma once
// The event viewer window: created once at start and refilled with each decoded event file.
// The form TBBFrm.
#include <QWidget>
#include <optional>

namespace vextor {

namespace events {
class EventViewerPane;
}

class EventViewer : public QWidget {
public:
    explicit EventViewer(QWidget* parent = nullptr);

    // Decodes the file into the table. The file layer's reason when it cannot be read; the viewer
    // then keeps what it showed.
    std::optional<QString> showFile(const QString& path);
    QString file() const { return file_; }
    events::EventViewerPane* pane() const { return pane_; }

private:
    events::EventViewerPane* pane_;
    QString file_;
};

} // namespace vextor
