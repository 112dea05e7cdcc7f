#include "TPCIForm.h"

#include <QKeyEvent>
#include <QPushButton>

TPCIForm::TPCIForm(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}

void TPCIForm::keyPressEvent(QKeyEvent* e)
{
    // Close is the window's cancel button.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && CloseButton) {
        CloseButton->click();
        return;
    }
    QWidget::keyPressEvent(e);
}
