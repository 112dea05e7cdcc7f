#pragma once

// The board-view components and the setup supporter.
#include "TBoardHighlight.h"
#include "TBoardImage.h"
#include "TPopupForm.h"
#include "TRadioPanel.h"
#include "TSetupSupporter.h"
#include "TTwoJumper.h"
#include "FormGeometry.h"
#include "THelpForm.h"
#include "TPCIForm.h"
#include "TTechForm.h"
