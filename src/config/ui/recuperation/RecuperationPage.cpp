#include "RecuperationPage.h"

#include "config/TacticTexts.h"
#include "config/ui/tactics/CaptionForm.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vextor {

namespace t = tactic_texts;

RecuperationPage::RecuperationPage(ConfigImage& image, QWidget* parent)
    : TacticPage(parent), kindGroup_(new QButtonGroup(this)),
      kindField_(kindGroup_), fields_{LineEditField(numberEdit()), LineEditField(numberEdit()),
                                      LineEditField(numberEdit()), LineEditField(numberEdit()),
                                      LineEditField(numberEdit()), LineEditField(numberEdit()),
                                      LineEditField(numberEdit()), LineEditField(numberEdit()),
                                      LineEditField(numberEdit())},
      parameters_(new QGroupBox(t::kParameters)), winter_(new QGroupBox(t::kWinter)),
      summer_(new QGroupBox(t::kSummer)), glycol_(new QWidget), tubularNote_(captionLabel(t::kTubularOnly)),
      pidBox_(new QGroupBox(t::kPIDGroup)), pid_(new PidPanel) {
    buildPage();
    std::array<EditField*, kRecupEntryCount> entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = &fields_[i];
    editor_ =
        std::make_unique<RecuperationTab>(image, RecuperationControls{kindField_, entries, pid_->controls()});
    editor_->panelChanged = [this] { drawPanel(); };
    connect(kindGroup_, &QButtonGroup::idClicked, this, [this](int) {
        editor_->showRecuperationKind();
        // The focus goes back to the tab bar, as after any choice of kind.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                tabs->setFocus();
                break;
            }
    });
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyRecuperation(); });
    editor_->showRecuperation();
}

RecuperationPage::~RecuperationPage() = default;

void RecuperationPage::buildPage() {
    auto* page = new QWidget;

    auto* kindBox = new QGroupBox(t::kRecuperationKind);
    auto* kindLayout = new QVBoxLayout(kindBox);
    for (int i = 0; i < static_cast<int>(t::kRecuperationKinds.size()); ++i) {
        auto* b = new QRadioButton(t::kRecuperationKinds[static_cast<size_t>(i)], kindBox);
        kindGroup_->addButton(b, i);
        kindLayout->addWidget(b);
    }

    auto addEntry = [this](QFormLayout* form, RecupEntry e) {
        captions_[e] = addCaptioned(form, QString(), fields_[e].widget());
        forms_[e] = form;
    };
    auto* winterForm = captionForm(winter_);
    winterForm_ = winterForm;
    winterForm->addRow(tubularNote_);
    for (RecupEntry e : {kEntryWinterDeltaTmin, kEntryWinterUmin, kEntryWinterDeltaTmax, kEntryWinterUmax})
        addEntry(winterForm, e);
    auto* summerForm = captionForm(summer_);
    for (RecupEntry e : {kEntrySummerDeltaTmin, kEntrySummerUmin, kEntrySummerDeltaTmax, kEntrySummerUmax})
        addEntry(summerForm, e);
    auto* glycolForm = captionForm(glycol_);
    glycolForm->setContentsMargins(0, 0, 0, 0);
    addEntry(glycolForm, kEntryTminGlick);

    auto* seasons = new QVBoxLayout(parameters_);
    seasons->addWidget(winter_);
    seasons->addWidget(summer_);
    seasons->addWidget(glycol_);
    seasons->addStretch(1);

    auto* pidLayout = new QVBoxLayout(pidBox_);
    pidLayout->setContentsMargins(0, 0, 0, 0); // the panel's own form keeps the box's margins
    pidLayout->addWidget(pid_);

    auto* left = new QVBoxLayout;
    left->addWidget(kindBox);
    left->addWidget(pidBox_);
    left->addStretch(1);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addWidget(parameters_, 1, Qt::AlignTop);
    setPage(page);
}

void RecuperationPage::drawPanel() {
    const RecuperationPanel& p = editor_->panel();
    parameters_->setVisible(p.parametersVisible);
    winter_->setVisible(p.winterVisible);
    summer_->setVisible(p.summerVisible);
    glycol_->setVisible(p.glycolVisible);
    // Hidden rows leave no gap in their forms.
    winterForm_->setRowVisible(tubularNote_, p.tubularNoteVisible);
    pidBox_->setVisible(p.pidVisible);
    for (size_t i = 0; i < fields_.size(); ++i) {
        const RecupEntryView& v = p.entries[i];
        forms_[i]->setRowVisible(fields_[i].widget(), v.visible);
        captions_[i]->setText(v.caption);
    }
}

void RecuperationPage::configurationChanged(ConfigViews views) {
    if (views & ViewRecuperation)
        editor_->showRecuperation();
}

} // namespace vextor
