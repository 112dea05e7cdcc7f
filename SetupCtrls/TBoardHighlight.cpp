#include "TBoardHighlight.h"

TBoardHighlight::TBoardHighlight(QWidget* owner) : QWidget(owner) { resize(65, 65); }

void TBoardHighlight::MouseEnter(bool) {}
void TBoardHighlight::MouseLeave(bool) {}
void TBoardHighlight::Click() {}
