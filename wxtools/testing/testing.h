#pragma once
// The testing kit of ovk_wxtools: scripted answers for every modal dialog,
// a record of what each showed, and helpers to act on real windows. It ties
// to no test framework; wxtools/testing/gtest.h adds GoogleTest glue.
#include "wxtools/testing/actions.h"
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/failure.h"
#include "wxtools/testing/shown_dialog.h"
#include "wxtools/testing/toolkit.h"
#include "wxtools/testing/ui.h"
