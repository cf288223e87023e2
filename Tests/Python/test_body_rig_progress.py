"""The body rig build's progress window as the tool script drives it: the bundled script's progress
helpers reach the native window through unreal.VNFaceSDKImportLibrary, never go past 100, and never
let the window stop the build."""

import types

import pytest

TITLE = "Vantorel Body Control Rig"
START_TEXT = "Waking up the procedural rig builder..."
DONE_TEXT = "Control Rig complete \u2014 putting the tools away..."


def progress_windows(editor):
    return [window for window in editor.slate_windows() if window["title"] == TITLE]


def last_painted(editor):
    return "\n".join(editor.slate_ticks()[-1][1])


def test_the_script_opens_advances_and_closes_the_native_window(tool_script, editor):
    progress = tool_script["body_rig_begin_progress"]()
    assert progress["value"] == 0.0
    [window] = progress_windows(editor)
    assert window["shown"] and not window["destroyed"] and window["parent"] is None
    assert window["client_size"] == (560.0, 112.0)
    assert f'STextBlock "{START_TEXT}"' in window["content"] and "SProgressBar Percent=0\n" in window["content"]

    tool_script["body_rig_progress"](progress, 60, "Reading Body Rig JSON...")
    assert progress["value"] == 60.0
    assert "Percent=0.6\n" in last_painted(editor) and '"Reading Body Rig JSON..."' in last_painted(editor)
    # Steps whose amounts add up past 100 leave the bar full, never beyond.
    tool_script["body_rig_progress"](progress, 60, "Saving your completed Body Control Rig...")
    assert progress["value"] == 100.0
    assert "Percent=1\n" in last_painted(editor)

    tool_script["body_rig_end_progress"](progress)
    [window] = progress_windows(editor)
    assert window["destroyed"] and not window["shown"]
    assert f'"{DONE_TEXT}"' in window["content"]
    # Begin (twice: the end of any earlier window, then the new one), two steps, the closing update and the end.
    assert len(editor.slate_ticks()) == 6
    assert editor.slate_ticks()[-1][1] == []


@pytest.mark.parametrize("percent, painted", [(-5, "Percent=0\n"), (250, "Percent=1\n"), (42.5, "Percent=0.425\n")])
def test_the_native_update_takes_its_script_keywords_and_clamps(unreal, editor, percent, painted):
    library = unreal.VNFaceSDKImportLibrary
    library.begin_body_rig_progress(message="Start")
    library.update_body_rig_progress(percent=percent, message="Step")
    assert painted in last_painted(editor)
    library.end_body_rig_progress()
    assert all(window["destroyed"] for window in progress_windows(editor))


def fake_library(calls, fail=(), **omitted):
    """A stand-in native library recording its progress calls; names in fail raise."""
    def make(name):
        def call(*args):
            calls.append((name,) + args)
            if name in fail:
                raise RuntimeError(name + " failed")
        return call
    names = [name for name in ("begin_body_rig_progress", "update_body_rig_progress", "end_body_rig_progress") if name not in omitted]
    return types.SimpleNamespace(VNFaceSDKImportLibrary=types.SimpleNamespace(**{name: make(name) for name in names}))


def test_without_all_three_native_functions_every_progress_call_does_nothing(tool_script, monkeypatch):
    calls = []
    monkeypatch.setitem(tool_script, "unreal", fake_library(calls, end_body_rig_progress=None))
    progress = tool_script["body_rig_begin_progress"]()
    assert progress is None
    tool_script["body_rig_progress"](progress, 10, "Step")
    tool_script["body_rig_end_progress"](progress)
    assert calls == []


def test_a_failing_update_or_end_never_stops_the_build(tool_script, monkeypatch):
    calls = []
    monkeypatch.setitem(tool_script, "unreal", fake_library(calls, fail=("update_body_rig_progress", "end_body_rig_progress")))
    progress = tool_script["body_rig_begin_progress"]()
    tool_script["body_rig_progress"](progress, 30, "Step")
    tool_script["body_rig_end_progress"](progress)
    # The window is still closed after its closing update failed.
    assert calls == [("begin_body_rig_progress", START_TEXT), ("update_body_rig_progress", 30.0, "Step"),
                     ("update_body_rig_progress", 100.0, DONE_TEXT), ("end_body_rig_progress",)]
