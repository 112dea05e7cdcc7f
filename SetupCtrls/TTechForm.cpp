#include "TTechForm.h"

#include <QKeyEvent>
#include <QPushButton>

TTechForm::TTechForm(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}

void TTechForm::keyPressEvent(QKeyEvent* e)
{
    // Close is the window's cancel button.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && CloseButton) {
        CloseButton->click();
        return;
    }
    QWidget::keyPressEvent(e);
}
