"""The parameter-tree model and its windows from Python: native values,
mappings, load and save with their reports, the editor answered by the kit."""
import pathlib

import pytest
import wx

import ovk_wxtools as ovk
from ovk_wxtools.testing import run_modal
from ovk_wxtools.ovk_paratree import (LoadOptions, MaxFileNameBytes, ParaTreeError, Parameter, ParameterBook,
                                      ParameterDirectory, ReservedPrefix, SaveOptions, StoredAs, is_valid_entry_name,
                                      is_valid_name, why_invalid_entry_name, why_invalid_name)


def sample_tree():
    speed = Parameter({"max": 12, "ratio": 1.0, "单位": "毫米/秒", "on": True, "none": None,
                       "steps": [1, 2.5, "三"], "limits": {"低": -1, "高": 2**63}},
                      descriptions={"zh_CN": "速度"})
    book = ParameterBook()
    book["速度"] = speed
    tree = ParameterDirectory()
    tree["电机"] = ParameterDirectory()
    tree["电机"]["轴"] = book
    return tree, speed


def test_values_round_trip_natively_and_in_order(tmp_path):
    tree, speed = sample_tree()
    assert list(speed) == ["max", "ratio", "单位", "on", "none", "steps", "limits"]
    report = tree.save(tmp_path / "参数")
    assert report.written == ["电机/轴.pbook"] and report.message() == "" and not tree.modified()
    loaded, skipped = ParameterDirectory.load_with_report(str(tmp_path / "参数"))
    again = loaded["电机"]["轴"]["速度"]
    assert again.to_dict() == speed.to_dict() and list(again.to_dict()["limits"]) == ["低", "高"]
    assert type(again["ratio"]) is float and type(again["max"]) is int and again["limits"]["高"] == 2**63
    assert again.descriptions == {"en_US": "", "zh_CN": "速度"} and again.get_description("zh_CN") == "速度"
    assert isinstance(loaded["电机"], ParameterDirectory) and isinstance(loaded["电机"]["轴"], ParameterBook)
    assert skipped.skipped == [] and not loaded.modified()
    again["max"] = 13
    assert loaded.modified() and again.get("缺少", "无") == "无"
    assert list(loaded.items())[0][0] == "电机" and "电机" in loaded and "x" not in loaded


def test_model_errors_are_python_errors(tmp_path):
    tree, speed = sample_tree()
    with pytest.raises(KeyError):
        speed["缺少"]
    with pytest.raises(KeyError):
        del tree["缺少"]
    with pytest.raises(ParaTreeError):
        speed["a/b"] = 1
    with pytest.raises(ParaTreeError):
        speed["nan"] = float("nan")
    for wrong in (object(), b"bytes", {1: "x"}):
        with pytest.raises(TypeError):
            speed["x"] = wrong
    with pytest.raises(ValueError):
        speed["big"] = 2**64
    with pytest.raises(TypeError):
        tree["书"] = speed
    with pytest.raises(ParaTreeError, match="不存在"):
        ParameterDirectory.load(tmp_path / "不存在")
    assert not is_valid_name("a:b") and is_valid_name("参数")


def test_check_reports_what_a_load_would_skip_or_fail_on(tmp_path):
    tree, _ = sample_tree()
    folder = tmp_path / "检查"
    saved = tree.save(folder)
    assert saved.pending == ""
    clean = ParameterDirectory.check(folder)
    assert clean.ok and clean.problems == []
    (folder / "坏.pbook").write_text("{ 不是 JSON", encoding="utf-8")
    (folder / "a|b.pbook").write_text("{}", encoding="utf-8")
    report = ParameterDirectory.check(str(folder))
    assert not report.ok and len(report.problems) == 2
    assert report.problems[0].startswith("a|b.pbook: skipped") and report.problems[1].startswith("坏.pbook: cannot be read")
    with pytest.raises(ParaTreeError, match="坏.pbook"):
        ParameterDirectory.load(folder)
    tolerant, tolerated = ParameterDirectory.load_with_options(folder, LoadOptions(tolerate_unreadable_books=True))
    assert "坏" not in tolerant and [b.path for b in tolerated.unreadable] == ["坏.pbook"]
    assert tolerated.unreadable[0].line == 1 and tolerated.unreadable[0].column > 0 and "坏.pbook" in tolerated.unreadable[0].error
    (folder / "坏.pbook").unlink()
    loaded, load_report = ParameterDirectory.load_with_report(folder)
    assert load_report.skipped == ["a|b.pbook"] and load_report.pending == ""
    with pytest.raises(ParaTreeError, match="不存在"):
        ParameterDirectory.check(tmp_path / "不存在")


