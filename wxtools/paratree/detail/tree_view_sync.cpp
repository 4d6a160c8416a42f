#include "wxtools/paratree/detail/tree_view_sync.h"

#include "wxtools/paratree/value_display_text.h"
#include "wxtools/text.h"

#include <wx/artprov.h>
#include <wx/dcclient.h>
#include <wx/filename.h>
#include <wx/imaglist.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <typeinfo>
#include <unordered_map>
#include <utility>

// The two tree pictures, compiled in from resources/.
extern const unsigned char ovk_resource_folder_png[];
extern const std::size_t ovk_resource_folder_png_size;
extern const unsigned char ovk_resource_book_png[];
extern const std::size_t ovk_resource_book_png_size;

namespace ovk_wxtools::detail {

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;

namespace {

// Image-list indexes, as the panel sets them up.
constexpr int kImageDirectory = 0;
constexpr int kImageBook = 1;
constexpr int kImageUnreadable = 2;

constexpr int kImageWidth = 12;
constexpr int kImageHeight = 16;

// A picture of the image list, cut to the list's width from the left (the
// folder picture is one pixel wider; its last column is blank).
wxBitmap tree_picture(const unsigned char* png, std::size_t size)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(png, size);
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    if (image.GetWidth() > kImageWidth)
        image = image.GetSubImage(wxRect(0, 0, kImageWidth, image.GetHeight()));
    return wxBitmap(image);
}

// The error picture, as wide as the others, centred in their height.
wxBitmap unreadable_picture()
{
    wxImage image = wxArtProvider::GetBitmap(wxASCII_STR(wxART_ERROR), wxASCII_STR(wxART_MENU)).ConvertToImage();
    image.Rescale(kImageWidth, kImageWidth, wxIMAGE_QUALITY_HIGH);
    image.Resize(wxSize(kImageWidth, kImageHeight), wxPoint(0, (kImageHeight - kImageWidth) / 2));
    return wxBitmap(image);
}

// Holds the model object a tree item shows, or for a book that could not be
// read no object and its error; the tree deletes it with the item.
class EntityItemData : public wxTreeItemData {
public:
    explicit EntityItemData(std::shared_ptr<ParaTreeEntity> object, wxString error = {})
        : object_(std::move(object)), error_(std::move(error))
    {
    }
    const std::shared_ptr<ParaTreeEntity>& object() const { return object_; }
    const wxString& error() const { return error_; }

private:
    std::shared_ptr<ParaTreeEntity> object_;
    wxString error_;
};

// Puts `name` into `text`, reusing its buffer. Names are mostly plain
// ASCII, which needs no decoding and, short as names are, no new buffer: a
// tree of thousands of items fills noticeably faster that way.
const wxString& item_text(const std::string& name, wxString& text)
{
    constexpr std::size_t kShort = 128;
    wchar_t wide[kShort];
    if (name.size() > kShort)
        return text = from_utf8(name);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x80)
            return text = from_utf8(name);
        wide[i] = static_cast<wchar_t>(byte);
    }
    text.assign(wide, name.size());
    return text;
}

// Whether a child is a directory; the exact type first, which is cheaper than a cast.
const ParameterDirectory* as_directory(const ParaTreeEntity& child)
{
    if (typeid(child) == typeid(ParameterDirectory))
        return static_cast<const ParameterDirectory*>(&child);
    if (typeid(child) == typeid(ParameterBook))
        return nullptr;
    return dynamic_cast<const ParameterDirectory*>(&child);
}

}  // namespace

TreeViewSync::TreeViewSync(wxTreeCtrl& tree, wxGrid& book, int value_column)
    : tree_(tree), book_(book), value_column_(value_column)
{
    // Emptying the view reports every item deleted, one event each, up
    // through every window above; nobody needs them while the view is rebuilt.
    tree_.Bind(wxEVT_TREE_DELETE_ITEM, [resetting = resetting_](wxTreeEvent& event) { event.Skip(!*resetting); });
    if (value_column_ < 0)
        return;
    book_.Bind(wxEVT_SIZE, &TreeViewSync::on_grid_size, this);
    book_.GetGridWindow()->Bind(wxEVT_MOTION, &TreeViewSync::show_value_tip, this);
}

TreeViewSync::~TreeViewSync()
{
    if (tooltips_bound_)
        tree_.Unbind(wxEVT_TREE_ITEM_GETTOOLTIP, &TreeViewSync::on_item_tooltip, this);
    if (value_column_ < 0)
        return;
    book_.Unbind(wxEVT_SIZE, &TreeViewSync::on_grid_size, this);
    book_.GetGridWindow()->Unbind(wxEVT_MOTION, &TreeViewSync::show_value_tip, this);
}

void TreeViewSync::on_grid_size(wxSizeEvent& event)
{
    event.Skip();
    fit_value_column();
}

