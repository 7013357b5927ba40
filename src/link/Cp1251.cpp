#include "Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace vextor {
namespace {

// Bytes 0x80..0xFF; 0x98 has no character and reads as U+FFFD.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

bool qtHasCp1251() {
    static const bool has =
        QStringEncoder("windows-1251").isValid() && QStringDecoder("windows-1251").isValid();
    return has;
}

} // namespace

QString fromCp1251Table(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(b) : QChar(kUpperHalf[b - 0x80]));
    }
    return out;
}

QByteArray toCp1251Table(const QString& text, bool* ok) {
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 128 && found < 0; ++i)
            if (kUpperHalf[i] == u && u != 0xFFFD)
                found = i;
        if (found < 0) {
            all = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(0x80 + found));
        }
    }
    if (ok)
        *ok = all;
    return out;
}

QString fromCp1251(const QByteArray& bytes) {
    if (!qtHasCp1251())
        return fromCp1251Table(bytes);
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QByteArray toCp1251(const QString& text, bool* ok) {
    if (!qtHasCp1251())
        return toCp1251Table(text, ok);
    QStringEncoder encoder("windows-1251");
    QByteArray out = encoder.encode(text);
    if (ok)
        *ok = !encoder.hasError();
    return out;
}

bool fitsCp1251(const QString& text) {
    bool ok = false;
    toCp1251(text, &ok);
    return ok;
}

} // namespace vextor
