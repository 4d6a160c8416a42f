#pragma once
// ovk_wxtools: ready-made wxWidgets pieces for desktop tools. Include this one header.
#include "wxtools/errors.h"
#include "wxtools/text.h"

// Application runner, window layout, message boxes and one-line input.
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/app/simple_app.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/utf8_ctype.h"
#include "wxtools/app/window_fit_layout.h"

// Prompt dialogs.
#include "wxtools/dialogs/auto_close_message_box.h"
#include "wxtools/dialogs/choose_one_button_dialog.h"
#include "wxtools/dialogs/multiple_input_dialog.h"
#include "wxtools/dialogs/progress_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/dialogs/true_or_false_dialog.h"
#include "wxtools/dialogs/wait_for_dialog.h"

// Controls bound to the caller's objects, and small control add-ons.
#include "wxtools/controls/auto_popup_combo_box.h"
#include "wxtools/controls/cell_value.h"
#include "wxtools/controls/com_port_list.h"
#include "wxtools/controls/combo_list.h"
#include "wxtools/controls/date_picker.h"
#include "wxtools/controls/plain_date.h"
#include "wxtools/controls/row_grid.h"

// Parameter-tree editing, with the model it works on.
#include "platform/paratree/paratree.h"
#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"
#include "wxtools/paratree/parameter_tree_dialog.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"
#include "wxtools/paratree/value_display_text.h"

// Alarm dashboard and its log side.
#include "wxtools/dashboard/alarm_code.h"
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/alarm_listener.h"
#include "wxtools/dashboard/alarm_state.h"
#include "wxtools/dashboard/big_event_dash_board.h"
#include "wxtools/dashboard/dashboard_options.h"
#include "wxtools/dashboard/dashboard_sink.h"
#include "wxtools/dashboard/journal_entry.h"
#include "wxtools/dashboard/journal_figures.h"
#include "wxtools/dashboard/log_record.h"
#ifndef OVK_NO_MQTT
#include "wxtools/dashboard/alarm_publisher.h"
#include "wxtools/dashboard/alarm_subscriber.h"
#include "wxtools/dashboard/mqtt_options.h"
#include "wxtools/dashboard/plant_dashboard.h"
#endif

// Helpers the pieces above hand out.
#include "platform/handy/file_system_observer.h"
#include "platform/handy/progress.h"
#include "platform/handy/timestamp.h"
