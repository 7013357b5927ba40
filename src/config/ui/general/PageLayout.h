#pragma once
// What the pages "ДУ приводов " and " Общие " share: short number entries and a page whose content
// scrolls instead of being squeezed, with its button under it.
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vextor {

// An entry at most width pixels wide, never narrower than a counter factor needs.
QLineEdit* shortNumberEdit(int width = 80);
// Puts the page's content in a scroll area with the button under it and returns the content's layout.
QVBoxLayout* scrolledPage(QWidget* page, QPushButton* apply);

} // namespace vextor
