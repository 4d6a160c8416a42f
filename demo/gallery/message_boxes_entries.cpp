// Gallery entries for the message boxes and one-line input.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

GalleryEntry error_box{"Message boxes", "MB::Error", [](wxWindow*) { MB::Error("The device did not answer."); }};

GalleryEntry notice_box{"Message boxes", "MB::Notice", [](wxWindow*) { MB::Notice("Parameters saved."); }};

GalleryEntry confirm_box{"Message boxes", "MB::Confirm", [](wxWindow*) {
    const int answer = MB::Confirm("Start the measurement now?");
    MB::Notice(answer == wxYES ? "You answered Yes." : "You answered No.");
}};

GalleryEntry input_text{"Message boxes", "MB::Input (text)", [](wxWindow*) {
    if (auto text = MB::Input("Operator name:", "Input Dialog", "Ada"))
        MB::Notice("You typed \"" + *text + "\".");
}};

GalleryEntry input_int{"Message boxes", "MB::Input (whole number)", [](wxWindow*) {
    if (auto n = MB::Input("Number of samples:", MB::ToInt, "Input Dialog", 5))
        MB::Notice(wxString::Format("%lld samples.", static_cast<long long>(*n)));
}};

GalleryEntry input_double{"Message boxes", "MB::Input (real number)", [](wxWindow*) {
    if (auto x = MB::Input("Voltage limit in volts:", MB::ToDouble, "Input Dialog", 2.5))
        MB::Notice("Limit set to " + format_real(*x) + " V.");
}};

GalleryEntry simple_input{"Message boxes", "SimpleInputDialog", [](wxWindow* parent) {
    SimpleInputDialog dialog(parent);
    if (dialog.ShowModal() == wxID_OK)
        MB::Notice("You typed \"" + dialog.GetInputString() + "\".");
}};

GalleryEntry password_input{"Message boxes", "SimpleInputDialog (password)", [](wxWindow* parent) {
    SimpleInputDialog dialog(parent, from_utf8("请输入密码："), from_utf8("登录"), true);
    if (dialog.ShowModal() == wxID_OK)
        MB::Notice(wxString::Format("The password has %zu characters.", dialog.GetInputString().length()));
}};

}  // namespace
}  // namespace ovk_gallery
