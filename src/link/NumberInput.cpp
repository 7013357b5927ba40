#include "NumberInput.h"

#include "texts.h"

namespace vextor {

namespace t = link_texts;

std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& prompt, int current, int min,
                                  int max) {
    const auto answer =
        dialogs.inputText(QString::fromUtf8(t::kProgramTitle), prompt, QString::number(current));
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