void TreeViewSync::fit_value_column()
{
    constexpr int kMargin = 12;
    constexpr int kLeast = 80;
    constexpr int kDescriptionLeast = 60;
    if (value_column_ < 0)
        return;
    wxClientDC dc(book_.GetGridWindow());
    dc.SetFont(book_.GetDefaultCellFont());
    int needed = dc.GetTextExtent(book_.GetColLabelValue(value_column_)).GetWidth();
    for (int row = 0; row < book_.GetNumberRows(); ++row)
        needed = std::max(needed, dc.GetTextExtent(book_.GetCellValue(row, value_column_)).GetWidth());
    const int free = book_.GetClientSize().GetWidth() - book_.GetRowLabelSize() - book_.GetColSize(0);
    const int width = std::max(kLeast, std::min(needed + kMargin, free / 2));
    book_.SetColSize(value_column_, width);
    book_.SetColSize(1, std::max(kDescriptionLeast, free - width));
}

void TreeViewSync::show_value_tip(wxMouseEvent& event)
{
    event.Skip();
    wxWindow* cells = book_.GetGridWindow();
    const wxPoint at = book_.CalcUnscrolledPosition(event.GetPosition());
    const int row = book_.YToRow(at.y);
    wxString tip;
    if (row >= 0 && book_.XToCol(at.x) == value_column_) {
        const std::shared_ptr<ParameterBook> book = selected_book();
        const std::shared_ptr<Parameter> parameter = book ? book->get(key_of(row).utf8_string()) : nullptr;
        const wxString shown = book_.GetCellValue(row, value_column_);
        const wxString whole = parameter ? parameter_value_text(*parameter, wxString::npos) : shown;
        wxClientDC dc(cells);
        dc.SetFont(book_.GetDefaultCellFont());
        if (whole != shown || dc.GetTextExtent(shown).GetWidth() + 4 > book_.GetColSize(value_column_))
            tip = whole;
    }
    if (tip.empty())
        cells->UnsetToolTip();
    else if (cells->GetToolTipText() != tip)
        cells->SetToolTip(tip);
}

wxImageList* TreeViewSync::make_image_list()
{
    auto* images = new wxImageList(kImageWidth, kImageHeight, false);
    images->Add(tree_picture(ovk_resource_folder_png, ovk_resource_folder_png_size));  // kImageDirectory
    images->Add(tree_picture(ovk_resource_book_png, ovk_resource_book_png_size));      // kImageBook
    images->Add(unreadable_picture());                                                  // kImageUnreadable
    return images;
}

wxString TreeViewSync::last_path_component(const wxString& path)
{
    const size_t at = path.find_last_of(wxFileName::GetPathSeparators());
    return at == wxString::npos ? path : path.substr(at + 1);
}

wxTreeItemId TreeViewSync::item_at(const std::vector<wxString>& path) const
{
    wxTreeItemId at = tree_.GetRootItem();
    for (const wxString& name : path) {
        wxTreeItemIdValue cookie;
        wxTreeItemId child = tree_.GetFirstChild(at, cookie);
        while (child.IsOk() && tree_.GetItemText(child) != name)
            child = tree_.GetNextChild(at, cookie);
        if (!child.IsOk())
            break;
        at = child;
    }
    return at;
}

std::shared_ptr<ParaTreeEntity> TreeViewSync::object(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return nullptr;
    // Every item data the view holds is set here, so the cast cannot miss.
    auto* data = static_cast<EntityItemData*>(tree_.GetItemData(item));
    return data ? data->object() : nullptr;
}

void TreeViewSync::set_object(const wxTreeItemId& item, std::shared_ptr<ParaTreeEntity> object)
{
    // SetItemData deletes the data the item held before.
    tree_.SetItemData(item, new EntityItemData(std::move(object)));
}

std::shared_ptr<ParameterBook> TreeViewSync::selected_book() const
{
    return std::dynamic_pointer_cast<ParameterBook>(object(tree_.GetSelection()));
}

std::vector<wxString> TreeViewSync::path_of(const wxTreeItemId& item) const
{
    if (!item.IsOk() || item == tree_.GetRootItem())
        return {};
    std::vector<wxString> path = path_of(tree_.GetItemParent(item));
    path.push_back(tree_.GetItemText(item));
    return path;
}

std::vector<std::pair<wxTreeItemId, wxString>> TreeViewSync::items_of(const std::vector<TreeSearch::Hit>& hits) const
{
    std::vector<std::pair<wxTreeItemId, wxString>> found;
    if (hits.empty())
        return found;
    std::unordered_map<const ParaTreeEntity*, std::vector<wxString>> by_holder;
    for (const TreeSearch::Hit& hit : hits)
        by_holder[hit.holder].push_back(hit.parameter);
    const std::function<void(const wxTreeItemId&)> walk = [&](const wxTreeItemId& at) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = tree_.GetFirstChild(at, cookie); item.IsOk();
             item = tree_.GetNextChild(at, cookie)) {
            if (auto holder = by_holder.find(object(item).get()); holder != by_holder.end())
                for (const wxString& parameter : holder->second)
                    found.emplace_back(item, parameter);
            walk(item);
        }
    };
    if (tree_.GetRootItem().IsOk())
        walk(tree_.GetRootItem());
    return found;
}

