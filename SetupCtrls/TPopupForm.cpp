#include "TPopupForm.h"

#include "TBoardHighlight.h"

TPopupForm::TPopupForm(TBoardHighlight* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), m_highlight(owner)
{
}
