// The control base address and the option jumpers: the address text, the list
// choices and the jumper glyphs kept in step. A closed address jumper is a 0
// bit; the six jumpers A4 to A9 set address bits 4 to 9 only.
#include "template.h"

#include "HexText.h"
#include "SetupCtrls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

namespace {

constexpr std::uint32_t SettableBits = 0x3F0;

void setEditColor(QLineEdit* edit, TColor color)
{
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, ColorToQColor(color));
    edit->setPalette(pal);
}

} // namespace

QString TMainForm::StripLeadingZeros(const QString& text)
{
    qsizetype zeros = 0;
    while (zeros < text.size() && text[zeros] == QLatin1Char('0'))
        ++zeros;
    if (zeros == text.size() && zeros > 0)
        return QStringLiteral("0");
    return text.mid(zeros);
}

void TMainForm::BaseEditChange(QObject*)
{
    const QString text = BaseEdit->text();
    std::uint32_t value = 0;
    if (!TryHexToUInt(text, value)) {
        // Not an address: only the colour says so, the last valid jumpers and
        // feedback stay on screen.
        setEditColor(BaseEdit, BasePanel->Color());
        return;
    }
    const std::uint32_t m = value & SettableBits;
    const QString actual = UIntToHex(m);
    const QString typed = StripLeadingZeros(text.trimmed()).toUpper();
    BaseLabelFeedback->setText(typed != actual ? QStringLiteral("Actual: ") + actual : QString());

    const std::array<TTwoJumper*, 6> address = {BaseJumper4A, BaseJumper5A, BaseJumper6A,
                                                BaseJumper7A, BaseJumper8A, BaseJumper9A};
    for (int k = 4; k <= 9; ++k)
        address[k - 4]->SetClosed((m & (1u << k)) == 0);
    setEditColor(BaseEdit, clWindow);

    BaseJumper8B->SetClosed(BaseJumper8A->Closed());
    BaseJumper9B->SetClosed(BaseJumper9A->Closed());
    BaseJumper9C->SetClosed(BaseJumper9A->Closed());
}

void TMainForm::BaseJumperClick(QObject*)
{
    const std::array<const TTwoJumper*, 6> address = {BaseJumper4A, BaseJumper5A, BaseJumper6A,
                                                      BaseJumper7A, BaseJumper8A, BaseJumper9A};
    std::uint32_t value = 0;
    for (int k = 4; k <= 9; ++k)
        if (!address[k - 4]->Closed())
            value |= 1u << k;
    // The clicked jumper has just changed, so the text differs from the old
    // one and BaseEditChange follows.
    BaseEdit->setText(UIntToHex(value));
}

void TMainForm::ClockJumperClick(QObject* Sender)
{
    ClockCombo->setCurrentIndex(ClockJumperA->Closed() ? 1 : 0);
    ClockComboChange(Sender);
}

void TMainForm::ClockComboChange(QObject*)
{
    ClockJumperA->SetClosed(ClockCombo->currentIndex() != 0);
    ClockJumperB->SetClosed(ClockJumperA->Closed());
    ClockJumperC->SetClosed(ClockJumperA->Closed());
}

void TMainForm::DFJumperClick(QObject* Sender)
{
    DFCombo->setCurrentIndex(DFJumperA->Closed() ? 1 : 0);
    DFComboChange(Sender);
}

void TMainForm::DFComboChange(QObject*)
{
    DFJumperA->SetClosed(DFCombo->currentIndex() != 0);
    DFJumperB->SetClosed(DFJumperA->Closed());
    DFJumperC->SetClosed(DFJumperA->Closed());
}
