// Children of the port resources panel, in the order the layout creates them.
#include "template.h"

#include "ErrorDisplay.h"
#include "SetupCtrls.h"
#include "TUpDown.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct LabelRow
{
    const char* name;
    QLabel* TMainForm::*member;
    int left, top, width, height;
    const char* caption;
    Qt::Alignment alignment;
};

struct PortRow
{
    const char* editName;
    QLineEdit* TMainForm::*edit;
    int editTop, editTabOrder;
    const char* upDownName;
    TUpDown* TMainForm::*upDown;
    int upDownTop, upDownTabOrder;
};

struct ButtonRow
{
    const char* name;
    QPushButton* TMainForm::*member;
    int left, top, width, height;
    const char* caption;
    bool visible;
    int tabOrder;
};

constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignVCenter;

// The port edits' key-down event: the handler sees each key press before the
// edit, and the key always goes on to the edit.
class KeyDownFilter : public QObject
{
public:
    using Handler = std::function<void(QObject* sender, int& key, Qt::KeyboardModifiers shift)>;

    KeyDownFilter(QObject* parent, Handler handler) : QObject(parent), m_handler(std::move(handler))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            int code = key->key();
            Guarded([&] { m_handler(watched, code, key->modifiers()); });
        }
        return false;
    }

private:
    Handler m_handler;
};

} // namespace

void TMainForm::createPortLayout()
{
    const LabelRow labels[] = {
        {"Label3", &TMainForm::Label3, 0, 22, 33, 21, "A", kCentred},
        {"Label4", &TMainForm::Label4, 0, 48, 33, 21, "B", kCentred},
        {"Label5", &TMainForm::Label5, 0, 74, 33, 21, "C", kCentred},
        {"Label6", &TMainForm::Label6, 0, 100, 33, 21, "D", kCentred},
        {"Label16", &TMainForm::Label16, 32, 4, 57, 17, "I/O Addr.", kCentred},
        {"Label19", &TMainForm::Label19, 184, 4, 73, 17, "IRQ (All)", kCentred},
        // A ditto mark under the IRQ list: the one IRQ serves all four rows.
        {"DittoLabel", &TMainForm::DittoLabel, 200, 48, 41, 73, ".\n.\n.",
         Qt::AlignHCenter | Qt::AlignTop},
    };
    // Edits at left 32 (41 x 21), up-downs at left 72 (15 x 25).
    const PortRow ports[] = {
        {"BaseEditA", &TMainForm::BaseEditA, 22, 0, "BaseUDA", &TMainForm::BaseUDA, 20, 1},
        {"BaseEditB", &TMainForm::BaseEditB, 48, 2, "BaseUDB", &TMainForm::BaseUDB, 46, 3},
        {"BaseEditC", &TMainForm::BaseEditC, 74, 4, "BaseUDC", &TMainForm::BaseUDC, 72, 5},
        {"BaseEditD", &TMainForm::BaseEditD, 100, 6, "BaseUDD", &TMainForm::BaseUDD, 98, 7},
    };
    const ButtonRow buttons[] = {
        {"ConfigButton", &TMainForm::ConfigButton, 40, 64, 185, 25, "Configure Port Resources...",
         true, 8},
        {"UseButton", &TMainForm::UseButton, 40, 136, 185, 25, "Use These Resources", false, 10},
    };
    constexpr int kIrqTabOrder = 9;

    std::vector<std::pair<int, QWidget*>> tabOrder;

    for (const LabelRow& row : labels) {
        auto* label = new QLabel(QString::fromLatin1(row.caption), COMBasePanel);
        label->setObjectName(QLatin1String(row.name));
        label->setGeometry(row.left, row.top, row.width, row.height);
        label->setAlignment(row.alignment);
        label->setVisible(false);
        this->*row.member = label;
    }

    auto* keyDown = new KeyDownFilter(this, [this](QObject* s, int& key, Qt::KeyboardModifiers m) {
        BaseEditKeyDown(s, key, m);
    });
    for (const PortRow& row : ports) {
        auto* edit = new QLineEdit(COMBasePanel);
        edit->setObjectName(QLatin1String(row.editName));
        edit->setGeometry(32, row.editTop, 41, 21);
        edit->setVisible(false);
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit] { Guarded([&] { PortBaseEditChange(edit); }); });
        edit->installEventFilter(keyDown);
        this->*row.edit = edit;
        tabOrder.emplace_back(row.editTabOrder, edit);

        auto* upDown = new TUpDown(COMBasePanel);
        upDown->setObjectName(QLatin1String(row.upDownName));
        upDown->setGeometry(72, row.upDownTop, 15, 25);
        upDown->SetMin(256);
        upDown->SetMax(1016);
        upDown->SetIncrement(8);
        upDown->SetPosition(256);
        upDown->setVisible(false);
        upDown->OnChangingEx = [this](QObject* s, bool& allow, std::int16_t value,
                                      TUpDownDirection d) { BaseUDChangingEx(s, allow, value, d); };
        this->*row.upDown = upDown;
        tabOrder.emplace_back(row.upDownTabOrder, upDown);
    }

    IRQCombo = new QComboBox(COMBasePanel);
    IRQCombo->setObjectName(QStringLiteral("IRQCombo"));
    IRQCombo->setGeometry(200, 22, 41, 21);
    IRQCombo->addItems({"2", "3", "4", "5", "6", "7", "A", "B", "C", "F"});
    IRQCombo->setMaxVisibleItems(10);
    IRQCombo->setCurrentIndex(-1);
    IRQCombo->setVisible(false);
    tabOrder.emplace_back(kIrqTabOrder, IRQCombo);

    for (const ButtonRow& row : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), COMBasePanel);
        button->setObjectName(QLatin1String(row.name));
        button->setGeometry(row.left, row.top, row.width, row.height);
        button->setVisible(row.visible);
        this->*row.member = button;
        tabOrder.emplace_back(row.tabOrder, button);
    }
    connect(ConfigButton, &QPushButton::clicked, this,
            [this] { Guarded([&] { ConfigButtonClick(ConfigButton); }); });
    connect(UseButton, &QPushButton::clicked, this,
            [this] { Guarded([&] { UseButtonClick(UseButton); }); });

    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    // The edit/up-down partner links are set here once, before any of the
    // eight controls can raise a change event, and again whenever the focus
    // enters the panel.
    COMBasePanel->OnEnter = [this](QObject* s) { COMBasePanelEnter(s); };
    COMBasePanelEnter(COMBasePanel);
}
