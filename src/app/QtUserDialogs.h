#pragma once
// The user dialogs of the desktop program: Qt message boxes, input boxes and file dialogs.
#include "link/UserDialogs.h"

class QWidget;

namespace vextor {

// The program's filter texts pair descriptions and patterns with '|' ("Файлы событий (*.blb)|*.blb|
// Все файлы|*.*"); Qt's file dialog wants "description (patterns)" items joined by ";;". A filter
// without '|' is taken as Qt's own.
QString qtFileFilter(const QString& filter);

class QtUserDialogs : public UserDialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption = {}) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = {}) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    QString openFile(const QString& caption, const QString& filter, const QString& dir) override;
    QString saveFile(const QString& caption, const QString& filter, const QString& dir,
                     const QString& defaultSuffix, bool confirmOverwrite = true) override;
    QString saveFileWithOption(const QString& caption, const QString& filter, const QString& dir,
                               const QString& defaultSuffix, const QString& optionText,
                               bool& option) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace vextor
