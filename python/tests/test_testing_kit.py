"""The testing kit's pytest plugin: dialogs answered from a script, records
of what they showed, acting on windows, and failures a person would notice."""
import textwrap

import pytest
import wx

import ovk_wxtools as ovk
from ovk_wxtools.testing import DialogKind, choose, click, run_modal, select, send_command, type_into, wait_until


class Settings(wx.Dialog):
    """A tool's own dialog: a port typed in, a speed chosen, Save refusing an empty port."""

    def __init__(self, parent):
        super().__init__(parent, title="设置")
        sizer = wx.BoxSizer(wx.VERTICAL)
        sizer.Add(wx.StaticText(self, label="端口："))
        self.port = wx.TextCtrl(self, value="COM1")
        sizer.Add(self.port)
        self.speed = wx.Choice(self, choices=["9600", "115200"])
        sizer.Add(self.speed)
        save = wx.Button(self, wx.ID_SAVE, "保存")
        save.Bind(wx.EVT_BUTTON, self.on_save)
        sizer.Add(save)
        sizer.Add(wx.Button(self, wx.ID_CANCEL, "取消"))
        self.SetSizerAndFit(sizer)

    def on_save(self, event):
        if not self.port.GetValue():
            return ovk.MB.Error("端口不能为空。")
        self.EndModal(wx.ID_OK)


def test_own_dialog_takes_typing_choosing_and_pressing(frame, dialogs):
    settings = Settings(frame)
    dialogs.act(type_into("端口", "串口 2").choose("115200").press("保存"))
    assert settings.ShowModal() == wx.ID_OK
    assert (settings.port.GetValue(), settings.speed.GetStringSelection()) == ("串口 2", "115200")
    seen = dialogs.last_opened
    assert (seen.kind, seen.caption, seen.field("端口"), seen.answer) == (DialogKind.Own, "设置", "COM1", wx.ID_OK)
    assert seen.buttons == ["保存", "取消"] and seen.choices == ["9600", "115200"]

    dialogs.act(type_into("端口", "").press("保存").press("取消")).answer(wx.ID_OK)
    assert settings.ShowModal() == wx.ID_CANCEL
    assert dialogs.last.message == "端口不能为空。" and settings.port.GetValue() == ""
    settings.Destroy()


def test_standard_dialogs_and_countdowns(frame, dialogs, tmp_path):
    folder = tmp_path / "数据"
    folder.mkdir()
    dialogs.press("Yes").answer_text("泵 1").answer(wx.ID_NO).answer_path(folder).run_out()
    assert ovk.MB.Confirm("启动泵？") == wx.YES
    assert ovk.MB.Input("名称：") == "泵 1"
    assert wx.MessageBox("覆盖？", "文件", wx.YES_NO) == wx.NO
    chooser = wx.DirDialog(frame, "导出到")
    assert chooser.ShowModal() == wx.ID_OK and chooser.GetPath() == str(folder)
    chooser.Destroy()
    single = ovk.SingleChoiceTimeoutDialog(frame, "端口：", "选择", ["COM1", "COM2"], timeout=30, selection=1)
    assert single.ShowModal() == wx.ID_OK and single.GetSelection() == "COM2"
    single.Destroy()
    assert [(d.kind, d.message) for d in dialogs.shown] == [
        (DialogKind.Message, "启动泵？"), (DialogKind.TextEntry, "名称："), (DialogKind.Message, "覆盖？"),
        (DialogKind.DirChooser, "导出到")]


def test_inside_gets_the_dialog_itself(frame, dialogs):
    dialog = ovk.SimpleInputDialog(frame, message="数量：")

    def fill(d):
        assert d is dialog
        d.InputField.SetValue("三")
        click(d.m_button1)

    dialogs.inside(fill)
    assert dialog.ShowModal() == wx.ID_OK and dialog.GetInputString() == "三"
    assert run_modal(dialog, lambda: dialog.EndModal(wx.ID_CANCEL)) == wx.ID_CANCEL
    dialog.Destroy()


def test_acting_on_windows_directly(frame):
    seen = []
    button = wx.Button(frame, label="开始")
    button.Bind(wx.EVT_BUTTON, lambda e: seen.append("按"))
    box = wx.Choice(frame, choices=["甲", "乙"])
    box.Bind(wx.EVT_CHOICE, lambda e: seen.append(e.GetString()))
    field = wx.TextCtrl(frame)
    field.Bind(wx.EVT_TEXT, lambda e: seen.append(e.GetString()))
    click(button)
    select(box, 1)
    type_into(field, "文字")
    send_command(button, wx.EVT_BUTTON)
    assert seen == ["按", "乙", "文字", "按"]

    wx.CallLater(30, seen.append, "稍后")
    assert wait_until(lambda: "稍后" in seen, timeout=5)
    assert not wait_until(lambda: False, timeout=0.05)
    with pytest.raises(ZeroDivisionError):
        wait_until(lambda: 1 / 0)
    for wrong in ("按钮", None, wx.BoxSizer()):
        with pytest.raises(TypeError):
            click(wrong)
    with pytest.raises(TypeError):
        select(field, 0)
    button.Destroy()
    with pytest.raises(RuntimeError, match="deleted"):
        click(button)


def test_what_goes_wrong_fails_the_test_with_the_dialogs_texts(pytester):
    pytester.makepyfile(textwrap.dedent("""
        import pytest, wx
        import ovk_wxtools as ovk

        def test_unexpected(frame, dialogs):
            ovk.MB.Confirm("删除全部？", "确认")

        def test_unused(dialogs):
            dialogs.answer_text("没人问")

        def test_inside_raises(frame, dialogs):
            dialogs.inside(lambda d: 1 / 0)
            wx.Dialog(frame, title="内部").ShowModal()

        def test_handler_raises(frame):
            wx.CallAfter(lambda: {}["键"])
            wx.Yield()

        @pytest.mark.ovk_timeout(1)
        def test_hangs(frame):
            wx.Dialog(frame, title="永远").ShowModal()

        @pytest.mark.ovk_timeout(1)
        def test_spins():
            while True:
                pass
    """))
    result = pytester.runpytest_subprocess("-p", "ovk_wxtools.testing", "-p", "no:cacheprovider")
    result.assert_outcomes(failed=6)
    result.stdout.fnmatch_lines_random([
        '*unexpected message box "确认" saying "删除全部？"*answered wxID_CANCEL*',
        "*the script still held an answer for a text-entry dialog, but no such dialog opened*",
        '*the action inside dialog "内部" raised; the dialog was cancelled: ZeroDivisionError: division by zero',
        "*an event handler raised KeyError*键*",
        "*TestHung: the test ran longer than its limit of 1 s; its dialogs were cancelled",
        "*TestHung: the test ran longer than its limit of 1 s and was stopped",
    ])


def test_a_path_typed_into_a_chooser_key_by_key(frame, dialogs, tmp_path):
    # Real key presses: the release tests run one at a time. US keys only.
    folder = tmp_path / "typed"
    folder.mkdir()
    dialogs.type_path(folder)
    chooser = wx.DirDialog(frame, "导出到", str(tmp_path))
    assert chooser.ShowModal() == wx.ID_OK and chooser.GetPath() == str(folder)
    chooser.Destroy()
