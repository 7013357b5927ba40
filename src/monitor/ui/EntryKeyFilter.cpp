#include "EntryKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vextor::monitor {

EntryKeyFilter::EntryKeyFilter(QString accepted, bool pointIsComma, QObject* parent)
    : QObject(parent), accepted_(std::move(accepted)), pointIsComma_(pointIsComma) {}

EntryKeyFilter* EntryKeyFilter::signedDecimal(QObject* parent) {
    return new EntryKeyFilter(QStringLiteral("0123456789,-"), true, parent);
}

void EntryKeyFilter::watch(QLineEdit* edit) {
    edit->installEventFilter(this);
}

bool EntryKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (pointIsComma_ && text == QStringLiteral(".")) {
        edit->insert(QStringLiteral(","));
        return true;
    }
    // Anything else that types no accepted character is dropped, keys without text included.
    return !(text.size() == 1 && accepted_.contains(text.front()));
}

} // namespace vextor::monitor
