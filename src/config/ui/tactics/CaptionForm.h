#pragma once
// Form rows of the tactic tabs: number entries of one width and captions that wrap at word
// boundaries instead of being cut.
#include <QString>

class QFormLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace vextor {

// An entry for a number: wide enough for "-10000,00" and the exponent form.
QLineEdit* numberEdit(QWidget* parent = nullptr);
// A caption that wraps at word boundaries, so a long one is never cut.
QLabel* captionLabel(const QString& text, QWidget* parent = nullptr);
// A form whose captions wrap; addCaptioned adds a row and returns its caption label.
QFormLayout* captionForm(QWidget* parent = nullptr);
QLabel* addCaptioned(QFormLayout* form, const QString& caption, QWidget* field);

} // namespace vextor
