#!/usr/bin/env python3
"""Quit after the clipboard commands: the program ends cleanly and what was copied stays.

The person types into a note, selects the text and copies it, once with Ctrl+C and
once with the right-click menu's Copy, cuts a word with Ctrl+X, opens the font
dialog and closes it, and then quits from the tray menu. The program ends with exit
code 0 (the text on the clipboard is an object of the rich-text library, which must
outlive the editors and be rendered before the program goes), a new start is not
taken for a second instance, and Notepad pastes the copied text afterwards.
"""
from vn_desktop import EDIT_MENU, body_point, expect, run_scenario


def quit_and_paste(desktop, notepad, program, expected):
    program.quit()
    desktop.wait_until(lambda: not desktop.tray_icon_shown(), 10, "the tray icon to leave")
    # Notepad's edit control pastes as its Edit menu's Paste does.
    edit = notepad.wait_for_window(cls="Edit", children=True)
    desktop.act("set-text", edit.hwnd, "")
    desktop.act("paste", edit.hwnd)
    desktop.wait_until(lambda: desktop.text_of(edit) == expected, 10,
                       f"Notepad to paste {expected!r} (it reads {desktop.text_of(edit)!r})")


def session(desktop):
    notepad, target = desktop.open_notepad()

    # Ctrl+C, the menu's Copy, Ctrl+X; the copy of the menu is what stays.
    program = desktop.start_vantory_note().ready()
    inside = body_point(program.add_note(target, text="alpha beta"))
    desktop.xdotool("key", "ctrl+a")
    desktop.xdotool("key", "ctrl+c")
    desktop.xdotool("key", "End")
    desktop.type_text(" gamma")
    desktop.xdotool("key", "ctrl+shift+Left")
    desktop.xdotool("key", "ctrl+x")
    desktop.xdotool("key", "ctrl+a")
    desktop.right_click(inside)
    desktop.popup_menu(EDIT_MENU, "the right-click menu").choose("Copy")
    quit_and_paste(desktop, notepad, program, "alpha beta ")

    # Again after a font change and the font dialog, opened and closed.
    program = desktop.start_vantory_note().ready()
    expect(not [w for w in desktop.windows() if w.cls == "#32770" and w.visible],
           "a start after quitting was taken for a second instance")
    note = program.wait_for_window(10, "the note back on Notepad", cls="TFStickyNote", visible=True)
    inside = body_point(note)
    desktop.click(inside)
    desktop.xdotool("key", "ctrl+a")
    dialog = program.open_font_dialog(note)
    desktop.pick_font_size(dialog, "20")
    program.close_font_dialog(dialog, "OK")
    desktop.click(inside)
    desktop.xdotool("key", "ctrl+a")
    desktop.xdotool("key", "ctrl+c")
    program.close_font_dialog(program.open_font_dialog(note), "Cancel")
    quit_and_paste(desktop, notepad, program, "alpha beta ")


run_scenario(session)
