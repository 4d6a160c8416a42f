// The tree editor driven as a person would on a copy of the sample tree: the
// buttons of the panel, the real editor dialogs inside, save, reload from disk.
#include "tests/paratree/tree_panel_fixture.h"

#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include <algorithm>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::Value;
using ScalarEditor = ParameterScalarAttributeEditorDialog;
namespace fs = std::filesystem;

namespace {

fs::path sample_tree()
{
    // tests/paratree/ -> the repository
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "demo" / "sample_tree";
}

// Adds one attribute through the parameter editor's add button and the scalar editor.
void add_attribute(ParameterEditorDialog& editor, const wxString& name, int type, const wxString& text)
{
    dialogs().answer_text(name);
    dialogs().inside_as<ScalarEditor>([type, text](ScalarEditor& scalar) {
        ovk_wxtest::select(scalar.ui_type, type);
        if (scalar.type_is_bool())
            ovk_wxtest::select(scalar.ui_bool_value, text == "True" ? 0 : 1);
        else
            type_into(scalar.ui_value(), text);
        click(scalar.ui_ok_button);
    });
    click(editor.ui_add_button);
}

// Writes the description of the locale in `row` through the description editor.
void describe(DescriptionEditorDialog& descriptions, int row, const wxString& text)
{
    descriptions.ui_descriptions->ClearSelection();
    descriptions.ui_descriptions->SelectRow(row);
    dialogs().answer_text(text);
    click(descriptions.ui_edit_button);
}

int row_of_locale(wxGrid* grid, const wxString& locale)
{
    for (int row = 0; row < grid->GetNumberRows(); ++row)
        if (grid->GetCellValue(row, 0) == locale)
            return row;
    return -1;
}

class EndToEnd : public TreePanelTest {
protected:
    void SetUp() override
    {
        TreePanelTest::SetUp();
        ASSERT_TRUE(fs::is_directory(sample_tree())) << sample_tree();
        home = folder / "sample_tree";
        fs::copy(sample_tree(), home, fs::copy_options::recursive);
        make_panel(wx_path(home));
    }

    // Runs the panel's own button, as a click would.
    static void press(wxButton* button)
    {
        ASSERT_TRUE(button->IsEnabled()) << button->GetLabel();
        click(button);
    }

    void save()
    {
        dialogs().answer(wxID_OK);
        press(panel->ui_save_button);
        EXPECT_EQ(dialogs().last().message, "Save parameter to " + wx_path(home) + " success.");
    }

    // Loads the folder again through the panel's load button.
    void reload()
    {
        dialogs().answer_path(wx_path(home));
        press(panel->ui_load_button);
    }

    int row_of(const wxString& key) const
    {
        for (int row = 0; row < grid()->GetNumberRows(); ++row)
            if (grid()->GetCellValue(row, 0) == key)
                return row;
        return -1;
    }

    TempFolder folder;
    fs::path home;
};

}  // namespace

