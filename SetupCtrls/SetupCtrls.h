#pragma once

// The board-view components and the setup supporter.
#include "TBoardHighlight.h"
#include "TBoardImage.h"
#include "TPopupForm.h"
#include "TRadioPanel.h"
#include "TSetupSupporter.h"
