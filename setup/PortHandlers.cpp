// The port resources: entering the four port base addresses and the shared
// IRQ, checking them, and writing them into the card's ten configuration
// registers through its index register (control base + 1) and data register
// (control base + 2).
#include "template.h"

#include "HexText.h"
#include "MessageBox.h"
#include "Pause.h"
#include "PortIo.h"
#include "SetupCtrls.h"
#include "TUpDown.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <array>

namespace {

// Valid port base addresses: multiples of 8 from 0x100 to 0x3F8.
constexpr int kPortMin = 0x100;
constexpr int kPortMax = 0x3F8;
constexpr std::uint32_t kRegisterPauseMs = 10;

bool IsPortAddress(std::uint32_t value)
{
    return value % 8 == 0 && value >= std::uint32_t(kPortMin) && value <= std::uint32_t(kPortMax);
}

// Edits carry their partner in the dynamic property "Tag"; up-downs in Tag.
void SetTag(QObject* control, QObject* partner)
{
    if (auto* upDown = dynamic_cast<TUpDown*>(control))
        upDown->Tag = partner;
    else
        control->setProperty("Tag", QVariant::fromValue(partner));
}

QObject* TagOf(QObject* control)
{
    if (auto* upDown = dynamic_cast<TUpDown*>(control))
        return upDown->Tag;
    return control->property("Tag").value<QObject*>();
}

void TogglePanelChildren(QWidget* panel)
{
    const QList<QWidget*> children = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        child->setHidden(!child->isHidden());
}

} // namespace

void TMainForm::COMBasePanelEnter(QObject*)
{
    SetTag(BaseUDA, BaseEditA);
    SetTag(BaseUDB, BaseEditB);
    SetTag(BaseUDC, BaseEditC);
    SetTag(BaseUDD, BaseEditD);
    SetTag(BaseEditA, BaseUDA);
    SetTag(BaseEditB, BaseUDB);
    SetTag(BaseEditC, BaseUDC);
    SetTag(BaseEditD, BaseUDD);
}

std::uint8_t TMainForm::ReadPortSetting(int)
{
    return 255;
}

void TMainForm::ConfigButtonClick(QObject*)
{
    if (MsgBox::Show(COMBasePanel->window(),
                     QStringLiteral("The setup program will now try to access the card. Only "
                                    "continue if the base address has been set correctly(Settings "
                                    "| Base Address) and the card is installed."),
                     QStringLiteral("Access Warning"), MsgBox::Buttons::OkCancel,
                     MsgBox::Icon::Question) != MsgBox::Result::Ok)
        return;

    // Taken as typed, not reduced to the address the jumpers can set. A text
    // that is not hexadecimal raises the conversion error and ends here.
    ControlBase = std::uint16_t(HexToUInt(BaseEdit->text()));

    TogglePanelChildren(COMBasePanel);

    TUpDown* const upDowns[] = {BaseUDA, BaseUDB, BaseUDC, BaseUDD};
    for (int n = 1; n <= 4; ++n)
        upDowns[n - 1]->SetPosition(std::int16_t(8 * ReadPortSetting(n)));
    for (QLineEdit* edit : {BaseEditA, BaseEditB, BaseEditC, BaseEditD})
        edit->setText(QStringLiteral("***"));
    IRQCombo->setCurrentIndex(-1);
}

void TMainForm::BaseUDChangingEx(QObject* Sender, bool&, std::int16_t NewValue, TUpDownDirection)
{
    const int value = std::clamp<int>(NewValue, kPortMin, kPortMax);
    if (auto* edit = qobject_cast<QLineEdit*>(TagOf(Sender)))
        edit->setText(UIntToHex(std::uint32_t(value), 3));
}

void TMainForm::PortBaseEditChange(QObject* Sender)
{
    auto* edit = qobject_cast<QLineEdit*>(Sender);
    auto* upDown = dynamic_cast<TUpDown*>(TagOf(Sender));
    std::uint32_t value = 0;
    if (!edit || !upDown || !TryHexToUInt(edit->text(), value) || !IsPortAddress(value))
        return;
    // The up-down's changing event rewrites the text in its three-digit
    // upper-case form, which moves the caret to the end; put it back.
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    upDown->SetPosition(std::int16_t(value));
    edit->setCursorPosition(caret);
}

