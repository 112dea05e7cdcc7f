// Children of the control base address, baud clock and port disable panels:
// the card's jumper row A4 A5 A6 A7 A8 A9 DF X8 at a pitch of 20 pixels. Each
// panel shows its own jumpers enabled and its neighbours as disabled mirrors.
#include "template.h"

#include "ErrorDisplay.h"
#include "SetupCtrls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <type_traits>
#include <variant>

namespace {

using Handler = void (TMainForm::*)(QObject*);
using Member = std::variant<QLabel * TMainForm::*, TTwoJumper * TMainForm::*,
                            QLineEdit * TMainForm::*, QComboBox * TMainForm::*>;

enum Centring
{
    Top,
    VCentre
};

// One child control: the reference it is held under and its name, its place,
// its caption (a label's caption, the edit's text or the list's items), and
// the values that differ from the control's defaults.
struct ChildRow
{
    Member member;
    const char* name;
    int left, top, width, height;
    QStringList text;
    bool enabled;
    bool closed;       // glyphs only
    Centring centring; // labels only
    Handler binding;   // a glyph's OnClick, the edit's or list's OnChange
};

#define COMPONENT(name) &TMainForm::name, #name
#define ON(handler) &TMainForm::handler

constexpr bool yes = true, no = false;
constexpr Handler none = nullptr;

// The lists only offer their items (no free text).
const QStringList clockItems = {"X1 (up to 115,200 baud)", "X8 (up to 921,600 baud)"};
const QStringList dfItems = {"Enable Ports", "Disable Ports"};

// Creation order is the layout's, which is also the stacking order.
const ChildRow basePanelChildren[] = {
    {COMPONENT(BaseLabel5), 124, 56, 17, 17, {"DF"}, no, no, VCentre, none},
    {COMPONENT(BaseLabel6), 104, 56, 17, 17, {"A9"}, yes, no, VCentre, none},
    {COMPONENT(BaseLabel7), 84, 56, 17, 17, {"A8"}, yes, no, VCentre, none},
    {COMPONENT(BaseLabel8), 64, 56, 17, 17, {"A7"}, yes, no, VCentre, none},
    {COMPONENT(BaseLabel9), 44, 56, 17, 17, {"A6"}, yes, no, VCentre, none},
    {COMPONENT(BaseLabelFeedback), 56, 32, 73, 17, {""}, yes, no, Top, none},
    {COMPONENT(Label1), 24, 56, 17, 17, {"A5"}, yes, no, VCentre, none},
    {COMPONENT(Label26), 144, 56, 17, 17, {"X8"}, no, no, VCentre, none},
    {COMPONENT(DFJumperB), 124, 72, 18, 34, {}, no, no, Top, none},
    {COMPONENT(BaseJumper9A), 104, 72, 18, 34, {}, yes, no, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseJumper8A), 84, 72, 18, 34, {}, yes, no, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseJumper7A), 64, 72, 18, 34, {}, yes, yes, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseJumper6A), 44, 72, 18, 34, {}, yes, yes, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseJumper5A), 24, 72, 18, 34, {}, yes, yes, Top, ON(BaseJumperClick)},
    {COMPONENT(ClockJumperC), 144, 72, 18, 34, {}, no, no, Top, ON(BaseJumperClick)},
    {COMPONENT(Label30), 4, 56, 17, 17, {"A4"}, yes, no, VCentre, none},
    {COMPONENT(BaseJumper4A), 4, 72, 18, 34, {}, yes, yes, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseEdit), 64, 7, 57, 21, {"300"}, yes, no, Top, ON(BaseEditChange)},
};

