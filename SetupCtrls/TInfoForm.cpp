#include "TInfoForm.h"

#include <QKeyEvent>
#include <QPushButton>

TInfoForm::TInfoForm(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}

void TInfoForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && CloseButton) {
        CloseButton->click();
        return;
    }
    QWidget::keyPressEvent(e);
}
