#!/usr/bin/python3
"""Prints what a screen reader finds in the running program over AT-SPI:
the main window, then every window the menus open, in one language (zh or
en, the first argument). Each line is one object: its role, name, value,
description, the labels it is labelled by and its states. With a folder as
the second argument it also saves a screenshot of the screen after each
window opened (for looking at the windows at 200 %). Run by
accessibility-tree.sh, which starts the program with its accessibility
bridge on."""

import os
import subprocess
import sys
import time

import pyatspi

# Menu entries (by objectName's caption in each language) that open the
# windows, in the order they are visited.
WINDOWS = [
    ("信道信息", "Channel Information"),
    ("可选功能", "Optional Features"),
    ("收音机编辑", "Radio"),
    ("机型", "Model"),
    ("端口设置", "Communication"),
    ("打开", "Open"),
    ("保存", "Save"),
    ("从对讲机读取数据", "Read from radio"),
    ("向对讲机写入数据", "Write to radio"),
    ("校验对讲机数据", "Verify radio"),
    ("批量写入", "Write to several radios"),
    ("发射功率调整", "Power Adjust"),
    ("关于", "About"),
]

SKIP_STATES = {"enabled", "sensitive", "visible", "showing", "opaque", "horizontal",
               "vertical", "single line", "selectable text"}


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for app in desktop:
            if app and app.name in ("ql540-cps", "QL540 CPS"):
                return app
        time.sleep(0.2)
    sys.exit("ql540-cps not found on the accessibility bus")


def describe(obj):
    role = obj.getRoleName()
    parts = [role]
    if obj.name:
        parts.append('"%s"' % obj.name)
    try:
        value = obj.queryValue().currentValue
        parts.append("value=%g" % value)
    except NotImplementedError:
        pass
    try:
        text = obj.queryText()
        content = text.getText(0, min(text.characterCount, 60))
        if content and content != obj.name and role in ("text", "entry", "combo box", "label"):
            parts.append("text=%r" % content)
    except NotImplementedError:
        pass
    if obj.description:
        parts.append("desc=%r" % obj.description)
    labels = []
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target and target.name:
                    labels.append(target.name)
    if labels:
        parts.append("labelled-by=%s" % "|".join(labels))
    states = [pyatspi.stateToString(s) for s in obj.getState().getStates()]
    states = [s for s in states if s not in SKIP_STATES]
    if states:
        parts.append("[%s]" % ",".join(states))
    return " ".join(parts)


def dump(obj, depth=0, out=sys.stdout, limit=60):
    """Prints obj and its descendants; the rows of a table are cut short."""
    if not obj.getState().contains(pyatspi.STATE_SHOWING) and depth > 0:
        return
    print("  " * depth + describe(obj), file=out)
    role = obj.getRoleName()
    count = obj.childCount
    shown = min(count, 12) if role in ("table", "tree table", "list", "tree") else min(count, limit)
    for i in range(shown):
        child = obj.getChildAtIndex(i)
        if child:
            dump(child, depth + 1, out)
    if shown < count:
        print("  " * (depth + 1) + "... %d more" % (count - shown), file=out)


def find(obj, predicate, depth=0):
    if predicate(obj):
        return obj
    if depth > 12:
        return None
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child:
            found = find(child, predicate, depth + 1)
            if found:
                return found
    return None


def press(obj):
    action = obj.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press", "toggle", "activate"):
            action.doAction(i)
            return
    action.doAction(0)


def menu_item(app, name):
    return find(app, lambda o: o.getRoleName() == "menu item" and o.name.strip() == name)


def child_windows(app):
    """The child windows inside the main window's area, by their title."""
    area = find(app, lambda o: o.getRoleName() == "layered pane")
    windows = {}
    if area:
        for i in range(area.childCount):
            child = area.getChildAtIndex(i)
            if child and child.getRoleName() == "frame":
                windows[child.name] = child
    return windows


def screenshot(folder, language, number, caption):
    if folder:
        name = "%s-%02d.png" % (language, number)
        subprocess.run(["import", "-window", "root", os.path.join(folder, name)], check=True)
        print("    (screenshot %s: %s)" % (name, caption))


def main():
    language = sys.argv[1] if len(sys.argv) > 1 else "zh"
    folder = sys.argv[2] if len(sys.argv) > 2 else None
    chinese = language == "zh"
    app = find_app()
    time.sleep(1.0)
    if not chinese:
        press(menu_item(app, "English"))
        time.sleep(1.0)
    print("=== main window (%s)" % language)
    screenshot(folder, language, 0, "main window")
    frame = find(app, lambda o: o.getRoleName() == "frame")
    for i in range(frame.childCount):
        child = frame.getChildAtIndex(i)
        if child.getRoleName() not in ("desktop pane",):
            dump(child, 1)
    seen = set(child_windows(app))
    for number, (zh, en) in enumerate(WINDOWS, start=1):
        captions = (zh, zh.replace("机型", "机 型")) if chinese else (en,)
        item = None
        for caption in captions:
            item = item or menu_item(app, caption)
        if not item:
            print("=== %s: no such menu entry" % captions[0])
            continue
        press(item)
        time.sleep(1.5)
        print("=== %s" % captions[0])
        screenshot(folder, language, number, captions[0])
        for title, window in child_windows(app).items():
            if title not in seen:
                dump(window, 1)
                seen.add(title)
        # Every dialog the entry opened (file dialogs, message boxes).
        for i in range(app.childCount):
            top = app.getChildAtIndex(i)
            if top and top.getRoleName() in ("dialog", "alert") \
                    and top.getState().contains(pyatspi.STATE_SHOWING):
                print("--- %s" % top.getRoleName())
                dump(top, 1)
                ok = find(top, lambda o: o.getRoleName() == "push button")
                if ok:
                    press(ok)
                    time.sleep(0.5)


if __name__ == "__main__":
    main()
