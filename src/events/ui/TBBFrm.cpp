#include "TBBFrm.h"

#include "texts.h"

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace vextor {

namespace t = viewer_texts;

namespace {
constexpr qint64 kRecordSize = 9;
} // namespace

TBBFrm::TBBFrm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(t::kCaption);
    auto* layout = new QVBoxLayout(this);
    count_ = new QLabel(t::kRecordCount + QLatin1Char('0'), this);
    table_ = new QWidget(this);
    layout->addWidget(count_);
    layout->addWidget(table_, 1);
}

void TBBFrm::showFile(const QString& path) {
    file_ = path;
    const QFileInfo info(path);
    count_->setText(t::kRecordCount + QString::number(info.isFile() ? info.size() / kRecordSize : 0));
}

} // namespace vextor
