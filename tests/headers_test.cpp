// Every public header, and every template instantiated with std::string,
// compiled as the library itself is: with wxNO_IMPLICIT_WXSTRING_ENCODING,
// where a narrow string reaching wxString through the C locale does not
// compile. The tests check that the std::string paths read UTF-8.
#include "wxtools/wxtools.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/listbox.h>

#include <string>
#include <tuple>
#include <vector>

#ifndef wxNO_IMPLICIT_WXSTRING_ENCODING
#error "this file checks the headers under wxNO_IMPLICIT_WXSTRING_ENCODING"
#endif

namespace ovk_wxtools {
template class ComboList<std::string>;
template class ComboList<const char*>;
template class RowGrid<std::string>;
template class RowGrid<std::vector<std::string>>;
template class RowGrid<std::tuple<std::string, int, double>>;
template wxString cell_text<std::string>(const std::string&);
template wxString _simple_get_info<std::string>(const std::string&);
template wxString to_wxstring<std::string>(const std::string&);
template CellValue::CellValue(const std::string&);
}  // namespace ovk_wxtools

using namespace ovk_wxtools;

namespace {

class NamedDialog : public wxDialog {
public:
    explicit NamedDialog(const std::string& title) : wxDialog(nullptr, wxID_ANY, from_utf8(title)) {}
};

// Instantiates the function templates with std::string; compiled, never run.
[[maybe_unused]] void instantiate()
{
    run_wxapp<NamedDialog>(std::string("电压"));
    MB::Input(wxS("n"), [](const wxString& text) { return text.utf8_string(); });
    show_errors([] {});
    InputDefault narrow(std::string("5"));
    WaitForDialog::Answer answer(std::string("等待"));
}

const wxString power = wxString::FromUTF8("电压");

class HeadersTest : public ::testing::Test {
protected:
    HeadersTest() : frame(new wxFrame(nullptr, wxID_ANY, wxS("headers"))) {}
    ~HeadersTest() override { frame->Destroy(); }
    wxFrame* frame;
};

}  // namespace

TEST_F(HeadersTest, StdStringObjectsShowAsUtf8)
{
    ComboList<std::string> list(new wxListBox(frame, wxID_ANY));
    list.Append(std::string("电压"));
    EXPECT_EQ(list.control->GetString(0), power);

    auto* grid = new wxGrid(frame, wxID_ANY);
    grid->CreateGrid(0, 3);
    RowGrid<std::tuple<std::string, int, double>> rows(grid);
    rows.Append({"电压", 5, 2.5});
    EXPECT_EQ(grid->GetCellValue(0, 0), power);
    EXPECT_EQ(grid->GetCellValue(0, 2), wxS("2.5"));
}
