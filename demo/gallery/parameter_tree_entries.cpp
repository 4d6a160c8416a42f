// Gallery entries for the parameter tree editor. The sample tree in demo/ is
// copied to a temporary folder first, so saving from the editor never changes
// the copy kept with the sources.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <cstdlib>
#include <filesystem>
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

}  // namespace
}  // namespace ovk_gallery
