#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"

#include "wxtools/dialogs/auto_close_message_box.h"
#include "wxtools/dialogs/choose_one_button_dialog.h"
#include "wxtools/dialogs/multiple_input_dialog.h"
#include "wxtools/dialogs/progress_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/dialogs/true_or_false_dialog.h"
#include "wxtools/dialogs/wait_for_dialog.h"
#include "platform/paratree/paratree.h"
