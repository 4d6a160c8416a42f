#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"

#include "platform/handy/file_system_observer.h"
#include "platform/paratree/paratree.h"

#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_tree_dialog.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"
