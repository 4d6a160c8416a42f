#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"

#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/big_event_dash_board.h"
#include "wxtools/dashboard/dashboard_sink.h"
#include "wxtools/dashboard/log_record.h"
