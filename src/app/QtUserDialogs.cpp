#include "QtUserDialogs.h"

#include "texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace vextor {

namespace t = main_texts;

namespace {

QString captionOr(const QString& caption) {
    return caption.isEmpty() ? t::kAppTitle : caption;
}

// The second box of the configuration update question is the one that warns of losing data.
QMessageBox::Icon iconFor(const QString& text) {
    return text.startsWith(QStringLiteral("ВНИМАНИЕ")) ? QMessageBox::Warning : QMessageBox::Question;
}

// The box's standard buttons in Russian whatever translations are loaded ("OK" would stay Latin).
void labelButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, QString> labels[] = {{QMessageBox::Yes, t::kButtonYes},
                                                                      {QMessageBox::No, t::kButtonNo},
                                                                      {QMessageBox::Cancel, t::kButtonCancel},
                                                                      {QMessageBox::Ok, t::kButtonOk}};
    for (const auto& [which, text] : labels) {
        if (QAbstractButton* b = box.button(which))
            b->setText(text);
    }
}

// The window manager cuts a title longer than the box ("Конфиг... Vextor"), and a short question
// makes a narrow box. The box is made at least as wide as its title in the title bar's font, with
// room for the frame's icon and buttons beside it, though never wider than the screen.
int titleWidth(const QWidget& dialog) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true); // as most window managers draw titles
    const QFontMetrics metrics(font);
    const int frameButtons =
        4 * std::max(dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight), metrics.height());
    int width = metrics.horizontalAdvance(dialog.windowTitle()) + frameButtons;
    if (const QScreen* screen = dialog.screen())
        width = std::min(width, screen->availableGeometry().width());
    return width;
}

// A message box fixes its own size from its layout's minimum whenever it is shown, over any minimum
// width set on it; a spacer in the layout is what it honours. The spacer shares the last row (the
// buttons) so the box gets no taller.
void reserveTitleWidth(QDialog& dialog) {
    QLayout* layout = dialog.layout();
    if (!layout)
        return;
    auto* spacer = new QSpacerItem(titleWidth(dialog), 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addItem(spacer, std::max(0, grid->rowCount() - 1), 0, 1, grid->columnCount());
    else
        layout->addItem(spacer);
}

int execBox(QMessageBox& box) {
    labelButtons(box);
    reserveTitleWidth(box);
    return box.exec();
}

} // namespace

QString qtFileFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList items;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" means every file; on this system many files have no dot.
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.trimmed() == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        QString description = parts[i];
        const int open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            description = description.left(open).trimmed();
        items << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return items.join(QStringLiteral(";;"));
}

void QtUserDialogs::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, t::kAppTitle, text, QMessageBox::Ok, parent_);
    execBox(box);
}

bool QtUserDialogs::askYesNo(const QString& text, const QString& caption) {
    QMessageBox box(iconFor(text), captionOr(caption), text, QMessageBox::Yes | QMessageBox::No, parent_);
    return execBox(box) == QMessageBox::Yes;
}

Answer QtUserDialogs::askYesNoCancel(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, captionOr(caption), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    switch (execBox(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtUserDialogs::inputText(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(captionOr(caption));
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(t::kButtonOk);
    dialog.setCancelButtonText(t::kButtonCancel);
    reserveTitleWidth(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtUserDialogs::openFile(const QString& caption, const QString& filter, const QString& dir) {
    return QFileDialog::getOpenFileName(parent_, caption, dir, qtFileFilter(filter));
}

QString QtUserDialogs::saveFile(const QString& caption, const QString& filter, const QString& dir,
                                const QString& defaultSuffix, bool confirmOverwrite) {
    QFileDialog dialog(parent_, caption, dir, qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

QString QtUserDialogs::saveFileWithOption(const QString& caption, const QString& filter, const QString& dir,
                                          const QString& defaultSuffix, const QString& optionText,
                                          bool& option) {
    QFileDialog dialog(parent_, caption, dir, qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // Qt's own dialog, which has a layout to put the box in; the system's dialog takes no widgets.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = new QCheckBox(optionText, &dialog);
    box->setObjectName(QStringLiteral("saveOption"));
    box->setChecked(option);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    else
        dialog.layout()->addWidget(box);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    option = box->isChecked();
    return dialog.selectedFiles().front();
}

} // namespace vextor
