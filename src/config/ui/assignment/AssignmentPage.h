#pragma once
// The "A In/Out" and "D In/Out" tabs: two assignment tables each, inputs beside outputs where the
// window is wide enough for both, inputs above outputs where it is not.
#include "AssignmentTableBox.h"
#include "config/ConfigObserver.h"

#include <QWidget>
#include <array>

class QBoxLayout;

namespace vextor {

// One of the two tabs: the analog tables (inputs and outputs) or the discrete ones.
class AssignmentPage : public QWidget, public ConfigObserver {
public:
    enum class Kind { Analog, Discrete };
    AssignmentPage(ConfigImage& image, Kind kind, QWidget* parent = nullptr);

    AssignmentTableBox* inputs() const { return tables_[0]; }
    AssignmentTableBox* outputs() const { return tables_[1]; }

    // ConfigObserver: each table follows its own view bit; the first rows after a read or a load.
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override;
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    // What the page needs with the tables one above the other: it never asks for the width of both.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Kind kind_;
    std::array<AssignmentTableBox*, 2> tables_{};
    QBoxLayout* layout_;
};

} // namespace vextor
