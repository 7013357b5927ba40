#include "NumberInput.h"

#include "texts.h"

namespace vextor {

namespace t = link_texts;

std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& prompt, int current, int min,
                                  int max) {
    return askWholeNumber(dialogs, QString::fromUtf8(t::kProgramTitle), prompt, QString::number(current), min,
                          max);
}

std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& caption, const QString& prompt,
                                  const QString& initial, int min, int max) {
    const auto answer = dialogs.inputText(caption, prompt, initial);
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    bool ok = false;
    const long long value = answer->trimmed().toLongLong(&ok);
    if (!ok) {
        dialogs.message(QString::fromUtf8(t::kInputError));
        return std::nullopt;
    }
    if (value < min || value > max) {
        dialogs.message(QString::fromUtf8(t::kOutOfRange));
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace vextor
