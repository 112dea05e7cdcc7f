// Children of the port resources panel.
#include "template.h"

void TMainForm::createPortLayout() {}