wxTreeItemId TreeViewSync::reset(const wxString& root_text, std::shared_ptr<ParameterDirectory> root)
{
    *resetting_ = true;
    tree_.DeleteAllItems();
    *resetting_ = false;
    const wxTreeItemId root_item = tree_.AddRoot(root_text, kImageDirectory);
    if (root)
        append_branch(*root, root_item);
    set_object(root_item, std::move(root));
    return root_item;
}

void TreeViewSync::append_branch(const ParameterDirectory& directory, const wxTreeItemId& parent)
{
    // Each item gets its model object as it is appended.
    wxString text;
    for (auto& [name, item] : directory.items()) {
        const ParameterDirectory* sub = as_directory(*item);
        const wxTreeItemId child = tree_.AppendItem(parent, item_text(name, text), sub ? kImageDirectory : kImageBook,
                                                    -1, new EntityItemData(std::move(item)));
        if (sub)
            append_branch(*sub, child);
    }
}

wxTreeItemId TreeViewSync::append_child(const wxTreeItemId& parent, const wxString& name,
                                        std::shared_ptr<ParaTreeEntity> object)
{
    const int image = std::dynamic_pointer_cast<ParameterDirectory>(object) ? kImageDirectory : kImageBook;
    return tree_.AppendItem(parent, name, image, -1, new EntityItemData(std::move(object)));
}

void TreeViewSync::show_unreadable(const std::vector<ovk_paratree::LoadReport::UnreadableBook>& unreadable)
{
    if (!unreadable.empty() && !tooltips_bound_) {
        tree_.Bind(wxEVT_TREE_ITEM_GETTOOLTIP, &TreeViewSync::on_item_tooltip, this);
        tooltips_bound_ = true;
    }
    const wxString suffix = wxS(".") + from_utf8(ParameterBook::ExtName);
    for (const auto& book : unreadable) {
        std::vector<wxString> path;
        const wxString text = from_utf8(book.path);
        for (const wxString& part : wxSplit(text, '/', '\0'))
            path.push_back(part);
        wxString name = path.back();
        path.pop_back();
        name.EndsWith(suffix, &name);
        const wxTreeItemId item =
            tree_.AppendItem(item_at(path), name, kImageUnreadable, -1, new EntityItemData(nullptr, from_utf8(book.error)));
        tree_.SetItemTextColour(item, *wxRED);
    }
}

wxString TreeViewSync::unreadable_error(const wxTreeItemId& item) const
{
    const auto* data = item.IsOk() ? static_cast<EntityItemData*>(tree_.GetItemData(item)) : nullptr;
    return data ? data->error() : wxString();
}

bool TreeViewSync::holds_unreadable(const wxTreeItemId& parent, const wxString& name) const
{
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree_.GetFirstChild(parent, cookie); child.IsOk();
         child = tree_.GetNextChild(parent, cookie))
        if (tree_.GetItemText(child) == name && !unreadable_error(child).empty())
            return true;
    return false;
}

void TreeViewSync::on_item_tooltip(wxTreeEvent& event)
{
    event.SetToolTip(unreadable_error(event.GetItem()));
}

void TreeViewSync::clear_rows()
{
    const int rows = book_.GetNumberRows();
    if (rows > 0)
        book_.DeleteRows(0, rows);
}

void TreeViewSync::append_rows(const ParameterBook& book)
{
    const auto parameters = book.items();
    if (parameters.empty())
        return;
    // One batch: the grid recomputes its layout once, not once per row.
    wxGridUpdateLocker batch(&book_);
    int row = book_.GetNumberRows();
    book_.AppendRows(static_cast<int>(parameters.size()));
    for (const auto& [name, parameter] : parameters)
        fill_row(row++, from_utf8(name), *parameter);
    if (value_column_ >= 0)
        fit_value_column();
}

void TreeViewSync::append_row(const wxString& name, const Parameter& parameter)
{
    book_.AppendRows(1);
    fill_row(book_.GetNumberRows() - 1, name, parameter);
    fit_value_column();
}

void TreeViewSync::fill_row(int row, const wxString& name, const Parameter& parameter)
{
    book_.SetCellValue(row, 0, name);
    book_.SetCellValue(row, 1, from_utf8(parameter.description()));
    if (value_column_ >= 0)
        book_.SetCellValue(row, value_column_, parameter_value_text(parameter));
}

void TreeViewSync::select_row_of(const wxString& key)
{
    for (int row = 0; row < book_.GetNumberRows(); ++row) {
        if (key_of(row) == key) {
            book_.ClearSelection();
            book_.SelectRow(row);
            book_.MakeCellVisible(row, 0);
            return;
        }
    }
}

void TreeViewSync::mark_modified(const wxTreeItemId& item)
{
    const std::shared_ptr<ParaTreeEntity> shown = object(item);
    tree_.SetItemBold(item, shown && shown->modified());
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree_.GetFirstChild(item, cookie); child.IsOk();
         child = tree_.GetNextChild(item, cookie))
        mark_modified(child);
}

}  // namespace ovk_wxtools::detail