TEST_F(EndToEnd, WhatIsEnteredIsSavedAndWhatIsDeletedIsGone)
{
    const std::vector<std::string> sample_outline = outline();
    auto original = ParameterDirectory::load(home);
    ASSERT_FALSE(original->empty()) << "the sample tree should have content to edit";

    // A directory under the top item, and a book in it.
    tree()->SelectItem(tree()->GetRootItem());
    dialogs().answer_text("  Test bench ");
    press(panel->ui_add_directory_button);
    dialogs().answer_text("Calibration");
    press(panel->ui_add_book_button);
    ASSERT_EQ(tree()->GetSelection(), item({"Test bench", "Calibration"}));

    // A parameter with attributes of every kind and descriptions in both locales.
    dialogs().answer_text("gain");
    dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& editor) {
        add_attribute(editor, "count", 0, "42");
        add_attribute(editor, "factor", 1, "0.25");
        add_attribute(editor, "unit", 2, "mV");
        add_attribute(editor, "enabled", 3, "False");
        add_attribute(editor, "steps", 4, R"([1, 2.5, "x"])");
        add_attribute(editor, "limits", 4, R"({"low": -1, "high": 5})");
        dialogs().inside_as<DescriptionEditorDialog>([](DescriptionEditorDialog& descriptions) {
            describe(descriptions, row_of_locale(descriptions.ui_descriptions, "en_US"), "Gain of the input stage");
            describe(descriptions, row_of_locale(descriptions.ui_descriptions, "zh_CN"),
                     wxString::FromUTF8("输入级增益"));
            click(descriptions.ui_close_button);
        });
        click(editor.ui_descriptions_button);
        EXPECT_EQ(editor.ui_attributes->GetNumberRows(), 6);
        click(editor.ui_ok_button);
    });
    press(panel->ui_add_parameter_button);
    EXPECT_EQ(rows(), (std::vector<std::pair<wxString, wxString>>{{"gain", "Gain of the input stage"}}));
    EXPECT_EQ(dialogs().pending(), 0u);

    save();

    // From disk, as the model reads it.
    auto stored = ParameterDirectory::load(home);
    auto bench = stored->get_directory("Test bench");
    ASSERT_NE(bench, nullptr);
    auto calibration = bench->get_book("Calibration");
    ASSERT_NE(calibration, nullptr);
    auto gain = calibration->get("gain");
    ASSERT_NE(gain, nullptr);
    const std::vector<std::pair<std::string, Value>> attributes = {
        {"count", 42},
        {"factor", 0.25},
        {"unit", "mV"},
        {"enabled", false},
        {"steps", Value::parse(R"([1, 2.5, "x"])")},
        {"limits", Value::parse(R"({"low": -1, "high": 5})")},
    };
    EXPECT_EQ(gain->items(), attributes);
    EXPECT_TRUE(gain->get("count").is_number_integer());
    EXPECT_EQ(gain->get_description("en_US"), "Gain of the input stage");
    EXPECT_EQ(gain->get_description("zh_CN"), "输入级增益");
    // Everything that was there before is still there.
    for (const std::string& name : original->names())
        EXPECT_TRUE(stored->contains(name)) << name;

    // And as the editor shows it after loading the folder again.
    reload();
    // The model's order places the new directory among the others; without
    // it the view is the sample's as it was.
    std::vector<std::string> shown = outline();
    const auto at = std::find(shown.begin(), shown.end(), "  dir:Test bench");
    ASSERT_NE(at, shown.end());
    ASSERT_NE(at + 1, shown.end());
    EXPECT_EQ(*(at + 1), "    book:Calibration");
    shown.erase(at, at + 2);
    EXPECT_EQ(shown, sample_outline);
    select({"Test bench", "Calibration"});
    EXPECT_EQ(rows(), (std::vector<std::pair<wxString, wxString>>{{"gain", "Gain of the input stage"}}));

    // Now take some of it away again: the new parameter, and the first
    // directory and the first book of the sample.
    grid()->SelectRow(row_of("gain"));
    press(panel->ui_delete_parameter_button);
    EXPECT_EQ(grid()->GetNumberRows(), 0);

    std::string sample_directory, sample_book;
    for (const auto& [name, child] : original->items()) {
        if (sample_directory.empty() && std::dynamic_pointer_cast<ParameterDirectory>(child))
            sample_directory = name;
        if (sample_book.empty() && std::dynamic_pointer_cast<ParameterBook>(child))
            sample_book = name;
    }
    for (const std::string& name : {sample_directory, sample_book}) {
        if (name.empty())
            continue;
        select({name.c_str()});
        dialogs().answer(wxID_YES);
        press(panel->ui_delete_tree_item_button);
        EXPECT_EQ(tree()->GetSelection(), tree()->GetRootItem());
        EXPECT_FALSE(item({name.c_str()}).IsOk()) << name;
    }
    save();

    auto after = ParameterDirectory::load(home);
    EXPECT_TRUE(after->get_directory("Test bench")->get_book("Calibration")->empty());
    for (const std::string& name : original->names()) {
        const bool deleted = name == sample_directory || name == sample_book;
        EXPECT_EQ(after->contains(name), !deleted) << name;
    }

    reload();
    EXPECT_FALSE(item({sample_directory.c_str()}).IsOk() && !sample_directory.empty());
    EXPECT_FALSE(item({sample_book.c_str()}).IsOk() && !sample_book.empty());
    select({"Test bench", "Calibration"});
    EXPECT_EQ(grid()->GetNumberRows(), 0);
    EXPECT_EQ(dialogs().pending(), 0u);
}
