#pragma once
// Shared by the tests of the tree editor panel: a host frame for the panel,
// a temporary folder, small books, and readers of the tree view and the grid.
#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "platform/paratree/paratree.h"
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <wx/frame.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ovk_wxtest {

// A folder of its own for one test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ovk-editing-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A book of parameters, each with an English description and one attribute.
inline std::shared_ptr<ovk_paratree::ParameterBook> make_book(
    const std::vector<std::pair<std::string, std::string>>& parameters)
{
    auto book = std::make_shared<ovk_paratree::ParameterBook>();
    for (const auto& [name, description] : parameters) {
        auto parameter = std::make_shared<ovk_paratree::Parameter>();
        parameter->set_description("en_US", description);
        parameter->set("value", 1);
        book->set(name, parameter);
    }
    return book;
}

inline wxString wx_path(const std::filesystem::path& path)
{
    return wxString::FromUTF8(path.string());
}

class TreePanelTest : public ::testing::Test {
protected:
    using Panel = ovk_wxtools::ParameterTreeEditorPanel;

    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "host");
        frame->Show();
    }
    void TearDown() override
    {
        frame->Destroy();
        flush_events();
    }

    Panel* make_panel(const wxString& path = wxEmptyString,
                      std::shared_ptr<ovk_paratree::ParameterDirectory> directory = nullptr,
                      Panel::Options options = {})
    {
        panel = new Panel(frame, path, std::move(directory), std::move(options));
        frame->Layout();
        return panel;
    }

    wxTreeCtrl* tree() const { return panel->ui_tree; }
    wxGrid* grid() const { return panel->ui_book; }

    // The item reached from the root item through the texts of `path`.
    wxTreeItemId item(std::initializer_list<const char*> path) const
    {
        wxTreeItemId at = tree()->GetRootItem();
        for (const char* text : path) {
            wxTreeItemId found;
            wxTreeItemIdValue cookie;
            for (wxTreeItemId c = tree()->GetFirstChild(at, cookie); c.IsOk(); c = tree()->GetNextChild(at, cookie))
                if (tree()->GetItemText(c) == wxString::FromUTF8(text))
                    found = c;
            if (!found.IsOk())
                return {};
            at = found;
        }
        return at;
    }

    void select(std::initializer_list<const char*> path)
    {
        const wxTreeItemId target = item(path);
        ASSERT_TRUE(target.IsOk());
        tree()->SelectItem(target);
    }

    std::vector<wxString> children(const wxTreeItemId& parent) const
    {
        std::vector<wxString> texts;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree()->GetFirstChild(parent, cookie); c.IsOk(); c = tree()->GetNextChild(parent, cookie))
            texts.push_back(tree()->GetItemText(c));
        return texts;
    }

    // The view depth first, one line per item: indent, picture kind, text.
    std::vector<std::string> outline() const
    {
        std::vector<std::string> lines;
        if (tree()->GetRootItem().IsOk())
            walk(tree()->GetRootItem(), 0, lines);
        return lines;
    }

    std::vector<std::pair<wxString, wxString>> rows() const
    {
        std::vector<std::pair<wxString, wxString>> cells;
        for (int r = 0; r < grid()->GetNumberRows(); ++r)
            cells.emplace_back(grid()->GetCellValue(r, 0), grid()->GetCellValue(r, 1));
        return cells;
    }

    void select_rows(std::initializer_list<int> numbers)
    {
        grid()->ClearSelection();
        for (int row : numbers)
            grid()->SelectRow(row, true);
    }

    // add, edit, delete, rename, view, copy
    std::vector<bool> parameter_buttons() const
    {
        return {panel->ui_add_parameter_button->IsEnabled(), panel->ui_edit_parameter_button->IsEnabled(),
                panel->ui_delete_parameter_button->IsEnabled(), panel->ui_rename_parameter_button->IsEnabled(),
                panel->ui_view_parameter_button->IsEnabled(), panel->ui_copy_parameter_button->IsEnabled()};
    }

    static std::vector<std::string> names_of(const ovk_paratree::ParameterDirectory& directory)
    {
        return directory.names();
    }

    wxFrame* frame = nullptr;
    Panel* panel = nullptr;

private:
    void walk(const wxTreeItemId& at, int depth, std::vector<std::string>& lines) const
    {
        const int image = tree()->GetItemImage(at);
        const char* kind = image == Panel::_ImageDirectory ? "dir" : image == Panel::_ImageBook ? "book" : "?";
        lines.push_back(std::string(depth * 2, ' ') + kind + ":" + tree()->GetItemText(at).utf8_string());
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree()->GetFirstChild(at, cookie); c.IsOk(); c = tree()->GetNextChild(at, cookie))
            walk(c, depth + 1, lines);
    }
};

inline const std::vector<bool> kButtonsAllOff(6, false);
inline const std::vector<bool> kButtonsAddOnly = {true, false, false, false, false, false};
inline const std::vector<bool> kButtonsAllOn(6, true);

}  // namespace ovk_wxtest
