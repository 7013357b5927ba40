// What the status bar says, headless: the link panel of either protocol, the mode panel, and the
// running connection text.
#include "app/StatusBarPresenter.h"
#include "line/ImageLinkBinding.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

TEST(StatusBarPresenter, LinkPanelShowsTheActiveProtocolsSettings) {
    ScriptedDialogs dialogs;
    Project project{dialogs};
    ConfigImage image;
    uint8_t zarnetAddress = 0;
    ImageLinkBinding binding{image, zarnetAddress};
    project.activeLink = &binding;
    struct Case {
        uint8_t protocol;
        uint8_t zarnet, modbus, mbParams;
        QString text;
    };
    const Case cases[] = {
        {kProtocolZarnet, 3, 2, 0x01, QStringLiteral("Zarnet - 3")},
        {kProtocolZarnet, 127, 2, 0x01, QStringLiteral("Zarnet - 127")},
        {kProtocolModbus, 3, 2, 0x01, QStringLiteral("ModBus - 2 - 9600 - 10 бит/1 стоп - мантисса/порядок")},
        {kProtocolModbus, 3, 247, 0xB2,
         QStringLiteral("ModBus - 247 - 19200 - 11 бит/чет/1 стоп - порядок/мантисса")},
    };
    for (const Case& c : cases) {
        project.model.ActiveProtocol = c.protocol;
        project.setActiveLink(c.zarnet, c.modbus, c.mbParams);
        EXPECT_EQ(StatusBarPresenter::linkPanel(project), c.text);
    }
    project.model.PortNumber = 12;
    EXPECT_EQ(StatusBarPresenter::portPanel(project.model), QStringLiteral("COM12"));
    EXPECT_EQ(StatusBarPresenter::modePanel(1), QStringLiteral("Конфигурация"));
    EXPECT_EQ(StatusBarPresenter::modePanel(2), QStringLiteral("События"));
    EXPECT_EQ(StatusBarPresenter::identityPanel(false, LineStatus{2, true, QStringLiteral("x"), 0}),
              QString());
}

TEST(RunString, SweepsRightThenBackInSeventeenTicks) {
    StatusBarPresenter presenter;
    EXPECT_FALSE(presenter.runStringTick(false).has_value()); // no link, no text
    QStringList sweep;
    for (int i = 0; i < 17; ++i)
        sweep << presenter.runStringTick(true).value_or(QStringLiteral("-"));
    EXPECT_EQ(sweep[0], QStringLiteral("Cвязь установлена         "));
    EXPECT_EQ(sweep[8], QStringLiteral("         Cвязь установлена"));
    EXPECT_EQ(sweep[9], QStringLiteral("       Cвязь установлена  "));
    EXPECT_EQ(sweep[15], QStringLiteral(" Cвязь установлена        "));
    EXPECT_EQ(sweep[16], QStringLiteral("-"));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(sweep[i].size(), 26);
    EXPECT_EQ(presenter.runStringTick(true), sweep[0]);
}
} // namespace
} // namespace vextor
