// Gallery entries for the copy dialog on its own: a small book and a small
// directory built in memory, ready to be copied into any folder on disk.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <memory>

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;

std::shared_ptr<ParameterBook> axis_book()
{
    auto book = std::make_shared<ParameterBook>();
    auto speed = std::make_shared<Parameter>();
    speed->set("max", 120.0);
    speed->set("unit", "mm/s");
    speed->set_description("en_US", "Top speed of the axis");
    speed->set_description("zh_CN", "轴的最高速度");
    book->set("speed", speed);
    auto home = std::make_shared<Parameter>();
    home->set("offset", 5);
    home->set_description("en_US", "Home offset");
    book->set("home", home);
    return book;
}

GalleryEntry copy_book{"Parameter tree", "ParaTreeCopyDialog (a book)", [](wxWindow* parent) {
    ParaTreeCopyDialog dialog(parent, {"motor", "axis"}, axis_book());
    dialog.ShowModal();
}};

GalleryEntry copy_directory{"Parameter tree", "ParaTreeCopyDialog (a directory)", [](wxWindow* parent) {
    auto motor = std::make_shared<ParameterDirectory>();
    motor->set("axis", axis_book());
    ParaTreeCopyDialog dialog(parent, {"motor"}, motor);
    dialog.ShowModal();
}};

GalleryEntry copy_parameter{"Parameter tree", "ParaTreeCopyDialog (a parameter)", [](wxWindow* parent) {
    ParaTreeCopyDialog dialog(parent, {"motor", "axis", "speed"}, axis_book()->get("speed"));
    dialog.ShowModal();
}};

}  // namespace
}  // namespace ovk_gallery
