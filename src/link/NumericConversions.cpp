#include "NumericConversions.h"

#include "UserDialogs.h"
#include "texts.h"

#include <QLocale>
#include <cmath>
#include <cstring>

namespace vextor {

const char* const kFormatErrorText = link_texts::kFormatError;

float floatFromImage(bool check, const uint8_t* b) {
    const uint32_t bits = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    float x;
    std::memcpy(&x, &bits, 4);
    if (!check)
        return x;
    // The top byte holds the sign and the upper exponent bits; 51..71 covers every magnitude a
    // controller stores, so anything else is uninitialised or foreign memory.
    const int top = b[3] & 0x7F;
    if (top > 50 && top < 72)
        return x;
    return b[3] == 0 ? 0.0f : kImplausibleFloat;
}

void floatToImage(float x, uint8_t* destination) {
    if (x == 0.0f)
        x = 0.0f; // -0.0 would read back as the implausible marker
    uint32_t bits;
    std::memcpy(&bits, &x, 4);
    for (int i = 0; i < 4; ++i)
        destination[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint16_t wordFromImage(const uint8_t* b) {
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
void wordToImage(uint16_t w, uint8_t* destination) {
    destination[0] = static_cast<uint8_t>(w);
    destination[1] = static_cast<uint8_t>(w >> 8);
}

QString formatHundredths(uint16_t w) {
    return formatFixed(w / 100.0, 4, 2);
}

QString intToStrPad(int n, int width) {
    QString s = QString::number(n);
    while (s.size() < width)
        s.prepend(QLatin1Char('0'));
    return s;
}

QString formatFixed(double value, int precision, int digits) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (precision < 1)
        precision = 1;
    // Rounded to the precision in significant digits first, then shown with the digits after the
    // comma; a number with more integer digits than the precision goes to the exponent form.
    const double magnitude = std::fabs(value);
    const int integerDigits = magnitude >= 1.0 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 1;
    QString text;
    if (integerDigits > precision) {
        text = QString::number(value, 'E', precision - 1);
    } else {
        const int keep = std::min(precision - integerDigits, 17);
        const double scale = std::pow(10.0, keep);
        double rounded = magnitude >= 1e-300 ? std::round(value * scale) / scale : 0.0;
        if (rounded == 0.0)
            rounded = 0.0;
        text = QString::number(rounded, 'f', std::max(digits, 0));
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString formatFloatShort(double value) {
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

bool parseNumber(const QString& text, double& value) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool parseInteger(const QString& text, long long& value) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return false;
    value = v;
    return true;
}

namespace {
UserDialogs* g_dialogs = nullptr;
bool g_errorShown = false;

void refuse(EditField& field, const QString& text) {
    if (g_dialogs)
        g_dialogs->message(text);
    field.setFocus();
    g_errorShown = true;
}
} // namespace

void setValidationDialogs(UserDialogs* dialogs) {
    g_dialogs = dialogs;
}
UserDialogs* validationDialogs() {
    return g_dialogs;
}

ValidationDialogsScope::ValidationDialogsScope(UserDialogs* dialogs)
    : dialogs_(dialogs), previous_(g_dialogs) {
    g_dialogs = dialogs;
}

ValidationDialogsScope::~ValidationDialogsScope() {
    // A later scope that is still open keeps its own dialogs.
    if (g_dialogs == dialogs_)
        g_dialogs = previous_;
}
bool valueErrorShown() {
    return g_errorShown;
}
void resetValueErrors() {
    g_errorShown = false;
}

QString rangeMessage(const QString& valueText) {
    return QString::fromUtf8(link_texts::kRangeBefore) + valueText +
           QString::fromUtf8(link_texts::kRangeAfter);
}

double checkEditValue(EditField& field, ValueKind kind, const QString& minText, const QString& maxText,
                      double current) {
    if (g_errorShown || kind == ValueKind::Other)
        return current;
    if (kind == ValueKind::Single) {
        double x = 0, lo = 0, hi = 0;
        if (!parseNumber(field.text(), x) || !parseNumber(minText, lo) || !parseNumber(maxText, hi)) {
            refuse(field, QString::fromUtf8(link_texts::kFormatError));
            return current;
        }
        if (lo <= x && x <= hi)
            return x;
        refuse(field, rangeMessage(formatFloatShort(x)));
        return current;
    }
    long long x = 0, lo = 0, hi = 0;
    if (!parseInteger(field.text(), x) || !parseInteger(minText, lo) || !parseInteger(maxText, hi)) {
        refuse(field, QString::fromUtf8(link_texts::kFormatError));
        return current;
    }
    if (lo <= x && x <= hi)
        return static_cast<double>(x);
    refuse(field, rangeMessage(QString::number(x)));
    return current;
}

float checkSingle(EditField& field, const QString& minText, const QString& maxText, float current) {
    return static_cast<float>(checkEditValue(field, ValueKind::Single, minText, maxText, current));
}

long long checkInteger(EditField& field, const QString& minText, const QString& maxText, long long current) {
    return static_cast<long long>(
        checkEditValue(field, ValueKind::Integer, minText, maxText, static_cast<double>(current)));
}

PackedTime packTime(EditField& field, PackedTime current) {
    if (g_errorShown)
        return current;
    const QString text = field.text();
    if (text.size() < 8) {
        refuse(field, QString::fromUtf8(link_texts::kFormatError));
        return current;
    }
    // Hours, minutes and seconds/2 take 5, 6 and 5 bits: anything larger would spill into its
    // neighbour, so the limits are those of the bit fields.
    static constexpr struct {
        int position;
        const char* max;
    } parts[3] = {{0, "31"}, {3, "63"}, {6, "63"}};
    long long value[3] = {};
    for (int i = 0; i < 3; ++i) {
        field.setText(text.mid(parts[i].position, 2));
        value[i] = checkInteger(field, QStringLiteral("0"), QString::fromLatin1(parts[i].max), 0);
        field.setText(text);
        if (g_errorShown)
            return current;
    }
    const int h = static_cast<int>(value[0]), m = static_cast<int>(value[1]),
              s2 = static_cast<int>(value[2]) / 2;
    return PackedTime{static_cast<uint8_t>((h * 8) | (m / 8)), static_cast<uint8_t>(((m & 7) * 32) | s2)};
}

QString unpackTime(uint8_t hi, uint8_t lo) {
    const int h = hi / 8, m = (hi & 7) * 8 + lo / 32, s = (lo & 31) * 2;
    return intToStrPad(h, 2) + QLatin1Char(':') + intToStrPad(m, 2) + QLatin1Char(':') + intToStrPad(s, 2);
}

QLocale dateTimeFormats(const QLocale& system) {
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Russian, QLocale::Russia);
    return system;
}

} // namespace vextor
