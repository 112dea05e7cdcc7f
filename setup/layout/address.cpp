// Children of the control base address, baud clock and port disable panels.
#include "template.h"

#include "SetupCtrls.h"

#include <QLineEdit>

void TMainForm::createAddressLayout()
{
    BaseEdit = new QLineEdit(QStringLiteral("300"), BasePanel);
    BaseEdit->setObjectName(QStringLiteral("BaseEdit"));
    BaseEdit->setGeometry(64, 7, 57, 21);
}
