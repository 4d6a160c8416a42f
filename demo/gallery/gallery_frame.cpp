// The gallery program: a frame with every entry, grouped; double-click or
// "Open" runs the entry. `ovk-gallery --open NAME` opens one entry at start;
// `ovk-gallery --screenshots DIR` saves a picture of each entry and quits.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <wx/button.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/stdpaths.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <cstdio>
#include <string>

namespace ovk_gallery {

namespace {

std::vector<GalleryEntry*>& registry()
{
    static std::vector<GalleryEntry*> entries;
    return entries;
}

class EntryData : public wxTreeItemData {
public:
    explicit EntryData(const GalleryEntry* e) : entry(e) {}
    const GalleryEntry* entry;
};

class GalleryFrame : public wxFrame {
public:
    GalleryFrame(const wxString& open_first, const wxString& screenshots_dir)
        : wxFrame(nullptr, wxID_ANY, "ovk_wxtools gallery", wxDefaultPosition, wxSize(520, 940))
    {
        auto* panel = new wxPanel(this);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        auto* intro = new wxStaticText(panel, wxID_ANY,
            "Every piece of the library, ready to try. Double-click an entry or select it and press Open.");
        intro->Wrap(480);
        sizer->Add(intro, 0, wxALL | wxEXPAND, 10);

        tree_ = new wxTreeCtrl(panel, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                               wxTR_DEFAULT_STYLE | wxTR_HIDE_ROOT | wxTR_SINGLE);
        const wxTreeItemId root = tree_->AddRoot("pieces");
        std::map<wxString, wxTreeItemId> groups;
        wxTreeItemId first_match;
        for (const GalleryEntry* entry : gallery_entries()) {
            auto [it, added] = groups.try_emplace(entry->group);
            if (added)
                it->second = tree_->AppendItem(root, entry->group);
            wxTreeItemId item = tree_->AppendItem(it->second, entry->name, -1, -1, new EntryData(entry));
            if (!open_first.empty() && entry->name == open_first)
                first_match = item;
        }
        tree_->ExpandAll();
        sizer->Add(tree_, 1, wxLEFT | wxRIGHT | wxEXPAND, 10);

        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        auto* quit = new wxButton(panel, wxID_EXIT, "Quit");
        auto* open = new wxButton(panel, wxID_OPEN, "Open");
        open->SetDefault();
        buttons->Add(quit, 0, wxALL, 5);
        buttons->AddStretchSpacer(1);
        buttons->Add(open, 0, wxALL, 5);
        sizer->Add(buttons, 0, wxALL | wxEXPAND, 5);
        panel->SetSizer(sizer);

        tree_->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& e) { open_item(e.GetItem()); });
        open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { open_item(tree_->GetSelection()); });
        quit->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
        Centre(wxBOTH);

        if (!screenshots_dir.empty())
            CallAfter([this, screenshots_dir] { start_screenshot_tour(this, screenshots_dir); });
        else if (first_match.IsOk()) {
            tree_->SelectItem(first_match);
            CallAfter([this, first_match] { open_item(first_match); });
        }
    }

private:
    void open_item(const wxTreeItemId& item)
    {
        if (!item.IsOk())
            return;
        auto* data = dynamic_cast<EntryData*>(tree_->GetItemData(item));
        if (!data)
            return;
        try {
            data->entry->open(this);
        } catch (const std::exception& error) {
            ovk_wxtools::MB::Error(ovk_wxtools::from_utf8(error.what()));
        }
    }

    wxTreeCtrl* tree_;
};

}  // namespace

GalleryEntry::GalleryEntry(const wxString& g, const wxString& n, std::function<void(wxWindow*)> o, bool f)
    : group(g), name(n), open(std::move(o)), first(f)
{
    registry().push_back(this);
}

std::vector<const GalleryEntry*> gallery_entries()
{
    // Groups in a fixed reading order (the library's own order); unknown groups last.
    static const wxString order[] = {"Application", "Message boxes", "Prompt dialogs", "Bound controls",
                                     "Parameter tree", "Alarm dashboard"};
    auto rank = [](const wxString& group) {
        auto it = std::find(std::begin(order), std::end(order), group);
        return static_cast<int>(it - std::begin(order));
    };
    std::vector<const GalleryEntry*> entries(registry().begin(), registry().end());
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const GalleryEntry* a, const GalleryEntry* b) {
                         if (rank(a->group) != rank(b->group))
                             return rank(a->group) < rank(b->group);
                         return a->first && !b->first;
                     });
    return entries;
}

wxString demo_dir()
{
    // Next to the sources when built here; installed, the package's data folder.
    if (wxDirExists(ovk_wxtools::from_utf8(OVK_DEMO_DIR)))
        return ovk_wxtools::from_utf8(OVK_DEMO_DIR);
    wxFileName installed(wxStandardPaths::Get().GetExecutablePath());
    installed.RemoveLastDir();
    installed.AppendDir(wxS("share"));
    installed.AppendDir(wxS("ovk_wxtools"));
    return installed.GetPath();
}

}  // namespace ovk_gallery

int main(int argc, char** argv)
{
    wxString open_first;
    wxString screenshots_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::printf("usage: ovk-gallery [--open ENTRY] [--screenshots DIR]\n"
                        "Shows every piece of the library; --open opens one entry at once,\n"
                        "--screenshots takes a picture of every entry into DIR.\n");
            return 0;
        }
        if (arg == "-V" || arg == "--version") {
            std::printf("ovk-gallery %s\n", OVK_VERSION);
            return 0;
        }
    }
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--open")
            open_first = ovk_wxtools::from_utf8(argv[i + 1]);
        else if (std::string(argv[i]) == "--screenshots")
            screenshots_dir = ovk_wxtools::from_utf8(argv[i + 1]);
    }
    try {
        ovk_wxtools::run_wxapp<ovk_gallery::GalleryFrame>(open_first, screenshots_dir);
        if (ovk_gallery::screenshot_failures() > 0)
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ovk-gallery: %s\n", error.what());
        return 1;
    }
    return 0;
}
