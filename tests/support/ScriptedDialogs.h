#pragma once
// The tests' answer to the user-dialogs seam.
#include "link/UserDialogs.h"

#include <deque>

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
