#pragma once
// The one seam through which core code talks to the user. The application answers with Qt dialogs,
// the command-line tool prints, and tests script the answers and record every text shown
// (tests/support/ScriptedDialogs.h).
#include <QString>
#include <QStringList>
#include <optional>

namespace vextor {

enum class Answer { Yes, No, Cancel };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // An information box with an OK button.
    virtual void message(const QString& text) = 0;
    virtual bool askYesNo(const QString& text, const QString& caption = {}) = 0;
    virtual Answer askYesNoCancel(const QString& text, const QString& caption = {}) = 0;
    // An input box; nullopt when the user cancels.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // File dialogs; an empty string when the user cancels. A save dialog asks before it accepts an
    // existing file unless the caller asks that question itself (confirmOverwrite false).
    virtual QString openFile(const QString& caption, const QString& filter, const QString& dir) = 0;
    virtual QString saveFile(const QString& caption, const QString& filter, const QString& dir,
                             const QString& defaultSuffix, bool confirmOverwrite = true) = 0;
    // A save dialog with one check box labelled optionText; option gives its state and takes the
    // engineer's choice when a file is chosen. Where no box can be shown, the plain save dialog.
    virtual QString saveFileWithOption(const QString& caption, const QString& filter, const QString& dir,
                                       const QString& defaultSuffix, const QString& optionText,
                                       bool& option) {
        (void)optionText;
        (void)option;
        return saveFile(caption, filter, dir, defaultSuffix);
    }
};

// Prints every message to stderr and answers every question with its default (No / Cancel);
// used where no user is present (the command-line tool).
class StderrDialogs : public UserDialogs {
public:
    void message(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption = {}) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = {}) override;
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override;
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, const QString&, bool = true) override {
        return {};
    }
};

} // namespace vextor
