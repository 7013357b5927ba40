#pragma once
// The one seam through which core code talks to the user. The application answers with Qt dialogs,
// the command-line tool prints, and tests script the answers and record every text shown.
#include <QString>
#include <QStringList>
#include <deque>
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
    bool saveConfirmsOverwrite = true; // what the last save dialog was asked to do

    void message(const QString& text) override { shown << text; }
    bool askYesNo(const QString& text, const QString& = {}) override {
        shown << text;
        return take(yesNo, false);
    }
    Answer askYesNoCancel(const QString& text, const QString& = {}) override {
        shown << text;
        return take(yesNoCancel, Answer::Cancel);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt, const QString&) override {
        shown << caption + QStringLiteral(": ") + prompt;
        return take(inputs, std::optional<QString>{});
    }
    QString openFile(const QString& caption, const QString&, const QString&) override {
        shown << caption;
        return take(openFiles, QString{});
    }
    QString saveFile(const QString& caption, const QString&, const QString&, const QString&,
                     bool confirmOverwrite = true) override {
        shown << caption;
        saveConfirmsOverwrite = confirmOverwrite;
        return take(saveFiles, QString{});
    }

private:
    template <class T> static T take(std::deque<T>& q, T fallback) {
        if (q.empty())
            return fallback;
        T v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace vextor
