#!/usr/bin/env python3
"""The note's editor commands: the right-click menu, the wheel and the Font button.

The person types "abc", selects it, copies it with the right-click menu and pastes it
behind: the saved body reads "abcabc". They type a long list and turn the wheel over
the note: the body moves 10 pixels a notch. They press Font, pick size 72 and OK, and
type: 5 seconds later the saved body has the text at 72 points (\\fs144). Font, then
Cancel, writes nothing. They quit: the program ends cleanly after all this, the copy
on the clipboard included.
"""
import re
import time

from vn_desktop import EDIT_MENU, body_point, expect, run_scenario
from vn_store import INDEX, STORE, rtf_text


def body(desktop):
    path = desktop.data_folder / STORE / "0.txt"
    return path.read_bytes() if path.exists() else b""


def session(desktop):
    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note().ready()
    note = program.add_note(target, text="abc")
    inside = body_point(note)

    # Copy, then Paste behind it, through the right-click menu.
    desktop.xdotool("key", "ctrl+a")
    desktop.right_click(inside)
    menu = desktop.popup_menu(EDIT_MENU, "the right-click menu")
    expect(menu.texts in (None, EDIT_MENU), f"the menu offers {menu.texts}")
    menu.choose("Copy")
    desktop.xdotool("key", "End")
    desktop.right_click(inside)
    desktop.popup_menu(EDIT_MENU, "the right-click menu").choose("Paste")
    desktop.wait_until(lambda: rtf_text(body(desktop)) == "abcabc", 10,
                       f"the saved body to read abcabc (it reads {rtf_text(body(desktop))!r})")

    # The wheel: a body longer than the note, then notches over it.
    for i in range(25):
        desktop.xdotool("key", "Return")
        desktop.type_text(f"line {i}")
    # (The pointer stays where it is: xdotool's synced move waits for a motion that
    # never comes when the pointer is already there.)
    desktop.move_mouse((inside[0] + 10, inside[1]))
    desktop.xdotool("click", "--repeat", 30, "--delay", 20, 4)  # away from the person: up, to the top
    time.sleep(0.3)
    top = program.editors()[0].rect[1]
    desktop.xdotool("click", 5)
    time.sleep(0.3)
    expect(program.editors()[0].rect[1] == top - 10,
           f"one notch towards the person moved the body from {top} to {program.editors()[0].rect[1]}")
    desktop.xdotool("click", "--repeat", 2, "--delay", 50, 5)
    time.sleep(0.3)
    expect(program.editors()[0].rect[1] == top - 30, "three notches did not move the body 30 px")
    desktop.xdotool("click", 4)
    time.sleep(0.3)
    expect(program.editors()[0].rect[1] == top - 20, "a notch back did not move the body back 10 px")
    desktop.xdotool("key", "ctrl+End")

    # Font: size 72, OK, then typing.
    index = desktop.data_folder / STORE / INDEX
    desktop.wait_until(lambda: "line 24" in rtf_text(body(desktop)), 10, "the long body to be saved")
    dialog = program.open_font_dialog(note)
    desktop.pick_font_size(dialog, "72")
    program.close_font_dialog(dialog, "OK")
    desktop.type_text(" Big")
    last_key = time.monotonic()
    desktop.screenshot("font-72")
    desktop.wait_until(lambda: b"Big" in body(desktop), 10, "the big text to be saved")
    saved_after = time.monotonic() - last_key
    expect(4.5 <= saved_after <= 7.5, f"the store was written {saved_after:.1f} s after the last key")
    expect(re.search(rb"\\fs144[^}]*Big", body(desktop)), f"the body has no 72-point text: {body(desktop)[-200:]!r}")

    # Font, then Cancel: nothing is written.
    before = (index.stat().st_mtime_ns, body(desktop))
    program.close_font_dialog(program.open_font_dialog(note), "Cancel")
    time.sleep(6.5)
    expect((index.stat().st_mtime_ns, body(desktop)) == before, "cancelling the font dialog wrote the store")
    program.quit()


run_scenario(session)
