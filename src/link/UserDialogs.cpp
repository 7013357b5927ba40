#include "UserDialogs.h"

#include <cstdio>

namespace vextor {

void StderrDialogs::message(const QString& text) {
    std::fprintf(stderr, "%s\n", text.trimmed().toUtf8().constData());
}
bool StderrDialogs::askYesNo(const QString& text, const QString&) {
    message(text);
    return false;
}
Answer StderrDialogs::askYesNoCancel(const QString& text, const QString&) {
    message(text);
    return Answer::Cancel;
}
std::optional<QString> StderrDialogs::inputText(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

} // namespace vextor
