#include "wxtools/dialogs/multiple_input_dialog.h"

#include "wxtools/errors.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <wx/stattext.h>

#include <memory>
#include <string>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

struct Row {
    wxString label;
    wxTextCtrl* box;
};

// The label and text box of every row, top to bottom.
std::vector<Row> rows_of(wxDialog& dialog)
{
    std::vector<Row> rows;
    wxString label;
    for (wxWindow* child : dialog.GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child))
            label = text->GetLabel();
        else if (auto* box = dynamic_cast<wxTextCtrl*>(child))
            rows.push_back({label, box});
    }
    return rows;
}

wxButton* button_labelled(wxDialog& dialog, const wxString& label)
{
    for (wxWindow* child : dialog.GetChildren())
        if (auto* b = dynamic_cast<wxButton*>(child); b && b->GetLabel() == label)
            return b;
    return nullptr;
}

}  // namespace

TEST(MultipleInputDialog, SingleNameMakesOneEmptyField)
{
    MultipleInputDialog dialog(nullptr, "Name");
    EXPECT_EQ(dialog.GetTitle(), "Input");
    auto rows = rows_of(dialog);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].label, "Name");
    EXPECT_EQ(rows[0].box->GetValue(), "");
    EXPECT_EQ(dialog.get("Name"), "");
    wxButton* ok = button_labelled(dialog, "OK");
    wxButton* cancel = button_labelled(dialog, "Cancel");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(dialog.GetDefaultItem(), ok);
    EXPECT_NE(ok->GetId(), wxID_OK);
    EXPECT_EQ(cancel->GetId(), wxID_CANCEL);
}

TEST(MultipleInputDialog, ListOfNamesKeepsFirstOccurrencesAndCopiesOnOkOnly)
{
    MultipleInputDialog dialog(nullptr, std::vector<wxString>{"Port", "Baud", "Port", wxString::FromUTF8("备注")}, "Serial");
    auto rows = rows_of(dialog);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, "Port");
    EXPECT_EQ(rows[1].label, "Baud");
    EXPECT_EQ(rows[2].label, wxString::FromUTF8("备注"));

    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(rows[0].box, "COM3");
        click(button_labelled(dialog, "Cancel"));
    }), wxID_CANCEL);
    EXPECT_EQ(dialog.get("Port"), "");

    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(rows[0].box, "  COM3 ");
        type_into(rows[1].box, "9600");
        click(button_labelled(dialog, "OK"));
    }), wxID_OK);
    EXPECT_EQ(dialog.get("Port"), "  COM3 ");
    EXPECT_EQ(dialog.get("Baud"), "9600");
    EXPECT_EQ(dialog.get(wxString::FromUTF8("备注")), "");
    std::vector<wxString> order;
    for (const auto& [name, value] : dialog.fields())
        order.push_back(name);
    EXPECT_EQ(order, (std::vector<wxString>{"Port", "Baud", wxString::FromUTF8("备注")}));
}

TEST(MultipleInputDialog, CallersMappingGivesDefaultsAndIsWrittenBackOnOk)
{
    MultipleInputDialog::FieldMap settings;
    settings["Voltage"] = "5.0";
    settings["Current"] = "0.1";
    settings["Alpha"] = "";
    MultipleInputDialog dialog(nullptr, settings, "Limits");
    auto rows = rows_of(dialog);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, "Voltage");
    EXPECT_EQ(rows[0].box->GetValue(), "5.0");
    EXPECT_EQ(rows[2].label, "Alpha");
    EXPECT_EQ(dialog.fields(), settings);

    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(rows[0].box, "12");
        dialog.Close();
    }), wxID_CANCEL);
    EXPECT_EQ(settings["Voltage"], "5.0");
    EXPECT_EQ(dialog.get("Voltage"), "5.0");

    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(rows[1].box, "");
        click(button_labelled(dialog, "OK"));
    }), wxID_OK);
    EXPECT_EQ(settings["Voltage"], "12");
    EXPECT_EQ(settings["Current"], "");
    EXPECT_EQ(settings.size(), 3u);
}

TEST(MultipleInputDialog, NoFieldsStillEndsWithOk)
{
    MultipleInputDialog dialog(nullptr, std::vector<wxString>{});
    EXPECT_TRUE(rows_of(dialog).empty());
    EXPECT_NE(dialog.m_staticline1, nullptr);
    EXPECT_EQ(run_modal(dialog, [&] { click(button_labelled(dialog, "OK")); }), wxID_OK);
    EXPECT_TRUE(dialog.fields().empty());
}

TEST(MultipleInputDialog, UnknownFieldIsALookupError)
{
    MultipleInputDialog dialog(nullptr, std::vector<wxString>{"Port"});
    EXPECT_THROW(dialog.get("port"), LookupError);
    EXPECT_EQ(dialog.fields().size(), 1u);
}

TEST(MultipleInputDialog, NarrowNamesAreReadAsUtf8)
{
    const wxString volts = wxString::FromUTF8("电压");
    const wxString amps = wxString::FromUTF8("电流");
    MultipleInputDialog braces(nullptr, {"电压", "电流"});
    MultipleInputDialog strings(nullptr, std::vector<std::string>{"电压", "电流"});
    for (MultipleInputDialog* dialog : {&braces, &strings}) {
        auto rows = rows_of(*dialog);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].label, volts);
        EXPECT_EQ(rows[1].label, amps);
    }
    MultipleInputDialog pointer(nullptr, "电压");
    MultipleInputDialog string(nullptr, std::string("电流"));
    EXPECT_EQ(rows_of(pointer).at(0).label, volts);
    EXPECT_EQ(rows_of(string).at(0).label, amps);
}

TEST(MultipleInputDialog, ReadsStaySafeAfterTheCallersMappingIsGone)
{
    auto settings = std::make_unique<MultipleInputDialog::FieldMap>();
    (*settings)["Port"] = "COM1";
    MultipleInputDialog dialog(nullptr, *settings);
    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(rows_of(dialog)[0].box, "COM2");
        click(button_labelled(dialog, "OK"));
    }), wxID_OK);
    EXPECT_EQ((*settings)["Port"], "COM2");
    settings.reset();
    EXPECT_EQ(dialog.get("Port"), "COM2");
    // Without a modal run OK has no mapping of the caller's to write into.
    dialog.Show();
    type_into(rows_of(dialog)[0].box, "COM3");
    click(button_labelled(dialog, "OK"));
    EXPECT_EQ(dialog.get("Port"), "COM3");
}
