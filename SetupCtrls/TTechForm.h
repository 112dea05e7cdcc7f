#pragma once

#include "TInfoForm.h"

class QPlainTextEdit;

// The technical-support window. The setup supporter creates its controls.
class TTechForm : public TInfoForm
{
public:
    using TInfoForm::TInfoForm;

    QPlainTextEdit* TechMemo = nullptr;
};
