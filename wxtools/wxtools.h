#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"

#include "wxtools/controls/cell_value.h"
#include "wxtools/controls/combo_list.h"
#include "wxtools/controls/row_grid.h"
#include "wxtools/controls/plain_date.h"
#include "wxtools/controls/date_picker.h"
#include "wxtools/controls/auto_popup_combo_box.h"
#include "wxtools/controls/com_port_list.h"
