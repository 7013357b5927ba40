#pragma once

#include <QFrame>
#include <QHash>
#include <QPixmap>
#include <QString>

namespace vextor {

// One sunken panel of the main window's status strip. The running connection text changes ten
// times a second for as long as the link is up, so the panel is built to make that cheap: a new
// text repaints the panel's own rectangle at once (no label re-measuring, no layout request, no
// second pass of the event loop), the panel is opaque so nothing behind it is painted again, and
// each text is drawn once into a picture of the whole panel (background, frame and text) that is
// kept, since the running text cycles through the same few positions.
class StatusPanel : public QFrame {
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    // Width of the shown text in the panel's font; measured once per text and font, since
    // measuring shapes the whole string.
    int textWidth();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const QPixmap& picture();

    QString text_;
    QHash<QString, QPixmap> pictures_;
    QHash<QString, int> widths_;
};

} // namespace vextor
