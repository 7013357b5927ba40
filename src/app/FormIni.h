#pragma once
// Form.ini: the main window's geometry, 29 bytes, little-endian.
#include <QString>
#include <cstdint>
#include <optional>

namespace vextor {

inline constexpr int kFormIniSize = 29;
inline constexpr char kFormIniName[] = "Form.ini";
// No stored size or position goes below this, so a window can never come back off-screen left
// or shrunk to nothing.
inline constexpr int32_t kFormIniMinimum = 5;
// Nor above this, far beyond any screen: the window sums and subtracts the stored sizes, and a file
// with sizes near the limits of the type would make those sums overflow.
inline constexpr int32_t kFormIniMaximum = 1 << 20;

struct FormGeometry {
    int32_t height = 765;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 1147;
    int32_t modePanelWidth = 80;
    int32_t treePanelWidth = 230;
    int32_t logHeight = 100;
    uint8_t state = 0; // 0 normal, 1 minimised, 2 maximised
    bool operator==(const FormGeometry&) const = default;
};

// nullopt for a missing, unreadable or short file (the design geometry applies then). A state the
// window does not know is read as normal.
std::optional<FormGeometry> readFormIni(const QString& path);
// Creates or replaces the file through QSaveFile; false when it could not be written (the old
// file stays as it was).
bool writeFormIni(const QString& path, const FormGeometry& g);

} // namespace vextor
