#!/usr/bin/env python3
"""Quit after the clipboard commands: the program ends cleanly and what was copied stays.

The person types into a note, selects the text and copies it, once with Ctrl+C and
once with the right-click menu's Copy, cuts a word with Ctrl+X, opens the font
dialog and closes it, and then quits from the tray menu. The program ends with exit
code 0 (the text on the clipboard is an object of the rich-text library, which must
outlive the editors and be rendered before the program goes), a new start is not
taken for a second instance, and Notepad pastes the copied text afterwards.
"""
from vn_desktop import Menu, expect, run_scenario

FONT_BUTTON = (186 + 37, 80 + 12)


def popup(desktop):
    window = desktop.wait_until(lambda: [w for w in desktop.windows() if w.cls == "#32768" and w.visible], 5,
                                "the right-click menu")[0]
    return Menu(desktop, window, ["Cut", "Copy", "Paste"])


def add_note_and_type(desktop, program, target, text):
    program.open_tray_menu().choose("Add a Note")
    desktop.click((target.rect[0] + 300, target.rect[1] + 300))
    note = program.wait_for_window(5, "a note on Notepad", cls="TFStickyNote", visible=True)
    inside = (note.rect[0] + 120, note.rect[1] + 140)
    desktop.click(inside)
    desktop.type_text(text)
    return note, inside


def quit_and_paste(desktop, notepad, program, expected):
    program.open_tray_menu().choose("Quit")
    expect(program.exit_code() == 0, "the program did not end with exit code 0")
    desktop.wait_until(lambda: not desktop.tray_icon_shown(), 10, "the tray icon to leave")
    # Notepad's edit control pastes as its Edit menu's Paste does.
    edit = notepad.wait_for_window(cls="Edit", children=True)
    desktop.act("set-text", edit.hwnd, "")
    desktop.act("paste", edit.hwnd)
    desktop.wait_until(lambda: desktop.text_of(edit) == expected, 10,
                       f"Notepad to paste {expected!r} (it reads {desktop.text_of(edit)!r})")


def session(desktop):
    notepad = desktop.start_notepad()
    target = notepad.wait_for_window(cls="Notepad", visible=True)

    # Ctrl+C, the menu's Copy, Ctrl+X; the copy of the menu is what stays.
    program = desktop.start_vantory_note()
    program.main_window()
    note, inside = add_note_and_type(desktop, program, target, "alpha beta")
    desktop.xdotool("key", "ctrl+a")
    desktop.xdotool("key", "ctrl+c")
    desktop.xdotool("key", "End")
    desktop.type_text(" gamma")
    desktop.xdotool("key", "ctrl+shift+Left")
    desktop.xdotool("key", "ctrl+x")
    desktop.xdotool("key", "ctrl+a")
    desktop.right_click(inside)
    popup(desktop).choose("Copy")
    quit_and_paste(desktop, notepad, program, "alpha beta ")

    # Again after a font change and the font dialog, opened and closed.
    program = desktop.start_vantory_note()
    program.main_window()
    expect(not [w for w in desktop.windows() if w.cls == "#32770" and w.visible],
           "a start after quitting was taken for a second instance")
    note = program.wait_for_window(10, "the note back on Notepad", cls="TFStickyNote", visible=True)
    inside = (note.rect[0] + 120, note.rect[1] + 140)
    desktop.click(inside)
    desktop.xdotool("key", "ctrl+a")
    desktop.click((note.rect[0] + FONT_BUTTON[0], note.rect[1] + FONT_BUTTON[1]))
    dialog = desktop.wait_until(lambda: program.windows(cls="#32770", visible=True), 5, "the font dialog")[0]
    desktop.pick_font_size(dialog, "20")
    desktop.click_button(dialog, "OK")
    desktop.wait_until(lambda: not program.windows(cls="#32770", visible=True), 5, "the font dialog to close")
    desktop.click(inside)
    desktop.xdotool("key", "ctrl+a")
    desktop.xdotool("key", "ctrl+c")
    desktop.click((note.rect[0] + FONT_BUTTON[0], note.rect[1] + FONT_BUTTON[1]))
    dialog = desktop.wait_until(lambda: program.windows(cls="#32770", visible=True), 5, "the font dialog")[0]
    desktop.click_button(dialog, "Cancel")
    desktop.wait_until(lambda: not program.windows(cls="#32770", visible=True), 5, "the font dialog to close")
    quit_and_paste(desktop, notepad, program, "alpha beta ")


run_scenario(session)
