#!/usr/bin/python3
"""End to end on the X display in $DISPLAY, in a private D-Bus session (dbus-run-session): the
window as a screen reader hears it through the desktop's accessibility bus (AT-SPI).

Every control that takes the focus is found once, by its role and the name written below (the
window table must give the same), and nothing else takes the focus; the shop link is a link
whose action opens the shop; a refused value typed into a colour box becomes its description
and gives way to its colour once fixed; the messages after a refused import, Clear and Generate
are alerts that carry their text, with buttons in Chinese (Qt's own texts, loaded at start).

Usage: e2e_accessibility.py VELMORA WINDOWTABLE_DUMP
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

ROLES = {
    'box': {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY},
    'colour-box': {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY},
    'button': {pyatspi.ROLE_PUSH_BUTTON},
    'link': {pyatspi.ROLE_LINK},
}
FOCUSABLE = set().union(*ROLES.values())
# What a screen reader must announce for each control that takes the focus, in the tab order:
# a box by its prompt without the colon at its end, a button or the link by its caption.
EXPECTED = [
    ('Command2', 'button', '生成代码'),
    ('Text4(4)', 'box', '鼠标移至,导航背景图'),
    ('Text4(1)', 'box', '导航背景图'),
    ('Text4(6)', 'box', '所有分类背景图'),
    ('Text4(8)', 'box', '鼠标移至,所有分类背景图'),
    ('Text4(10)', 'box', '一级下拉菜单背景图'),
    ('Text7', 'box', '鼠标移至,一级菜单背景图'),
    ('Text1', 'box', '二级下拉菜单背景图'),
    ('Text2', 'box', '鼠标移至,二级菜单背景图'),
    ('Command1', 'button', '清空'),
    ('Text4(2)', 'colour-box', '导航文字颜色'),
    ('Text4(7)', 'colour-box', '所有分类文字颜色'),
    ('Text4(16)', 'colour-box', '二级下拉菜单文字颜色'),
    ('Text4(11)', 'colour-box', '一级下拉菜单文字颜色'),
    ('Label3', 'link', '访问作者店铺，看更多模板'),
]
REFUSED_COLOUR = ('pink', '店铺编辑器会去掉这个颜色名称，请改用 #RRGGBB 形式（例如 #FF6600）。')
FIXED_COLOUR = ('#FF6600', '显示的颜色：#FF6600')
# What sets each message off (a key on a control, or anywhere), its caption and how it starts.
MESSAGES = [
    (None, 'ctrl+i', '无法导入代码', '粘贴板中不是 Velmora 能读取的导航条代码'),
    ('Command1', 'space', '提示', '清空后将无法恢复，是否要清空现在的内容？'),
    ('Command2', 'space', '成功生成', '代码已生成，并复制至粘贴板'),
]


def fail(message):
    sys.exit(f'FAIL: {message}')


def wait_for(what, condition, seconds=20):
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            fail(f'waited {seconds} s for {what}')
        time.sleep(0.05)


def xdotool(*args):
    return subprocess.run(['timeout', '20', 'xdotool', *args], check=True, capture_output=True,
                          text=True).stdout.split()


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def the_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == 'velmora' and app.childCount > 0:
            return app
    return None


def alert(app, caption):
    return next((w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT
                 and w.name == caption), None)


def focus(control, window):
    xdotool('windowfocus', '--sync', window)
    control.queryComponent().grabFocus()
    wait_for(f'{control.name} to take the focus',
             lambda: control.getState().contains(pyatspi.STATE_FOCUSED))


def type_into(box, window, text):
    focus(box, window)
    xdotool('key', 'ctrl+a')
    xdotool('type', '--delay', '5', text)


def main():
    velmora, dump = sys.argv[1:3]
    dumped = [tuple(line.split('\t')) for line in
              subprocess.run([dump], check=True, capture_output=True, text=True).stdout.splitlines()]
    if dumped != EXPECTED:
        fail(f'the window table gives {dumped}')
    table = EXPECTED

    work = tempfile.mkdtemp()
    opened = os.path.join(work, 'opened')
    os.mkdir(os.path.join(work, 'bin'))
    with open(os.path.join(work, 'bin', 'xdg-open'), 'w') as stub:
        stub.write(f'#!/bin/sh\necho "$1" >>{opened}\n')
    os.chmod(os.path.join(work, 'bin', 'xdg-open'), 0o755)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
               PATH=os.path.join(work, 'bin') + ':' + os.environ['PATH'])
    # The accessibility bus first, as a desktop session starts it: started with the window, its
    # launcher now and then kept the window from connecting to the display.
    pyatspi.Registry.getDesktop(0)
    with open(os.path.join(work, 'velmora.log'), 'w') as log:
        process = subprocess.Popen([velmora], env=env, stdout=log, stderr=log)
    try:
        def started():
            if process.poll() is not None:
                with open(os.path.join(work, 'velmora.log')) as log:
                    fail(f'the window ended at once: {log.read()}')
            return the_app()
        app = wait_for('the window on the accessibility bus', started)
        window = xdotool('search', '--sync', '--onlyvisible', '--name', '^Velmora$')[0]

        # Every control that takes the focus, by its role and name, and nothing unnamed.
        found = {}
        for node in walk(app):
            if node.getRole() in FOCUSABLE:
                found.setdefault((node.getRole(), node.name), []).append(node)
        controls = {}
        for control, kind, name in table:
            matches = [n for role in ROLES[kind] for n in found.pop((role, name), [])]
            if len(matches) != 1:
                fail(f'{control}: {len(matches)} {kind}s named {name!r} on the bus')
            controls[control] = (kind, matches[0])
        if found:
            fail(f'controls not named above: {sorted(found)}')

        link = next(node for kind, node in controls.values() if kind == 'link')
        action = link.queryAction()
        if action.nActions < 1:
            fail('the shop link has no action')
        action.doAction(0)
        wait_for('the link to open the shop', lambda: os.path.exists(opened))

        box = next(node for kind, node in controls.values() if kind == 'colour-box')
        name = box.name
        for typed, description in (REFUSED_COLOUR, FIXED_COLOUR):
            type_into(box, window, typed)
            wait_for(f'the description {description!r} after {typed!r}',
                     lambda: box.description == description)
        if box.name != name:
            fail(f'the box changed its name to {box.name!r}')

        for control, key, caption, prompt in MESSAGES:
            if control:
                focus(controls[control][1], window)
            else:
                xdotool('windowfocus', '--sync', window)
            xdotool('key', key)
            shown = wait_for(f'the alert {caption}', lambda: alert(app, caption))
            if not shown.description.startswith(prompt):
                fail(f'the alert {caption} says {shown.description!r}')
            # Qt's own texts in Chinese, as the program loads them at start.
            buttons = [n.name for n in walk(shown) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
            if not buttons or not all(any('\u4e00' <= c <= '\u9fff' for c in name)
                                      for name in buttons):
                fail(f'the alert {caption} has the buttons {buttons!r}')
            box_window = xdotool('search', '--sync', '--onlyvisible', '--name', f'^{caption}$')[0]
            xdotool('windowfocus', '--sync', box_window)
            xdotool('key', 'Escape')
            wait_for(f'the alert {caption} to close', lambda: alert(app, caption) is None)
    finally:
        process.terminate()
        process.wait(timeout=20)
        shutil.rmtree(work)
    print(f'{len(table)} controls named as expected, link, description and '
          f'{len(MESSAGES)} alerts heard')


main()
