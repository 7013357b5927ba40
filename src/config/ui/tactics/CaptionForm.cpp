#include "CaptionForm.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace vextor {

namespace {

constexpr int kEntryWidth = 90;
constexpr int kCaptionWidth = 150;

// A caption that asks for its whole text on one line and wraps only when its column is narrower.
class CaptionLabel : public QLabel {
public:
    CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setWordWrap(true);
        setMinimumWidth(kCaptionWidth);
    }
    QSize sizeHint() const override {
        const QSize wrapped = QLabel::sizeHint();
        const int line = fontMetrics().horizontalAdvance(text()) + 2 * margin() + 2 * frameWidth() + 4;
        return {std::max(wrapped.width(), line), wrapped.height()};
    }
};

} // namespace

QLineEdit* numberEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setFixedWidth(kEntryWidth);
    return e;
}

QLabel* captionLabel(const QString& text, QWidget* parent) {
    return new CaptionLabel(text, parent);
}

QFormLayout* captionForm(QWidget* parent) {
    auto* f = new QFormLayout(parent);
    f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    f->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    f->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    return f;
}

QLabel* addCaptioned(QFormLayout* form, const QString& caption, QWidget* field) {
    auto* label = captionLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
    return label;
}

} // namespace vextor