// Labels of this panel are 19 pixels high.
const ChildRow clockPanelChildren[] = {
    {COMPONENT(InvertLabel), 32, 16, 17, 19, {"X8"}, yes, no, VCentre, none},
    {COMPONENT(Label23), 12, 16, 17, 19, {"DF"}, no, no, VCentre, none},
    {COMPONENT(Label24), -8, 16, 17, 19, {"A9"}, no, no, VCentre, none},
    {COMPONENT(BaseJumper9C), -8, 32, 18, 34, {}, no, no, Top, none},
    {COMPONENT(DFJumperC), 12, 32, 18, 34, {}, no, no, Top, none},
    {COMPONENT(ClockJumperA), 32, 32, 18, 34, {}, yes, no, Top, ON(ClockJumperClick)},
    {COMPONENT(ClockCombo), 64, 40, 161, 21, clockItems, yes, no, Top, ON(ClockComboChange)},
};

const ChildRow dfPanelChildren[] = {
    {COMPONENT(Label20), 32, 16, 17, 17, {"DF"}, yes, no, VCentre, none},
    {COMPONENT(Label21), 12, 16, 17, 17, {"A9"}, no, no, VCentre, none},
    {COMPONENT(Label22), -8, 16, 17, 17, {"A8"}, no, no, VCentre, none},
    {COMPONENT(Label25), 52, 16, 17, 17, {"X8"}, no, no, VCentre, none},
    {COMPONENT(ClockJumperB), 52, 32, 18, 34, {}, no, no, Top, ON(BaseJumperClick)},
    {COMPONENT(DFJumperA), 32, 32, 18, 34, {}, yes, no, Top, ON(DFJumperClick)},
    {COMPONENT(BaseJumper9B), 12, 32, 18, 34, {}, no, no, Top, ON(BaseJumperClick)},
    {COMPONENT(BaseJumper8B), -8, 32, 18, 34, {}, no, no, Top, ON(BaseJumperClick)},
    {COMPONENT(DFCombo), 80, 32, 97, 21, dfItems, yes, no, Top, ON(DFComboChange)},
};

#undef COMPONENT
#undef ON

// Property values of each kind of child; the bindings reach the window's
// handlers, entered from Qt's signals through Guarded.
void apply(TMainForm*, QLabel* label, const ChildRow& row)
{
    label->setText(row.text.value(0));
    label->setAlignment(row.centring == VCentre ? Qt::AlignCenter
                                                : Qt::AlignHCenter | Qt::AlignTop);
}

void apply(TMainForm* form, TTwoJumper* jumper, const ChildRow& row)
{
    jumper->SetClosed(row.closed);
    jumper->SetOrientation(otLeft);
    if (row.binding)
        jumper->OnClick = [form, h = row.binding](QObject* sender) { (form->*h)(sender); };
}

void apply(TMainForm* form, QLineEdit* edit, const ChildRow& row)
{
    edit->setText(row.text.value(0));
    if (row.binding)
        QObject::connect(edit, &QLineEdit::textChanged, form,
                         [form, edit, h = row.binding] { Guarded([&] { (form->*h)(edit); }); });
}

void apply(TMainForm* form, QComboBox* combo, const ChildRow& row)
{
    combo->addItems(row.text);
    // Only the user's choice is a change: a selection by program raises none.
    if (row.binding)
        QObject::connect(combo, &QComboBox::activated, form,
                         [form, combo, h = row.binding] { Guarded([&] { (form->*h)(combo); }); });
}

void createChildren(TMainForm* form, QWidget* panel, const ChildRow* first, const ChildRow* last)
{
    for (const ChildRow* row = first; row != last; ++row) {
        std::visit(
            [&](auto member) {
                using T = std::remove_pointer_t<std::remove_reference_t<decltype(form->*member)>>;
                auto* w = new T(panel);
                w->setObjectName(QLatin1String(row->name));
                w->setGeometry(row->left, row->top, row->width, row->height);
                w->setEnabled(row->enabled);
                apply(form, w, *row);
                form->*member = w;
            },
            row->member);
    }
}

template <std::size_t N>
void createChildren(TMainForm* form, QWidget* panel, const ChildRow (&rows)[N])
{
    createChildren(form, panel, rows, rows + N);
}

} // namespace

void TMainForm::createAddressLayout()
{
    createChildren(this, BasePanel, basePanelChildren);
    createChildren(this, ClockPanel, clockPanelChildren);
    createChildren(this, DFPanel, dfPanelChildren);
}
