#include "template.h"

#include "Application.h"
#include "MessageBox.h"
#include "PortIo.h"
#include "SetupCtrls.h"
#include "TSetupSupporter.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPointer>

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);

    // Creation order is stacking order among siblings: board image and its
    // highlights, the option panels with their children, menu, supporter.
    createWindowLayout();
    createBoardLayout();
    createAddressLayout();
    createPortLayout();
    createMenuAndSupporter();
    resolveReferences();

    FormCreate(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate(QObject*)
{
    if (auto* app = TApplication::Instance(); app && SetSup)
        app->SetOnIdle([sup = QPointer<TSetupSupporter>(SetSup)](QObject* s, bool& done) {
            if (sup) // the window, and with it the supporter, may be gone
                sup->IdleStart(s, done);
        });
    if (ClockCombo)
        ClockCombo->setCurrentIndex(0);
    if (DFCombo)
        DFCombo->setCurrentIndex(0);
    if (DittoLabel) {
        QFont f = DittoLabel->font();
        f.setBold(true);
        DittoLabel->setFont(f);
    }

    // Driver probe: the port-I/O library answers 0xAA55 (in the low 16 bits)
    // when its kernel driver is missing; the value read itself is not used.
    if ((PortIo().InPortB(0x61) & 0xFFFF) == 0xAA55) {
        MsgBox::Show(nullptr,
                     QStringLiteral("DOVODUZ.SYS not detected. Please copy DOVODUZ.SYS into "
                                    "[NT]/system32/drivers and re-run this setup program."),
                     QStringLiteral("Warning"), MsgBox::Buttons::OkCancel, MsgBox::Icon::None);
    }
}

void TMainForm::Exit2Click(QObject*) { close(); }

namespace {
// Shows one of the supporter's windows without blocking: the one window it
// built, brought up again (restored when minimised) when already open.
void showWindow(QWidget* w)
{
    if (!w)
        return;
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}
} // namespace

void TMainForm::Howtousethisprogram1Click(QObject*) { showWindow(SetSup ? SetSup->HelpForm : nullptr); }

void TMainForm::TechnicalSupport1Click(QObject*) { showWindow(SetSup ? SetSup->TechForm : nullptr); }
