// Gallery entries for the parameter tree editor. The sample tree in demo/ is
// copied to a temporary folder first, so saving from the editor never changes
// the copy kept with the sources.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <wx/frame.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

namespace fs = std::filesystem;

// A fresh temporary folder holding a copy of the sample tree, removed again
// when the entry's dialog has closed.
class SampleTreeCopy {
public:
    SampleTreeCopy()
    {
        std::string pattern = (fs::temp_directory_path() / "ovk-gallery-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("Could not create a temporary folder for the sample tree.");
        holder_ = pattern;
        tree_ = holder_ / "sample_tree";
        fs::copy(fs::path(demo_dir().utf8_string()) / "sample_tree", tree_, fs::copy_options::recursive);
    }
    ~SampleTreeCopy()
    {
        std::error_code ignored;
        fs::remove_all(holder_, ignored);
    }
    SampleTreeCopy(const SampleTreeCopy&) = delete;
    SampleTreeCopy& operator=(const SampleTreeCopy&) = delete;

    wxString folder() const { return from_utf8(tree_.string()); }
    const fs::path& path() const { return tree_; }

private:
    fs::path holder_;
    fs::path tree_;
};

GalleryEntry sample_tree{"Parameter tree", "ParameterTreeDialog (sample tree)", [](wxWindow* parent) {
    SampleTreeCopy copy;
    ParameterTreeDialog dialog(parent, copy.folder());
    dialog.ShowModal();
}, true};

GalleryEntry sample_tree_all_options{
    "Parameter tree", "ParameterTreeDialog (sample tree, every option on)", [](wxWindow* parent) {
        SampleTreeCopy copy;
        ParameterTreeDialog dialog(parent, copy.folder(), ParameterTreeEditorOptions::all());
        dialog.ShowModal();
    }};

GalleryEntry empty_editor{"Parameter tree", "ParameterTreeDialog (empty, load a folder)", [](wxWindow* parent) {
    ParameterTreeDialog dialog(parent);
    dialog.ShowModal();
}, true};

// The child of `parent` whose text is `text`; an invalid item when none.
wxTreeItemId child_item(wxTreeCtrl& tree, const wxTreeItemId& parent, const wxString& text)
{
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie))
        if (tree.GetItemText(item) == text)
            return item;
    return {};
}

// The editor as someone working with the keyboard sees it: a book open, the
// keyboard on one of its parameters.
GalleryEntry keyboard_focus{"Parameter tree", "ParameterTreeDialog (keyboard on a parameter)", [](wxWindow* parent) {
    SampleTreeCopy copy;
    ParameterTreeDialog dialog(parent, copy.folder(), ParameterTreeEditorOptions::all());
    dialog.CallAfter([&dialog] {
        ParameterTreeEditorPanel& panel = *dialog.panel();
        const wxTreeItemId station = child_item(*panel.ui_tree, panel.ui_tree->GetRootItem(), wxS("station"));
        if (!station.IsOk())
            return;
        panel.ui_tree->SelectItem(station);
        panel.ui_book->SetFocus();
        panel.ui_book->SetGridCursor(1, 0);
        panel.ui_book->SelectRow(1);
    });
    dialog.ShowModal();
}};

// Save after a value was changed here and the same book on disk by someone
// else: the question names the book and shows both values.
GalleryEntry changed_on_both_sides{
    "Parameter tree", "Save: a book changed here and on disk", [](wxWindow* parent) {
        SampleTreeCopy copy;
        auto* frame = new wxFrame(parent, wxID_ANY, wxS("ovk-paratree-editor"), wxDefaultPosition, wxSize(900, 560));
        auto* panel = new ParameterTreeEditorPanel(frame, copy.folder(), nullptr, ParameterTreeEditorOptions::all());
        frame->Show();
        panel->root->get_book("station")->get("station_name")->set("value", "Bench 7 (night shift)");
        auto theirs = ovk_paratree::ParameterDirectory::load(copy.path());
        theirs->get_book("station")->get("station_name")->set("value", "Bench 8");
        theirs->save(copy.path());
        panel->save();
        frame->Destroy();
    }};

// A tree with a book that cannot be read: loaded all the same, the book
// marked in the tree (its error as the tooltip) and listed in a notice.
GalleryEntry unreadable_book{"Parameter tree", "ParameterTreeDialog (a book that cannot be read)", [](wxWindow* parent) {
    SampleTreeCopy copy;
    std::ofstream(copy.path() / "motion" / "坏的轴.pbook")
        << "{\"format\": \"ovk-parameter-book\",\n \"version\": 1,\n \"parameters\": {},\n}\n";
    ParameterTreeDialog dialog(parent, wxString(), ParameterTreeEditorOptions::all());
    // Loaded once the dialog shows, so that it stands behind the notice.
    dialog.CallAfter([&dialog, &copy] {
        ParameterTreeEditorPanel& panel = *dialog.panel();
        show_errors([&] { panel.load_directory(copy.folder()); });
        panel.ui_tree_path->SetValue(copy.folder());
        const wxTreeItemId motion = child_item(*panel.ui_tree, panel.ui_tree->GetRootItem(), wxS("motion"));
        const wxTreeItemId broken = motion.IsOk() ? child_item(*panel.ui_tree, motion, from_utf8("坏的轴")) : motion;
        if (broken.IsOk())
            panel.ui_tree->SelectItem(broken);
    });
    dialog.ShowModal();
}};

}  // namespace
}  // namespace ovk_gallery
