#!/usr/bin/python3
"""Starts Quillory with its accessibility bridge on, finds it over AT-SPI as a screen
reader would, and checks names, roles, texts and picture descriptions on the title,
the menu, a lesson with its conversation history, the game and the quiz, pressing
buttons through the action interface. Prints what it finds; exits non-zero on any fault."""
import os
import subprocess
import sys
import time

import pyatspi

faults = []


def check(ok, what):
    print(("ok    " if ok else "FAULT ") + what)
    if not ok:
        faults.append(what)


def wait_for(find, what, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    print("FAULT " + what + ": not found")
    faults.append(what)
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == "quillory":
            return app
    return None


def showing(acc):
    states = acc.getState()
    return states.contains(pyatspi.STATE_SHOWING) or states.contains(pyatspi.STATE_VISIBLE)


def window(app, name):
    def find():
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and child.name == name and showing(child):
                return child
        return None
    return wait_for(find, "window " + name)


def controls(acc):
    out = []
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            out.append(child)
            out.extend(controls(child))
    return out


def by_name(win, name, role=None):
    for c in controls(win):
        if c.name == name and (role is None or c.getRoleName() == role):
            return c
    return None


def press(win, name):
    button = by_name(win, name, "push button")
    check(button is not None, "button %s on %s" % (name, win.name))
    if button is not None:
        button.queryAction().doAction(0)


def text_of(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def check_window(win):
    """Every control has a name; pictures are images with a description."""
    for c in controls(win):
        role = c.getRoleName()
        if role in ("push button", "label", "text", "image"):
            check(bool(c.name) and c.name == c.name.strip(),
                  "%s %r on %s has a name" % (role, c.name, win.name))
        if role == "image":
            check(bool(c.description), "image %r on %s: %s" % (c.name, win.name, c.description))


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = wait_for(application, "the application on the accessibility bus")
        if app is None:
            return 1
        title = window(app, "Quillory")
        if title is None:
            return 1
        check_window(title)
        check(by_name(title, "Quillory", "label") is not None, "title label Quillory")
        # Real keys from the display's keyboard: Return starts.
        pyatspi.Registry.generateKeyboardEvent(0xFF0D, None, pyatspi.KEY_SYM)

        menu = window(app, "Quilloryメニュー")
        check_window(menu)
        for name in ("＜６＞形容詞句", "＜１１＞副詞句", "＜１３＞仮定法", "終了", "THE LANTERN ROAD"):
            check(by_name(menu, name, "push button") is not None, "menu button " + name)
        press(menu, "＜１＞５文型 Part 1")

        lesson = window(app, "＜１＞５文型 Part 1")
        check_window(lesson)
        # At the default scale a lesson's window is about half the display's height.
        height = int(os.environ.get("DISPLAY_HEIGHT", "0"))
        if height:
            size = lesson.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            check(0.4 * height <= size.height <= 0.6 * height,
                  "lesson window %dx%d on a display %d high" % (size.width, size.height, height))
        talk = by_name(lesson, "会話", "text")
        check(talk is not None and "森岡" in text_of(talk), "lesson text 会話 reads the greeting")
        picture = by_name(lesson, "森岡　ハナ先生", "image")
        check(picture is not None, "the teacher's picture by name")
        press(lesson, "話す/ 質問する")
        if talk is not None:
            changed = wait_for(lambda: True if "私は、" not in text_of(talk) else None,
                               "the text after Talk", 5)
            check(changed is not None, "Talk changes the text: " + text_of(talk))
        # H lays the conversation so far over the lesson, as read-only text; H again
        # takes it away.
        def history_showing(showing):
            def find():
                h = by_name(lesson, "会話の履歴", "text")
                if h is not None and h.getState().contains(pyatspi.STATE_SHOWING) == showing:
                    return h
                return None
            return find
        pyatspi.Registry.generateKeyboardEvent(0x68, None, pyatspi.KEY_SYM)
        history = wait_for(history_showing(True), "the history after H", 5)
        if history is not None:
            said = text_of(history)
            check("【先生】" in said and "【あなた】" in said and "森岡" in said,
                  "the history reads who said what: " + said.replace("\n", " / "))
            check(not history.getState().contains(pyatspi.STATE_EDITABLE),
                  "the history is read-only")
        pyatspi.Registry.generateKeyboardEvent(0x68, None, pyatspi.KEY_SYM)
        check(wait_for(history_showing(False), "the history closed by H", 5) is not None,
              "H again closes the history")
        # Escape is the lesson's way back, to the title.
        pyatspi.Registry.generateKeyboardEvent(0xFF1B, None, pyatspi.KEY_SYM)

        title = window(app, "Quillory")
        press(title, "スタート")
        menu = window(app, "Quilloryメニュー")
        press(menu, "THE LANTERN ROAD")
        game = window(app, "THE LANTERN ROAD")
        check_window(game)
        scene = by_name(game, "老婆", "image")
        check(scene is not None and "老婆" in scene.description, "the game's first scene")
        press(game, "終了")

        menu = window(app, "Quilloryメニュー")
        press(menu, "怒濤の文型当て問題")
        quiz = window(app, "怒濤の文型当て問題")
        check_window(quiz)
        question = by_name(quiz, "問題", "text")
        check(question is not None and "Mary likes music." in text_of(question),
              "quiz text 問題 reads the first sentence")
        check(by_name(quiz, "S V （第１文型）", "label") is not None, "legend label S V")
        press(quiz, "終了（メニューに戻る）")
        menu = window(app, "Quilloryメニュー")
        press(menu, "終了")
        program.wait(timeout=10)
        check(program.returncode == 0, "the program ends from the menu")
    finally:
        if program.poll() is None:
            program.terminate()
            program.wait()
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
