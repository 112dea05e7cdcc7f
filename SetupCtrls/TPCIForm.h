#pragma once

#include "TInfoForm.h"

class QPlainTextEdit;

// The installed-cards window. The setup supporter creates its controls.
class TPCIForm : public TInfoForm
{
public:
    using TInfoForm::TInfoForm;

    QPlainTextEdit* PCIMemo = nullptr;
};
