#pragma once
// A key filter for the monitor's number fields: typed characters outside the field's set are
// dropped, and a point may be typed for the decimal comma. Editing and moving keys and shortcuts
// (copy, paste, undo) pass; a pasted text is checked when it is applied, like everything typed.
#include <QObject>
#include <QString>

class QLineEdit;

namespace vextor::monitor {

class EntryKeyFilter : public QObject {
public:
    // accepted: the characters that may be typed. pointIsComma: a typed "." goes in as ",".
    EntryKeyFilter(QString accepted, bool pointIsComma, QObject* parent);

    // Installs the filter on edit.
    void watch(QLineEdit* edit);

    // The chart settings' numbers: digits, ",", "-"; a point becomes a comma.
    static EntryKeyFilter* signedDecimal(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString accepted_;
    bool pointIsComma_;
};

} // namespace vextor::monitor
