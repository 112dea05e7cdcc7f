// The highlights over the card photograph and the option panels they show.
#include "template.h"

#include "SetupCtrls.h"

namespace {

struct PanelRow
{
    const char* name;
    TRadioPanel* TMainForm::*member;
    int left, top, width, height, memoHeight;
    QStringList lines;
};

struct HighlightRow
{
    const char* name;
    TBoardHighlight* TMainForm::*member;
    int left, top, width, height;
    THighlightType type;
    TRadioPanel* TMainForm::*panel;
    const char* title;
};

// Children of BoardImage1, in creation (and stacking) order. Positions are in
// the image's 400 x 400 displayed box.
const HighlightRow kHighlights[] = {
    {"BaseHighlight", &TMainForm::BaseHighlight, 32, 304, 49, 21, htSettings, &TMainForm::BasePanel,
     "&Control Base Address"},
    {"ClockHighlight", &TMainForm::ClockHighlight, 95, 304, 13, 21, htSettings,
     &TMainForm::ClockPanel, "&Baud Clock Rate"},
    {"COMHighlight", &TMainForm::COMHighlight, 5, 64, 44, 217, htOptions, &TMainForm::COMPanel0,
     "Serial Connector #1"},
    {"DFHighlight", &TMainForm::DFHighlight, 82, 304, 13, 21, htSettings, &TMainForm::DFPanel,
     "Port &Disable"},
    {"COMBaseHighlight", &TMainForm::COMBaseHighlight, 156, 178, 84, 84, htSettings,
     &TMainForm::COMBasePanel, "&Port Resources"},
};

} // namespace

void TMainForm::createBoardLayout()
{
    for (const HighlightRow& row : kHighlights) {
        auto* h = new TBoardHighlight(BoardImage1);
        h->setObjectName(QLatin1String(row.name));
        h->setGeometry(row.left, row.top, row.width, row.height);
        h->SetHighlightType(row.type);
        h->SetTitle(QString::fromUtf8(row.title));
        this->*row.member = h;
    }

    // clang-format off
    const PanelRow panels[] = {
        {"ClockPanel", &TMainForm::ClockPanel, 448, 504, 233, 81, 58,
         {"This jumper chooses between a standard baud clock and a high-speed baud clock."}},
        {"BasePanel", &TMainForm::BasePanel, 0, 472, 185, 121, 58,
         {"Enter the control base address(in hex) on the top, then set the card's control base "
          "address jumpers to match the ones on the bottom.",
          "",
          "If the card can't be set to that address, a similar address the card can be set to "
          "will appear below the invalid one, and the jumpers will be displayed for that "
          "address."}},
        {"COMPanel0", &TMainForm::COMPanel0, -88, 328, 273, 9, 58,
         {"Connector P2 contains serial ports A-D."}},
        {"COMBasePanel", &TMainForm::COMBasePanel, 536, 8, 265, 169, 124,
         {"The COM ports' base addresses and IRQ are set by this setup program. This involves "
          "some steps:",
          "",
          "- Set the card's various jumpers (including installing the DF jumper) with the other "
          "highlights in this setup program.",
          "",
          "- Shut down the stack, add the card, and start back up.",
          "",
          "- Re-run this setup program to configure these resources. Make sure the control base "
          "address is set correctly in this setup program via the highlight in the lower left.",
          "",
          "- Shut down the stack, remove the DF jumper on the card, and start back up. Your card "
          "will then be ready for use!"}},
        {"DFPanel", &TMainForm::DFPanel, 224, 504, 185, 81, 58,
         {"This jumper disables the COM ports. With it installed, only the control registers "
          "are available. This is generally only useful during setup; see the Port Resources "
          "highlight (also available under the Settings menu) for the procedure involving the "
          "DF jumper."}},
    };
    // clang-format on
    for (const PanelRow& row : panels) {
        auto* panel = new TRadioPanel(m_client);
        panel->setObjectName(QLatin1String(row.name));
        panel->setGeometry(row.left, row.top, row.width, row.height);
        panel->SetMemoHeight(row.memoHeight);
        panel->SetLines(row.lines);
        this->*row.member = panel;
    }
}

void TMainForm::resolveReferences()
{
    BoardImage1->SetFirst(BaseHighlight);
    BoardImage1->SetMenu(MainMenu1);
    for (const HighlightRow& row : kHighlights)
        (this->*row.member)->SetRadioPanel(this->*row.panel);
}
