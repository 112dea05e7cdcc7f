#include "THelpForm.h"

#include "TBoardImage.h"
#include "TSetupSupporter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

THelpForm::THelpForm(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}

void THelpForm::StartButtonClick(QObject*)
{
    hide();
    QWidget* client = MainWindowClient(MainWindowOf(parentWidget()));
    if (!client)
        return;
    for (QObject* child : client->children()) {
        if (dynamic_cast<TBoardImage*>(child)) {
            QEvent show(WM_SHOWFIRSTHIGHLIGHT);
            QCoreApplication::sendEvent(child, &show);
            return;
        }
    }
}

void THelpForm::keyPressEvent(QKeyEvent* e)
{
    // Start is both the default and the cancel button.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (StartButton && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            StartButton->click();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(e);
}

void THelpForm::showEvent(QShowEvent* e)
{
    // Centred over the main window each time it is shown.
    if (!e->spontaneous()) {
        if (QWidget* main = MainWindowOf(parentWidget()); main && main != this) {
            const QRect over = main->frameGeometry();
            QRect r = frameGeometry();
            r.moveCenter(over.center());
            move(r.topLeft());
        }
    }
    QWidget::showEvent(e);
}
