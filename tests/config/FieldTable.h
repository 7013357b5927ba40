#pragma once
// Checks a tab's entries against the image fields they stand for, both ways, one row per entry:
// - show: every row's field gets its own value at once, and each entry must show exactly its own;
// - apply: the row's text typed into its entry alone must change exactly its own field, the whole
//   image compared with the one expected.
// Each row's value differs from every other row's, so two entries bound to each other's fields fail.
#include "config/ConfigImage.h"
#include "link/EditField.h"
#include "support/ScriptedDialogs.h"

#include <QString>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vextor::field_table {

struct EntryRow {
    std::string name;
    QString text;                          // what the entry shows for the value, and what is typed
    std::function<void(ConfigImage&)> put; // the value into the row's own field
    std::function<QString()> shown;
    std::function<void(const QString&)> type;
};

inline EntryRow entry(std::string name, PlainEditField& e, QString text,
                      std::function<void(ConfigImage&)> put) {
    return {std::move(name), std::move(text), std::move(put), [&e] { return e.text(); },
            [&e](const QString& t) { e.setText(t); }};
}

// The four points of a curve: arguments and values, each its own value.
inline void addCurve(std::vector<EntryRow>& rows, const std::string& name, std::array<PlainEditField, 8>& e,
                     std::array<CurvePoint, 4> ConfigImage::*curve, int first) {
    for (int i = 0; i < 8; ++i) {
        const auto v = static_cast<int8_t>(first + i);
        rows.push_back(entry(name + "[" + std::to_string(i) + "]", e[static_cast<size_t>(i)],
                             QString::number(v), [curve, i, v](ConfigImage& im) {
                                 CurvePoint& p = (im.*curve)[static_cast<size_t>(i / 2)];
                                 (i % 2 ? p.Value : p.Arg) = v;
                             }));
    }
}

// A check box over one bit (or one flag) of the image.
struct FlagRow {
    std::string name;
    PlainFlagField* flag;
    std::function<void(ConfigImage&, bool)> put;
};

// The image addresses where two images differ, for a readable failure.
inline std::string differences(const ConfigImage& a, const ConfigImage& b) {
    std::vector<uint8_t> x(kImageEnd - kImageFirstAddress), y(x.size());
    encodeRange(a, kImageFirstAddress, static_cast<uint32_t>(x.size()), x.data());
    encodeRange(b, kImageFirstAddress, static_cast<uint32_t>(y.size()), y.data());
    std::string out;
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] != y[i])
            out += " @" + std::to_string(i + kImageFirstAddress) + ": " + std::to_string(x[i]) +
                   " != " + std::to_string(y[i]);
    return out.empty() ? " (outside the encoded image)" : out;
}

struct Tab {
    ConfigImage& image;
    ScriptedDialogs& dialogs;
    std::function<void()> show;
    std::function<void()> apply;
    // What every row starts from besides the default configuration (a kind, a selected channel).
    std::function<void(ConfigImage&)> prepare = [](ConfigImage&) {};

    // The image as a plain show and apply of the default configuration leaves it: the start of
    // every row, so that only the row's own change is left to compare.
    ConfigImage baseline() {
        loadDefaultConfiguration(image);
        prepare(image);
        show();
        apply();
        return image;
    }

    void checkEntries(const std::vector<EntryRow>& rows) {
        const ConfigImage base = baseline();
        for (const EntryRow& r : rows)
            r.put(image);
        show();
        for (const EntryRow& r : rows)
            EXPECT_EQ(r.shown().toStdString(), r.text.toStdString()) << "show: " << r.name;

        for (const EntryRow& r : rows) {
            image = base;
            show();
            dialogs.shown.clear();
            r.type(r.text);
            apply();
            ConfigImage expected = base;
            r.put(expected);
            EXPECT_TRUE(dialogs.shown.isEmpty())
                << "apply: " << r.name << " " << dialogs.shown.join('|').toStdString();
            EXPECT_TRUE(image == expected) << "apply: " << r.name << differences(image, expected);
        }
    }

    void checkFlags(const std::vector<FlagRow>& rows) {
        const ConfigImage base = baseline();
        for (const FlagRow& on : rows) {
            image = base;
            for (const FlagRow& r : rows)
                r.put(image, &r == &on);
            show();
            for (const FlagRow& r : rows)
                EXPECT_EQ(r.flag->isChecked(), &r == &on) << "show " << on.name << ": " << r.name;

            image = base;
            show();
            for (const FlagRow& r : rows)
                r.flag->setChecked(&r == &on);
            apply();
            ConfigImage expected = base;
            for (const FlagRow& r : rows)
                r.put(expected, &r == &on);
            EXPECT_TRUE(image == expected) << "apply: " << on.name << differences(image, expected);
        }
    }
};

} // namespace vextor::field_table
