#pragma once
// The gallery's list of entries. A file adds its entries with one block each:
//
//   static GalleryEntry shows_error{"Message boxes", "MB::Error",
//       [](wxWindow* parent) { ovk_wxtools::MB::Error("Something failed."); }};
#include <wx/string.h>
#include <wx/window.h>

class wxFrame;

#include <functional>
#include <vector>

namespace ovk_gallery {

struct GalleryEntry {
    // `first` puts the entry at the top of its group (the group's main piece).
    GalleryEntry(const wxString& group, const wxString& name, std::function<void(wxWindow* parent)> open,
                 bool first = false);

    wxString group;
    wxString name;
    std::function<void(wxWindow* parent)> open;
    bool first;
};

// Every entry in the order its group first appeared, then by registration.
std::vector<const GalleryEntry*> gallery_entries();

// Folder of the gallery's sample files (the sample parameter tree and such).
wxString demo_dir();

// `--screenshots DIR`: pictures every entry into DIR, then closes `gallery`.
void start_screenshot_tour(wxFrame* gallery, const wxString& dir);

// Entries that gave no picture in the tour.
int screenshot_failures();

}  // namespace ovk_gallery
