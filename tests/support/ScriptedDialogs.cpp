#include "ScriptedDialogs.h"

namespace vextor {
namespace {

template <class T> T take(std::deque<T>& q, T fallback) {
    if (!q.empty()) {
        fallback = std::move(q.front());
        q.pop_front();
    }
    return fallback;
}

} // namespace

void ScriptedDialogs::message(const QString& text) {
    shown << text;
}

bool ScriptedDialogs::askYesNo(const QString& text, const QString&) {
    shown << text;
    return take(yesNo, false);
}

Answer ScriptedDialogs::askYesNoCancel(const QString& text, const QString&) {
    shown << text;
    return take(yesNoCancel, Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::inputText(const QString& caption, const QString& prompt,
                                                  const QString& initial) {
    shown << caption + QStringLiteral(": ") + prompt;
    inputInitials << initial;
    return take(inputs, std::optional<QString>{});
}

QString ScriptedDialogs::openFile(const QString& caption, const QString&, const QString&) {
    shown << caption;
    return take(openFiles, QString{});
}

QString ScriptedDialogs::saveFile(const QString& caption, const QString&, const QString&, const QString&,
                                  bool confirmOverwrite) {
    shown << caption;
    saveConfirmsOverwrite = confirmOverwrite;
    return take(saveFiles, QString{});
}

QString ScriptedDialogs::saveFileWithOption(const QString& caption, const QString& filter, const QString& dir,
                                            const QString& defaultSuffix, const QString& optionText,
                                            bool& option) {
    saveOptionTexts << optionText;
    if (!saveOptions.empty()) {
        option = saveOptions.front();
        saveOptions.pop_front();
    }
    return saveFile(caption, filter, dir, defaultSuffix);
}

} // namespace vextor
