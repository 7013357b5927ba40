#include "EventViewer.h"

#include "EventViewerPane.h"
#include "texts.h"

#include <QVBoxLayout>

namespace vextor {

namespace t = viewer_texts;

EventViewer::EventViewer(QWidget* parent) : QWidget(parent), pane_(new events::EventViewerPane(this)) {
    setWindowTitle(t::kCaption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane_);
}

std::optional<QString> EventViewer::showFile(const QString& path) {
    auto error = pane_->decode(path);
    if (!error)
        file_ = path;
    return error;
}

} // namespace vextor
