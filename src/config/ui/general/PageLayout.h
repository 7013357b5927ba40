#pragma once
// What the pages "ДУ приводов " and " Общие " share: short number entries and a page whose content
// scrolls instead of being squeezed.
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace vextor {

// An entry at most width pixels wide, never narrower than a counter factor needs.
QLineEdit* shortNumberEdit(int width = 80);
// Puts the page's content in a scroll area and returns the content's layout.
QVBoxLayout* scrolledPage(QWidget* page);

} // namespace vextor
