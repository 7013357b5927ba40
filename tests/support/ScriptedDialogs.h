#pragma once
// The tests' answer to the user-dialogs seam.
#include "link/UserDialogs.h"

#include <deque>
#include <optional>

namespace vextor {

// Scripted answers for tests: every text shown is recorded in order, answers are taken from queues
// (an empty queue answers No / Cancel / nullopt / "").
class ScriptedDialogs : public UserDialogs {
public:
    QStringList shown; // messages and questions, in order
    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::deque<bool> saveOptions; // the check box of a save dialog that has one, as the engineer leaves it
    QStringList saveOptionTexts;  // the label of each such box, in order
    bool saveConfirmsOverwrite = true; // what the last save dialog was asked to do
    QStringList inputInitials;         // what each input box started with, in order

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
};

} // namespace vextor
