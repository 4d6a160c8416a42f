#pragma once
// What the parameter tree editor offers beyond its plain form. Every field is
// off by default, and the editor then behaves exactly as it always did; a
// tool that edits trees every day turns them on (the stand-alone editor does).
#include <string>

namespace ovk_wxtools {

struct ParameterTreeEditorOptions {
    // A third grid column with each parameter's main value: its attribute
    // "value" when it has one, else a short summary of its attributes, both
    // as the book file writes them (true, null, [1,2]; a text as it is). It
    // takes the room its values need, up to half the free width, and a value
    // it cuts shows whole in a tooltip.
    bool value_column = false;
    // Tracks unsaved changes: modified() and EVT_PARAMETER_TREE_MODIFIED,
    // changed books and directories in bold, a "*" before the window title,
    // and Save / Discard / Cancel before a load, a reload or closing the
    // window would drop them.
    bool unsaved_guard = false;
    // Kept for callers that set it. Every save now takes in first what
    // someone else changed on disk and asks about books changed on both
    // sides (Keep theirs / Use mine / Cancel), with or without this field.
    bool check_disk_before_save = false;
    // "Rename..." renames the selected parameter and F2 the selected tree
    // item; "View..." opens the parameter read-only.
    bool rename = false;
    // A search box over the whole tree; Enter selects the next match.
    bool find = false;
    // Double-click on a parameter edits it, Delete deletes the selected
    // parameters (after a question), Ctrl+S saves, and the first level of a
    // loaded tree is shown expanded.
    bool keyboard = false;
    // Cancel in the parameter editor puts the parameter back as it was when
    // the editor opened, changes made in its sub-dialogs included.
    bool cancel_restores = false;
    // The locale whose descriptions the grid and the editors show (falling
    // back to any non-empty one), such as "zh_CN"; empty keeps the model's.
    std::string description_locale{};
    // Save's success message goes out as EVT_PARAMETER_TREE_SAVED (its
    // string) instead of a notice box, for a window that shows it in its
    // status bar; all() leaves it off, since a dialog has no status bar.
    bool save_notice_as_event = false;
    // ParameterTreeDialog gets a resize border.
    bool resizable_dialog = false;
    // The folder chooser of Load and Save To opens at the tree's folder (the
    // home folder before a tree is loaded), where a path can be typed at once.
    bool chooser_at_tree_folder = false;
    // Lists and mappings are edited on several lines in the attribute
    // editor, and a JSON error there names its line and column.
    bool json_editor = false;
    // A book that cannot be read (broken JSON, a value of the wrong type)
    // does not stop a load: the tree shows it marked (an error picture, red,
    // the error as its tooltip), a notice lists it, it cannot be opened,
    // renamed or deleted here, and saves leave its file exactly as it is.
    bool tolerate_unreadable_books = false;

    // Everything on; the locale stays to be chosen.
    static ParameterTreeEditorOptions all()
    {
        return {.value_column = true,
                .unsaved_guard = true,
                .check_disk_before_save = true,
                .rename = true,
                .find = true,
                .keyboard = true,
                .cancel_restores = true,
                .resizable_dialog = true,
                .chooser_at_tree_folder = true,
                .json_editor = true,
                .tolerate_unreadable_books = true};
    }
};

}  // namespace ovk_wxtools
