#include "wxtools/controls/combo_list.h"

#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include <list>
#include <memory>
#include <stdexcept>
#include <string>

using namespace ovk_wxtools;

namespace {

struct Sample {
    std::string name;
    int id;
};

class ComboListTest : public ::testing::Test {
protected:
    ComboListTest() : frame(new wxFrame(nullptr, wxID_ANY, "combo list")) {}
    ~ComboListTest() override { frame->Destroy(); }

    wxListBox* list_box(long style = wxLB_SINGLE) { return new wxListBox(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, style); }

    static std::vector<wxString> shown(const wxItemContainer* control)
    {
        std::vector<wxString> texts;
        for (unsigned i = 0; i < control->GetCount(); ++i)
            texts.push_back(control->GetString(i));
        return texts;
    }

    wxFrame* frame;
};

std::vector<wxString> W(std::initializer_list<const char*> texts) { return {texts.begin(), texts.end()}; }

TEST_F(ComboListTest, EmptyListAnswersNothingEverywhere)
{
    for (long style : {wxLB_SINGLE, wxLB_MULTIPLE}) {
        ComboList<wxString> list(list_box(style));
        EXPECT_EQ(list.size(), 0u);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(list.GetSelection(), nullptr);
        EXPECT_TRUE(list.GetSelections().empty());
        EXPECT_EQ(list.GetSelectionIndex(), -1);
        EXPECT_TRUE(list.GetSelectionIndexes().empty());
        EXPECT_EQ(list.GetObject(0), nullptr);
        list.DeleteSelections();
        EXPECT_EQ(list.size(), 0u);
    }
}

TEST_F(ComboListTest, CallbackDecidesTextAndObjectsAreKept)
{
    ComboList<Sample> list(list_box(), [](const Sample& s) { return wxString::Format("%s (%d)", s.name, s.id); });
    list.Append({"pump", 1});
    list.AppendItems(std::vector<Sample>{{"valve", 2}, {"fan", 3}});
    EXPECT_EQ(shown(list.control), W({"pump (1)", "valve (2)", "fan (3)"}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.GetObject(1)->name, "valve");
    EXPECT_EQ(list.GetObject(-1), nullptr);
    EXPECT_EQ(list.GetObject(3), nullptr);
    EXPECT_EQ(list.GetObject(2)->id, 3);
}

TEST_F(ComboListTest, DefaultCallbackShowsTheTextItself)
{
    ComboList<wxString> list(list_box());
    list.Append(wxString::FromUTF8("端口"));
    EXPECT_EQ(list.control->GetString(0), wxString::FromUTF8("端口"));
    EXPECT_EQ(*list.GetObject(0), wxString::FromUTF8("端口"));
    // Any iterable will do, including a single-pass one.
    std::list<wxString> more{"x", "y"};
    list.AppendItems(more);
    EXPECT_EQ(shown(list.control), (std::vector<wxString>{wxString::FromUTF8("端口"), "x", "y"}));
}

TEST_F(ComboListTest, InsertItemsPlacesObjectsConsecutively)
{
    ComboList<wxString> list(list_box());
    list.AppendItems({"0", "1", "2", "3"});
    list.InsertItems({"a", "b", "c"}, 2);
    EXPECT_EQ(shown(list.control), W({"0", "1", "a", "b", "c", "2", "3"}));
    EXPECT_EQ(list.objects, W({"0", "1", "a", "b", "c", "2", "3"}));
    list.Insert("z", 7);  // one past the end is allowed
    list.Insert("s", 0);
    EXPECT_EQ(list.objects.front(), "s");
    EXPECT_EQ(list.objects.back(), "z");
    EXPECT_EQ(shown(list.control), list.objects);
}

TEST_F(ComboListTest, InvalidPositionsFailAndChangeNothing)
{
    ComboList<wxString> list(list_box());
    list.AppendItems({"a", "b"});
    EXPECT_THROW(list.Insert("x", 3), LookupError);
    EXPECT_THROW(list.Insert("x", -1), LookupError);
    EXPECT_THROW(list.InsertItems({"x", "y"}, 5), LookupError);
    EXPECT_THROW(list.Delete(2), LookupError);
    EXPECT_THROW(list.Delete(-1), LookupError);
    EXPECT_THROW(list.SetSelection(2), LookupError);
    EXPECT_EQ(list.objects, W({"a", "b"}));
    EXPECT_EQ(shown(list.control), W({"a", "b"}));
}

TEST_F(ComboListTest, FailingCallbackKeepsEarlierObjectsOnly)
{
    ComboList<int> list(list_box(), [](const int& n) {
        if (n < 0)
            throw std::runtime_error("negative");
        return wxString::Format("%d", n);
    });
    EXPECT_THROW(list.Append(-1), std::runtime_error);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.control->GetCount(), 0u);
    // As with one Append per object: 1 and 2 are added, -3 and 4 are not.
    EXPECT_THROW(list.AppendItems({1, 2, -3, 4}), std::runtime_error);
    EXPECT_EQ(list.objects, (std::vector<int>{1, 2}));
    EXPECT_EQ(shown(list.control), W({"1", "2"}));
    EXPECT_THROW(list.InsertItems({7, -8}, 1), std::runtime_error);
    EXPECT_EQ(list.objects, (std::vector<int>{1, 7, 2}));
    EXPECT_EQ(shown(list.control), W({"1", "7", "2"}));
}

TEST_F(ComboListTest, DeleteSelectionsFromTheHighestDown)
{
    ComboList<wxString> list(list_box(wxLB_MULTIPLE));
    list.AppendItems({"a", "b", "c", "d", "e"});
    auto* box = static_cast<wxListBox*>(list.control);
    for (int i : {4, 1, 3})
        box->SetSelection(i);
    // A multiple-selection list box answers with a list of positions.
    EXPECT_EQ(list.GetSelectionIndexes(), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(list.GetSelectionIndex(), 1);
    EXPECT_EQ(*list.GetSelection(), "b");
    auto selected = list.GetSelections();
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(*selected[2], "e");

    list.DeleteSelections();
    EXPECT_EQ(list.objects, W({"a", "c"}));
    EXPECT_EQ(shown(list.control), W({"a", "c"}));
    EXPECT_TRUE(list.GetSelectionIndexes().empty());
    EXPECT_EQ(list.GetSelection(), nullptr);
}

TEST_F(ComboListTest, SinglePositionAnswerFromEveryKindOfControl)
{
    std::vector<wxItemContainer*> controls{list_box(), new wxChoice(frame, wxID_ANY),
                                           new wxComboBox(frame, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 0, nullptr, wxCB_READONLY)};
    for (wxItemContainer* control : controls) {
        ComboList<wxString> list(control);
        list.AppendItems({"a", "b", "c"});
        list.SetSelection(2);
        EXPECT_EQ(control->GetSelection(), 2);
        EXPECT_EQ(*list.GetSelection(), "c");
        ASSERT_EQ(list.GetSelections().size(), 1u);
        EXPECT_EQ(*list.GetSelections()[0], "c");
        EXPECT_EQ(list.GetSelectionIndexes(), std::vector<int>{2});
        list.DeleteSelections();
        EXPECT_EQ(list.objects, W({"a", "b"}));
        EXPECT_EQ(shown(control), W({"a", "b"}));

        list.SetSelection(0);
        list.ClearSelection();
        EXPECT_EQ(list.GetSelectionIndex(), -1);
        EXPECT_EQ(list.GetSelection(), nullptr);
        list.Clear();
        EXPECT_EQ(list.size(), 0u);
        EXPECT_EQ(control->GetCount(), 0u);
    }
}

TEST_F(ComboListTest, SortingControlsAreRefused)
{
    // Their items would not stay at the positions of their objects.
    EXPECT_THROW(ComboList<wxString>(list_box(wxLB_SORT)), TypeError);
    EXPECT_THROW(ComboList<wxString>(new wxChoice(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxCB_SORT)),
                 TypeError);
}

TEST_F(ComboListTest, HandedOverContainersGiveUpTheirObjects)
{
    // Objects that cannot be copied can only be moved in.
    ComboList<std::unique_ptr<Sample>> list(list_box(), [](const std::unique_ptr<Sample>& s) { return wxString(s->name); });
    std::vector<std::unique_ptr<Sample>> batch;
    batch.push_back(std::make_unique<Sample>(Sample{"pump", 1}));
    batch.push_back(std::make_unique<Sample>(Sample{"fan", 2}));
    const Sample* pump = batch[0].get();
    list.AppendItems(std::move(batch));
    EXPECT_EQ(list.GetObject(0)->get(), pump);
    EXPECT_EQ(shown(list.control), W({"pump", "fan"}));

    // A copyable container passed by name keeps its objects.
    std::vector<wxString> names{"a", "b"};
    ComboList<wxString> texts(list_box());
    texts.AppendItems(names);
    texts.InsertItems(names, 1);
    EXPECT_EQ(names, W({"a", "b"}));
    EXPECT_EQ(texts.objects, W({"a", "a", "b", "b"}));
}

// A derived list that reacts to selection changes gets ClearSelection too.
class CountingList : public ComboList<wxString> {
public:
    using ComboList::ComboList;
    void SetSelection(int index) override
    {
        calls.push_back(index);
        ComboList::SetSelection(index);
    }
    std::vector<int> calls;
};

TEST_F(ComboListTest, ClearSelectionGoesThroughAnOverriddenSetSelection)
{
    CountingList list(list_box());
    list.AppendItems({"a", "b"});
    list.SetSelection(1);
    list.ClearSelection();
    EXPECT_EQ(list.calls, (std::vector<int>{1, -1}));
    EXPECT_EQ(list.GetSelectionIndex(), -1);
}

// The default callback needs objects that are text; other objects need a callback.
template <class T>
concept default_constructible_list = requires(wxItemContainer* c) { ComboList<T>(c); };
static_assert(default_constructible_list<wxString>);
static_assert(default_constructible_list<std::string>);
static_assert(!default_constructible_list<Sample>);

}  // namespace

TEST_F(ComboListTest, NarrowTextsShowAsUtf8WithTheDefaultCallback)
{
    const wxString power = wxString::FromUTF8("电压");
    ComboList<std::string> strings(list_box());
    strings.Append("电压");
    strings.AppendItems({std::string("电流"), std::string("bad\xff")});
    EXPECT_EQ(shown(strings.control),
              (std::vector<wxString>{power, wxString::FromUTF8("电流"), wxString::FromUTF8("bad\uFFFD")}));
    EXPECT_EQ(strings.objects[0], "电压");

    ComboList<const char*> pointers(list_box());
    pointers.Append("电压");
    pointers.Insert("频率", 0);
    EXPECT_EQ(shown(pointers.control), (std::vector<wxString>{wxString::FromUTF8("频率"), power}));
}

namespace {

// Movable only, and without a default constructor.
struct Channel {
    explicit Channel(std::string name) : name(std::make_unique<std::string>(std::move(name))) {}
    std::unique_ptr<std::string> name;
};

}  // namespace

TEST_F(ComboListTest, MoveOnlyObjectsWithoutDefaultConstructor)
{
    ComboList<Channel> list(list_box(), [](const Channel& c) { return wxString::FromUTF8(*c.name); });
    list.Append(Channel("电压"));
    list.Insert(Channel("a"), 0);
    std::vector<Channel> batch;
    batch.emplace_back("b");
    list.AppendItems(std::move(batch));
    EXPECT_EQ(shown(list.control), (std::vector<wxString>{"a", wxString::FromUTF8("电压"), "b"}));
    list.SetSelection(1);
    EXPECT_EQ(*list.GetSelection()->name, "电压");
    list.Delete(0);
    list.Clear();
    EXPECT_TRUE(list.empty());
}