@pytest.mark.parametrize("name, stored_as, why", [
    ("电机", StoredAs.Folder, ""),
    ("电机", StoredAs.BookFile, ""),
    ("a:b", StoredAs.Folder, ":"),
    (ReservedPrefix + "x", StoredAs.BookFile, ReservedPrefix),
    ("长" * (MaxFileNameBytes // 3), StoredAs.Folder, ""),  # 255 bytes: a folder fits,
    ("长" * (MaxFileNameBytes // 3), StoredAs.BookFile, "255 bytes long"),  # a book file's ".pbook" does not
])
def test_entry_name_rules(name, stored_as, why):
    text = why_invalid_entry_name(name, stored_as)
    assert is_valid_entry_name(name, stored_as) == (why == "") == (text == "") and why in text
    assert (why_invalid_name(name) == "") == (why != ":")


def test_save_home_refuses_changes_made_on_disk_unless_told(tmp_path):
    tree, _ = sample_tree()
    folder = tmp_path / "树"
    tree.save(folder)
    other = ParameterDirectory.load(folder)
    other["电机"]["轴"]["速度"]["max"] = 99
    other.save(folder)
    tree["电机"]["轴"]["速度"]["max"] = 1
    assert tree.changed_on_disk() == ["电机/轴.pbook"]
    with pytest.raises(ParaTreeError):
        tree.save(folder)
    tree.save(folder, SaveOptions(overwrite_changes_on_disk=True))
    assert ParameterDirectory.load(folder)["电机"]["轴"]["速度"]["max"] == 1


def test_editor_windows(frame, dialogs, tmp_path):
    tree, speed = sample_tree()
    folder = tmp_path / "编辑"
    tree.save(folder)
    options = ovk.ParameterTreeEditorOptions(value_column=True, unsaved_guard=True)
    panel = ovk.ParameterTreeEditorPanel(frame, str(folder), options=options)
    assert isinstance(panel, wx.Panel) and panel.counts() == {"directories": 1, "books": 1, "parameters": 1,
                                                            "unreadable_books": 0}
    assert panel.root_path == str(folder) and panel.root["电机"]["轴"]["速度"]["单位"] == "毫米/秒"
    assert panel.options().value_column and not panel.modified()
    tree_view = panel.ui_tree
    first = tree_view.GetFirstChild(tree_view.GetRootItem())[0]
    assert panel.item_object(first) is panel.root["电机"] and panel.item_object(wx.TreeItemId()) is None
    with pytest.raises(TypeError):
        panel.item_object("电机")
    panel._show_parameters_of_book(panel.root["电机"]["轴"])
    assert panel.ui_book.GetNumberRows() == 1
    panel.root["电机"]["轴"]["速度"]["max"] = 20
    dialogs.answer(wx.ID_OK)
    assert panel.modified() and panel.save()
    assert ParameterDirectory.load(folder)["电机"]["轴"]["速度"]["max"] == 20
    assert "编辑" in dialogs.last.message
    with pytest.raises(TypeError):
        ovk.ParameterTreeEditorOptions(no_such_option=True)

    assert ovk.ParameterTreeEditorOptions.all().json_editor and ovk.ParameterTreeEditorOptions.all().chooser_at_tree_folder
    editor = ovk.ParameterEditorDialog(frame, "速度", speed)
    editor.use_keyboard()
    editor.use_json_editor()
    assert editor.parameter() is speed and editor.ui_name.GetValue() == "速度"
    dialogs.press(wx.ID_CANCEL)
    editor.ShowModal()
    editor.Destroy()

    scalar = ovk.ParameterScalarAttributeEditorDialog(frame, "单位", "毫米")
    assert scalar.type_is_str() and scalar.ui_value().GetValue() == "毫米" and scalar.value == "毫米"
    assert scalar.ui_value() is scalar.ui_value_single_line and isinstance(scalar.m_name_label, wx.StaticText)
    scalar.Destroy()
    assert ovk.value_display_text(["二", 3]) and ovk.parameter_value_text(speed)
    assert ovk.value_json_text(["二", 3]) == '["二",3]' and ovk.parameter_value_text(speed, max=5).endswith("…")
    assert "cannot be saved: it is 270 bytes" in ovk.invalid_name_message("Book", "长" * 90, StoredAs.BookFile)
    assert ovk.invalid_name_message("参数", "a:b").startswith("参数 name `a:b` is invalid")
    descriptions = ovk.DescriptionEditorDialog(frame, speed)
    descriptions.Destroy()
    with pytest.raises(TypeError):
        ovk.DescriptionEditorDialog(frame, None)

    copy = ovk.ParaTreeCopyDialog(frame, ["电机", "轴"], tree["电机"]["轴"])
    assert copy.ui_source.GetValue() != ""
    copy.Destroy()
    with pytest.raises(ValueError):
        ovk.ParaTreeCopyDialog(frame, [], speed)

    dialog = ovk.ParameterTreeDialog(frame, str(folder))
    assert dialog.panel().counts()["parameters"] == 1
    assert run_modal(dialog, lambda: dialog.EndModal(wx.ID_CANCEL)) == wx.ID_CANCEL
    dialog.Destroy()
    wx.Yield()
    with pytest.raises(RuntimeError, match="deleted"):
        dialog.panel()
    for wrong in ("不是窗口", wx.BoxSizer()):
        with pytest.raises(TypeError):
            ovk.ParameterTreeEditorPanel(wrong)