void TMainForm::BaseEditKeyDown(QObject* Sender, int& Key, Qt::KeyboardModifiers)
{
    int delta = 0;
    switch (Key) {
    case Qt::Key_PageUp:
        delta = 64;
        break;
    case Qt::Key_PageDown:
        delta = -64;
        break;
    case Qt::Key_Up:
        delta = 8;
        break;
    case Qt::Key_Down:
        delta = -8;
        break;
    default:
        return;
    }
    if (auto* upDown = dynamic_cast<TUpDown*>(TagOf(Sender)))
        upDown->SetPosition(std::int16_t(upDown->Position() + delta));
}

bool TMainForm::CheckSetting(const QString& Text, const QString& What)
{
    std::uint32_t value = 0;
    const bool valid = TryHexToUInt(Text, value) && IsPortAddress(value);
    if (!valid)
        MsgBox::Show(COMBasePanel->window(), QStringLiteral("Error: %1 is invalid.").arg(What),
                     QStringLiteral("Invalid Setting"), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Exclamation);
    return valid;
}

void TMainForm::UseButtonClick(QObject*)
{
    // The pauses between the writes handle events, so a second press could
    // arrive while a sequence runs; its writes would interleave with this
    // one's and corrupt the card's registers.
    if (m_writingPorts)
        return;

    const std::pair<QLineEdit*, const char*> checks[] = {
        {BaseEditA, "base address for port A"},
        {BaseEditB, "base address for port B"},
        {BaseEditC, "base address for port C"},
        {BaseEditD, "base address for port D"},
    };
    for (const auto& [edit, what] : checks)
        if (!CheckSetting(edit->text(), QLatin1String(what)))
            return;
    if (IRQCombo->currentIndex() < 0) {
        CheckSetting(QStringLiteral("*"), QStringLiteral("IRQ for all ports"));
        return;
    }

    if (MsgBox::Show(COMBasePanel->window(),
                     QStringLiteral("The setup program will now write the port resources. If they "
                                    "conflict with another device in your system, neither may "
                                    "function once the DF jumper is removed. Are you sure you "
                                    "want to use these resources?"),
                     QStringLiteral("Confirmation"), MsgBox::Buttons::OkCancel,
                     MsgBox::Icon::Question) != MsgBox::Result::Ok)
        return;

    // Registers 1 to 10: the four port addresses / 8, four zeros, the IRQ, a zero.
    std::array<std::uint8_t, 10> values{};
    TUpDown* const upDowns[] = {BaseUDA, BaseUDB, BaseUDC, BaseUDD};
    for (int i = 0; i < 4; ++i)
        values[i] = std::uint8_t(std::uint16_t(upDowns[i]->Position()) >> 3);
    values[8] = std::uint8_t(HexToUInt(IRQCombo->currentText()));

    // Nothing else may start a sequence until this one ends. The window may
    // go away during a pause; from then on nothing of it is touched.
    struct WritingScope
    {
        QPointer<TMainForm> form;
        explicit WritingScope(TMainForm* f) : form(f)
        {
            form->m_writingPorts = true;
            form->UseButton->setEnabled(false);
        }
        ~WritingScope()
        {
            if (!form)
                return;
            form->m_writingPorts = false;
            form->UseButton->setEnabled(true);
        }
    };
    {
        const WritingScope writing(this);
        for (std::size_t i = 0; i < values.size(); ++i) {
            WriteConfigRegister(std::uint8_t(i + 1), values[i]);
            if (!writing.form)
                return;
        }
    }

    TogglePanelChildren(COMBasePanel);
    MsgBox::Show(COMBasePanel->window(),
                 QStringLiteral("The resources have been written to the card. You will now need "
                                "to shut down the stack, remove the DF jumper, and start back up. "
                                "Your card will then be ready for use!"),
                 QStringLiteral("Confirmation"), MsgBox::Buttons::Ok, MsgBox::Icon::Information);
}

void TMainForm::WriteConfigRegister(std::uint8_t Index, std::uint8_t Value)
{
    // Both ports are taken before the first pause, so a register is always
    // written whole even if the window goes away meanwhile. No 16-bit wrap.
    const std::uint32_t indexPort = std::uint32_t(ControlBase) + 1;
    const std::uint32_t dataPort = std::uint32_t(ControlBase) + 2;
    PortIo().OutPortB(indexPort, Index);
    PauseWithMessages(kRegisterPauseMs);
    PortIo().OutPortB(dataPort, Value);
    PauseWithMessages(kRegisterPauseMs);
}
