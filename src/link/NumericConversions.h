#pragma once
// Value conversions shared by everything that moves numbers between controller memory, the screen
// and files, and the validation of numeric edit fields.
#include "EditField.h"

#include <QLocale>
#include <QString>
#include <cstdint>

namespace vextor {

// The marker shown for an implausible float: an impossible temperature.
inline constexpr float kImplausibleFloat = -274.55f;

// Little-endian IEEE single. With check, only patterns whose top byte has low 7 bits in 51..71 are
// taken; otherwise 0.0 for a top byte of 0 and -274.55 for anything else.
float floatFromImage(bool check, const uint8_t* b);
// Little-endian store; -0.0 is stored as +0.0 (it would read back as the implausible marker).
void floatToImage(float x, uint8_t* destination);
uint16_t wordFromImage(const uint8_t* b);
void wordToImage(uint16_t w, uint8_t* destination);

// 201 -> "2,01"
QString formatHundredths(uint16_t w);
QString intToStrPad(int n, int width);

// Fixed-point text with a decimal comma, like the program's number fields everywhere: precision
// significant digits, digits after the comma; falls back to the exponent form when the value does
// not fit the precision. parseNumber accepts every text this produces.
QString formatFixed(double value, int precision, int digits);
// Shortest text that reads back as the same float, with a decimal comma.
QString formatFloatShort(double value);
// Parses a number with a decimal comma (a point is accepted too), with an optional exponent.
bool parseNumber(const QString& text, double& value);
bool parseInteger(const QString& text, long long& value);

// Whose date and time formats the log lines and the clock panel follow: the system's, unless the
// system has no language set (C/POSIX), where they would come out with English month names in a
// Russian window; then the Russian ones.
QLocale dateTimeFormats(const QLocale& system = QLocale::system());

class UserDialogs;

// The one-message rule: after the first refused field of an apply, later fields are not checked
// and keep their current values. The messages go through this dialogs object.
void setValidationDialogs(UserDialogs* dialogs);
UserDialogs* validationDialogs();

// Routes the validation messages to dialogs for as long as it lives and then puts back what was
// routed before. The window that owns the dialogs holds one, so no message ever goes to dialogs
// that have gone with their window.
class ValidationDialogsScope {
public:
    explicit ValidationDialogsScope(UserDialogs* dialogs);
    ~ValidationDialogsScope();
    ValidationDialogsScope(const ValidationDialogsScope&) = delete;
    ValidationDialogsScope& operator=(const ValidationDialogsScope&) = delete;

private:
    UserDialogs* dialogs_;
    UserDialogs* previous_;
};
bool valueErrorShown();
void resetValueErrors();

enum class ValueKind { Single, Integer, Other };
struct CheckedValue {
    double single = 0;
    long long integer = 0;
};
// Returns the accepted value, or current when refused (out of range or format error) or when an
// error was already shown. Kind "single" and "integer" as texts too.
double checkEditValue(EditField& field, ValueKind kind, const QString& minText, const QString& maxText,
                      double current);
float checkSingle(EditField& field, const QString& minText, const QString& maxText, float current);
long long checkInteger(EditField& field, const QString& minText, const QString& maxText, long long current);

// Packed time: hours in bits 15-11, minutes 10-5, seconds/2 in 4-0; first byte high.
// current holds the stored two bytes and comes back unchanged when any part is refused.
struct PackedTime {
    uint8_t high = 0, low = 0;
    bool operator==(const PackedTime&) const = default;
};
PackedTime packTime(EditField& field, PackedTime current);
QString unpackTime(uint8_t high, uint8_t low);

// Texts of the validation messages.
QString rangeMessage(const QString& valueText);
extern const char* const kFormatErrorText; // "Ошибка формата данных!"

} // namespace vextor
