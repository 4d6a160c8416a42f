#include "platform/wxctrls/big_event_dash_board.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>

using namespace ovk_wxtest;

TEST(DashboardLayout, OffersTheAlarmListAndALabelledHistoryGrid)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "layout", wxDefaultPosition, wxSize(800, 400));
    auto* board = new ovk_wxctrls::BigEventDashBoard(frame);
    frame->Show();
    flush_events();

    ASSERT_NE(board->ui_list_alarm, nullptr);
    ASSERT_NE(board->ui_grid_error_history, nullptr);
    wxGrid* grid = board->ui_grid_error_history;
    EXPECT_EQ(grid->GetNumberCols(), 3);
    EXPECT_EQ(grid->GetNumberRows(), 0);
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(grid->GetColLabelValue(col), ovk_wxctrls::BigEventDashBoard::history_column_labels[col]);
    EXPECT_FALSE(grid->IsEditable());
    // Both controls are laid out side by side and get real room.
    EXPECT_LT(board->ui_list_alarm->GetScreenPosition().x, grid->GetScreenPosition().x);
    EXPECT_GT(board->ui_list_alarm->GetSize().GetHeight(), 100);
    EXPECT_GT(grid->GetSize().GetWidth(), board->ui_list_alarm->GetSize().GetWidth());
    frame->Destroy();
    flush_events();
}

TEST(DashboardLayout, MessageColumnTakesTheWidthLeftOver)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "layout", wxDefaultPosition, wxSize(700, 400));
    auto* board = new ovk_wxctrls::BigEventDashBoard(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(board, 1, wxEXPAND);
    frame->SetSizer(sizer);
    frame->Show();
    wxGrid* grid = board->ui_grid_error_history;
    auto fills = [grid] {
        const int used = grid->GetColSize(0) + grid->GetColSize(1) + grid->GetColSize(2);
        return used == grid->GetClientSize().GetWidth();
    };
    EXPECT_TRUE(wait_until(fills));
    const int narrow = grid->GetColSize(2);
    frame->SetSize(1100, 400);
    EXPECT_TRUE(wait_until([&] { return fills() && grid->GetColSize(2) > narrow; }));
    EXPECT_EQ(grid->GetColSize(0) + grid->GetColSize(1), 295);  // the others keep their widths
    frame->Destroy();
    flush_events();
}
