#pragma once
// The " Рекуперация " tab without its widgets: the recuperator kind in bits 4-7 of KindSystems,
// the entries that kind uses, and its PID set (PIDKoef[3]). The kind decides which entries are
// shown, how they are captioned, and which of them "Применить" takes.
#include "link/EditField.h"
#include "TacticFields.h"

#include <QString>
#include <functional>

namespace vextor {

// Positions of the kind choice.
enum RecuperationItem : int {
    kRecupDamper = 0,
    kRecupRotary = 1,
    kRecupTubular = 2,
    kRecupGlycol = 3,
    kRecupNone = 4
};
// Bits 4-7 of KindSystems for items 0..3.
inline constexpr std::array<uint8_t, 4> kRecuperationBits = {0x10, 0x20, 0x40, 0x80};
inline constexpr int kRecuperationPID = 3;

// The item the kind bits stand for; any value but one of the four single bits is "Нет".
int recuperationItem(uint8_t kindSystems);

// One entry of the parameter group as shown: hidden or visible, and its caption (empty: none).
struct RecupEntryView {
    bool visible = false;
    QString caption;
    bool operator==(const RecupEntryView&) const = default;
};

// Entries of the parameter group, in the order "Применить" takes them for "На задвижку".
enum RecupEntry : int {
    kEntryWinterDeltaTmin,
    kEntryWinterUmin,
    kEntryWinterDeltaTmax,
    kEntryWinterUmax,
    kEntrySummerDeltaTmin,
    kEntrySummerUmin,
    kEntrySummerDeltaTmax,
    kEntrySummerUmax,
    kEntryTminGlick,
    kRecupEntryCount
};

struct RecuperationPanel {
    bool parametersVisible = false;  // " Параметры "
    bool winterVisible = false;      // " Зима "
    bool summerVisible = false;      // " Лето"
    bool glycolVisible = false;      // the glycol recuperator's set point
    bool tubularNoteVisible = false; // "Только для трубчатого рекуператора"
    bool pidVisible = false;         // "ПИД регулятор "
    std::array<RecupEntryView, kRecupEntryCount> entries{};
    bool operator==(const RecuperationPanel&) const = default;
};

struct RecuperationControls {
    ChoiceField& kind;
    std::array<EditField*, kRecupEntryCount> entries; // in RecupEntry order
    PIDControls pid;
};

struct PlainRecuperationControls {
    PlainChoiceField kind;
    std::array<PlainEditField, kRecupEntryCount> entries;
    PlainPIDControls pid;
    RecuperationControls controls() {
        std::array<EditField*, kRecupEntryCount> e{};
        for (size_t i = 0; i < e.size(); ++i)
            e[i] = &entries[i];
        return {kind, e, pid.controls()};
    }
};

class RecuperationTab {
public:
    RecuperationTab(ConfigImage& image, RecuperationControls controls);

    // The kind from the image (a kind value that is not one of the four clears bits 4-7 of the
    // image), the entries, the PID set, then showRecuperationKind.
    void showRecuperation();
    // "Применить": the kind bits, then the chosen kind's entries, then the PID set for the
    // recuperators that have one.
    void applyRecuperation();
    // Shows and captions the entries of the chosen kind. The winter "Umin" entry is a percentage for
    // the tubular recuperator and tenths of a volt otherwise: when the choice crosses between the
    // two, the entry is refilled from the image in the new form.
    void showRecuperationKind();

    const RecuperationPanel& panel() const { return panel_; }
    std::function<void()> panelChanged;

private:
    ConfigImage& image_;
    RecuperationControls c_;
    RecuperationPanel panel_;
    bool winterUminAsPercent_ = false;

    EditField& entry(RecupEntry e) { return *c_.entries[e]; }
    void showWinterUmin(bool percent);
};

} // namespace vextor
