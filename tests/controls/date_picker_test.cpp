#include "wxtools/controls/date_picker.h"

#include "wxtools/controls/plain_date.h"
#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

using namespace ovk_wxtools;

namespace {

TEST(PlainDateTest, WxDateTimeBecomesPlainDateTimeWithMonthFromOne)
{
    const wxDateTime dt(15, wxDateTime::Jan, 2024, 10, 20, 30);
    ASSERT_EQ(dt.GetMonth(), 0);
    EXPECT_EQ(wx_datetime_2_py_datetime(dt), (PlainDateTime{2024, 1, 15, 10, 20, 30}));
    EXPECT_EQ(wx_datetime_2_py_datetime(wxDateTime(31, wxDateTime::Dec, 1999, 23, 59, 59)),
              (PlainDateTime{1999, 12, 31, 23, 59, 59}));
    EXPECT_THROW(wx_datetime_2_py_datetime(wxDefaultDateTime), TypeError);
}

TEST(PlainDateTest, ConvertGoesBothWaysAtMidnight)
{
    const wxDateTime feb = DatePicker::Convert(PlainDate{2023, 2, 28});
    EXPECT_EQ(feb.GetYear(), 2023);
    EXPECT_EQ(feb.GetMonth(), wxDateTime::Feb);
    EXPECT_EQ(feb.GetDay(), 28);
    EXPECT_EQ(feb.GetHour(), 0);
    EXPECT_EQ(feb.GetMinute(), 0);
    EXPECT_EQ(feb.GetSecond(), 0);
    EXPECT_EQ(DatePicker::Convert(feb), (PlainDate{2023, 2, 28}));

    // Whatever today is, every date of a common and a leap year survives the
    // round trip (moving a 31st into a shorter month must not fail).
    for (int year : {2023, 2024}) {
        for (wxDateTime d(1, wxDateTime::Jan, year); d.GetYear() == year; d += wxDateSpan::Day()) {
            const PlainDate plain{year, d.GetMonth() + 1, d.GetDay()};
            ASSERT_EQ(DatePicker::Convert(DatePicker::Convert(plain)), plain);
        }
    }
    // A plain date-time serves as a date.
    EXPECT_EQ(DatePicker::Convert(DatePicker::Convert(PlainDateTime{2024, 2, 29, 8, 0, 0})), (PlainDate{2024, 2, 29}));
}

TEST(PlainDateTest, DatesThatDoNotExistAreRefused)
{
    EXPECT_THROW(DatePicker::Convert(PlainDate{2023, 2, 29}), TypeError);
    EXPECT_THROW(DatePicker::Convert(PlainDate{2023, 13, 1}), TypeError);
    EXPECT_THROW(DatePicker::Convert(PlainDate{2023, 0, 1}), TypeError);
    EXPECT_THROW(DatePicker::Convert(PlainDate{2023, 4, 31}), TypeError);
    EXPECT_THROW(DatePicker::Convert(wxDefaultDateTime), TypeError);
}

class DatePickerTest : public ::testing::Test {
protected:
    DatePickerTest() : frame(new wxFrame(nullptr, wxID_ANY, "dates")) {}
    ~DatePickerTest() override { frame->Destroy(); }
    wxFrame* frame;
};

TEST_F(DatePickerTest, BothKindsOfControlReadAndWritePlainDates)
{
    auto* picker_control = new wxDatePickerCtrl(frame, wxID_ANY);
    auto* calendar_control = new wxCalendarCtrl(frame, wxID_ANY);
    for (DatePicker picker : {DatePicker(picker_control), DatePicker(calendar_control)}) {
        picker.SetValue(PlainDate{2023, 2, 28});
        EXPECT_EQ(picker.GetValue(), (PlainDate{2023, 2, 28}));
        EXPECT_EQ(picker.GetDate(), picker.GetValue());
        picker.SetValue(PlainDate{2024, 12, 31});
        EXPECT_EQ(picker.GetDate(), (PlainDate{2024, 12, 31}));
    }
    EXPECT_EQ(picker_control->GetValue().GetMonth(), wxDateTime::Dec);
    EXPECT_EQ(calendar_control->GetDate().GetDay(), 31);

    // A control of another kind has no date.
    DatePicker wrong(picker_control);
    wrong.control = new wxTextCtrl(frame, wxID_ANY);
    EXPECT_THROW(wrong.GetValue(), TypeError);
    EXPECT_THROW(wrong.SetValue(PlainDate{2024, 1, 1}), TypeError);
}

}  // namespace
