#!/usr/bin/python3
"""Reads a running program through the accessibility bus, as a screen reader does.

  atspi_probe.py PID read DESCRIPTION
      prints the name and the text of the first object described so
      (on two lines: "name: ..." and "text: ...")
  atspi_probe.py PID watch SECONDS
      asks the program for its window's name and child count every 100 ms
      for SECONDS and prints the number of queries, the median and the
      slowest answer in milliseconds ("queries: N median: M slowest: S")
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Views with thousands of rows are not walked: their rows are not labels.
SKIPPED_ROLES = {Atspi.Role.TABLE, Atspi.Role.TREE_TABLE, Atspi.Role.TREE, Atspi.Role.LIST,
                 Atspi.Role.LIST_BOX, Atspi.Role.MENU_BAR, Atspi.Role.MENU}


def find_application(pid, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except GLib.Error:
                continue
        time.sleep(0.2)
    return None


def find_described(node, description, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if node.get_description() == description:
            return node
        if node.get_role() in SKIPPED_ROLES:
            return None
        for i in range(node.get_child_count()):
            found = find_described(node.get_child_at_index(i), description, depth + 1)
            if found is not None:
                return found
    except GLib.Error:
        return None
    return None


def read(app, description):
    node = find_described(app, description)
    if node is None:
        print("nicht gefunden: " + description)
        return 1
    text = node.get_text_iface()
    print("name: " + (node.get_name() or ""))
    print("text: " + (Atspi.Text.get_text(text, 0, Atspi.Text.get_character_count(text)) if text else ""))
    return 0


def watch(app, seconds):
    times = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        start = time.monotonic()
        window = app.get_child_at_index(0)
        if window is not None:
            window.get_name()
            window.get_child_count()
        times.append((time.monotonic() - start) * 1000.0)
        time.sleep(0.1)
    times.sort()
    print("queries: %d median: %.1f slowest: %.1f" % (len(times), times[len(times) // 2], times[-1]))
    return 0


def main():
    pid, what, argument = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    Atspi.set_timeout(60000, 60000)
    app = find_application(pid)
    if app is None:
        print("Programm %d nicht am Barrierefreiheitsbus gefunden" % pid)
        return 1
    return read(app, argument) if what == "read" else watch(app, float(argument))


if __name__ == "__main__":
    sys.exit(main())
