import sys
import threading

import pytest
import wx

import ovk_wxtools as ovk
from ovk_wxtools.testing import type_into


def test_choice_dialogs_answer_through_their_accessors(frame, dialogs):
    dialog = ovk.ChooseOneButtonDialog(frame, "选择", "哪一个？", ["是", "否", "取消"], default_index=1)
    dialogs.press("否").run_out()
    assert dialog.ShowModal() == wx.ID_OK
    assert (dialog.GetSelectedIndex(), dialog.GetSelectedString()) == (1, "否")
    dialog.Destroy()

    single = ovk.SingleChoiceTimeoutDialog(frame, "端口", "选择端口", ("COM1", "COM2"), timeout=30, selection=1)
    assert single.ShowModal() == wx.ID_OK
    assert single.GetSelection() == "COM2" and single.caption == "选择端口"
    single.Destroy()
    with pytest.raises(TypeError, match="single str"):
        ovk.ChooseOneButtonDialog(frame, "t", "q", "abc")


def test_multiple_input_writes_back_into_the_callers_dict(frame, dialogs):
    fields = {"电压": "5", "电流": ""}
    dialog = ovk.MultipleInputDialog(frame, fields, title="参数")
    dialogs.act(type_into("电流", "0.5 A").press("OK"))
    assert dialog.ShowModal() == wx.ID_OK
    assert fields == {"电压": "5", "电流": "0.5 A"} and dialog.get("电流") == "0.5 A"
    assert dialogs.last_opened.fields == [("电压", "5"), ("电流", "")]
    with pytest.raises(IndexError):
        dialog.get("功率")
    dialog.Destroy()


def test_wait_for_dialog_error_ends_the_run_and_is_raised_after_it(frame):
    calls = []

    def poll():
        calls.append(1)
        if len(calls) == 2:
            return "第二次"
        if len(calls) == 3:
            raise ZeroDivisionError("轮询失败")
        return None

    dialog = ovk.WaitForDialog(frame, "等待", "请稍候", poll, interval=10)
    with pytest.raises(ZeroDivisionError, match="轮询失败"):
        dialog.ShowModal()
    assert dialog.mMessage.GetLabel() == "第二次" and not dialog.IsModal()
    dialog.Destroy()


def test_callback_error_in_the_main_loop_goes_to_excepthook(frame, monkeypatch):
    seen = []
    monkeypatch.setattr(sys, "excepthook", lambda *info: seen.append(info[1]))
    loop = wx.GUIEventLoop()

    def poll():
        wx.CallAfter(loop.Exit)
        raise KeyError("主循环")

    dialog = ovk.WaitForDialog(frame, "等待", "非模态", poll, interval=10)
    dialog.Show()
    loop.Run()
    dialog.Destroy()
    assert seen and isinstance(seen[0], KeyError)


def test_progress_dialog_follows_a_python_worker(frame):
    progress = ovk.Progress(["批次", "通道"])

    def work():
        progress.start(0, 3)
        for _ in range(3):
            progress.start(1, 10, "通道组")
            for _ in range(10):
                progress.step(1)
            progress.step(0)
        progress.finish()

    dialog = ovk.ProgressDialog(frame, progress, interval=0.01)
    assert [t.GetLabel() for t in dialog.names] == ["批次", "通道"]
    worker = threading.Thread(target=work)
    worker.start()
    assert dialog.ShowModal() == wx.ID_OK
    worker.join()
    assert progress.status == ovk.Progress.Status.Done and progress.get_progress(0) == 3
    dialog.Destroy()


def test_auto_close_and_true_or_false(frame, dialogs):
    box = ovk.AutoCloseMessageBox(frame, "提示", "马上关闭", timeout=30)
    dialogs.run_out()
    assert box.ShowModal() == 0
    box.Destroy()
    question = ovk.TrueOrFalseDialog(frame, "问题", "继续吗？", true_label="继续", false_label="停止")
    dialogs.press("停止")
    assert question.ShowModal() == wx.ID_CANCEL
    question.Destroy()
