#!/usr/bin/python3
"""Drives the program's windows as a user does: finds a control over the accessibility bus by the
captions on the way to it, and clicks it or types into it with the real mouse and keyboard (xdotool).

    drive_window.py APPLICATION STEP...

A step is one of
    click:PATH            click the control
    type:PATH=TEXT        click the edit box, select what it holds and type TEXT over it
    retype:PATH=PATH      type what the first control (a label) shows into the second, as type:
    choose:PATH=ITEM      open the drop-down list and pick the item ITEM
    shown:WINDOW          wait until the window is on show
    holds:PATH=TEXT       wait until the control (an edit box, a label) shows exactly TEXT
    changes:PATH=COUNT    wait until the control has shown COUNT different texts (a countdown)
    closed:WINDOW         wait until no window of that caption is on show
    key:KEYS              press the keys, as xdotool names them ("Down Return")

PATH is the chain of captions from a window down to the control, joined by "/"; each caption is
looked for among the descendants of the one before, depth first, on show only. The first caption
names the window. A control whose name is its value (a drop-down list) is named by its role and
place instead: "combo box#3" is the third drop-down list on show below the caption before. A
caption with "*" in it is a pattern ("Countdown *"), for a control whose name changes.
Ends with status 0 when every step was done, 1 with a message naming the step otherwise.
"""
import fnmatch
import subprocess
import sys
import time

import pyatspi

DEADLINE_SECONDS = 15


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def descendants(root):
    for child in root:
        if child is None or not showing(child):
            continue
        yield child
        yield from descendants(child)


def descendant(root, caption):
    role, hash_sign, place = caption.rpartition("#")
    if hash_sign and place.isdigit():
        matches = (acc for acc in descendants(root) if acc.getRoleName() == role)
        return next((acc for number, acc in enumerate(matches, 1) if number == int(place)), None)
    if "*" in caption:
        return next((acc for acc in descendants(root) if fnmatch.fnmatchcase(acc.name or "", caption)), None)
    return next((acc for acc in descendants(root) if acc.name == caption), None)


def find(app_name, path):
    """The control, looked for in every window on show with the first caption (a message box may
    share its caption with the main window)."""
    captions = path.split("/")
    app = application(app_name)
    if app is None:
        return None
    for window in app:
        if window is None or window.name != captions[0] or not showing(window):
            continue
        node = window
        for caption in captions[1:]:
            node = descendant(node, caption)
            if node is None:
                break
        if node is not None:
            return node
    return None


def text_of(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return acc.name


def wait_for(what, condition):
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    raise RuntimeError("timed out waiting for " + what)


def enabled(acc):
    return acc.getState().contains(pyatspi.STATE_ENABLED)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def type_text(text):
    # "--" ends xdotool's options: a check code may begin with a hyphen.
    xdotool("type", "--delay", "20", "--", text)


def click(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2))
    xdotool("click", "1")


def control(app_name, path):
    return wait_for(path, lambda: (lambda acc: acc if acc is not None and enabled(acc) else None)(
        find(app_name, path)))


def run(app_name, step):
    verb, _, rest = step.partition(":")
    if verb == "click":
        click(control(app_name, rest))
    elif verb == "type":
        path, _, text = rest.partition("=")
        click(control(app_name, path))
        xdotool("key", "ctrl+a")
        type_text(text)
    elif verb == "retype":
        shown, _, edit = rest.partition("=")
        text = text_of(control(app_name, shown))
        click(control(app_name, edit))
        xdotool("key", "ctrl+a")
        type_text(text)
    elif verb == "choose":
        path, _, item = rest.partition("=")
        click(control(app_name, path))
        type_text(item)
        xdotool("key", "Return")
    elif verb == "holds":
        path, _, text = rest.partition("=")
        wait_for(f"{path} to show {text!r}",
                 lambda: (lambda acc: acc is not None and text_of(acc) == text)(find(app_name, path)))
    elif verb == "changes":
        path, _, count = rest.partition("=")
        seen = set()

        def shown_texts():
            acc = find(app_name, path)
            if acc is not None:
                seen.add(text_of(acc))
            return len(seen) >= int(count)
        wait_for(f"{path} to show {count} different texts (seen {seen!r})", shown_texts)
    elif verb == "shown":
        wait_for(rest, lambda: find(app_name, rest))
    elif verb == "closed":
        wait_for(rest + " to close", lambda: find(app_name, rest) is None)
    elif verb == "key":
        xdotool("key", *rest.split())
    else:
        raise RuntimeError("unknown step")
    # The program handles the click before the next step looks at its windows.
    time.sleep(0.3)


def main():
    app_name, steps = sys.argv[1], sys.argv[2:]
    for step in steps:
        try:
            run(app_name, step)
        except Exception as error:
            print(f"step {step!r}: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
