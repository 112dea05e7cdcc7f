// The highlights over the card photograph and the option panels they show.
#include "template.h"

#include "SetupCtrls.h"

void TMainForm::createBoardLayout() {}

void TMainForm::resolveReferences() { BoardImage1->SetMenu(MainMenu1); }
