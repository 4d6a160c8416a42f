#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"

#include "platform/paratree/paratree.h"

#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"
#include "wxtools/paratree/parameter_tree_dialog.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"
#include "wxtools/paratree/value_display_text.h"
