// Children of the control base address, baud clock and port disable panels.
#include "template.h"

void TMainForm::createAddressLayout() {}
