#!/usr/bin/python3
"""Reads a running program through the accessibility bus, as a screen reader does.

  atspi_probe.py PID read DESCRIPTION
      prints the name and the text of the first object described so
      (on two lines: "name: ..." and "text: ...")
  atspi_probe.py PID screenreader
      behaves as a screen reader does: listens to the program's events
      (which makes the program send them) and asks for its window's name
      and child count every 100 ms. Prints "ready" once listening; each
      line "report" on standard input prints the figures since the last
      one ("queries: N median: M slowest: S events: E, most: ...", milliseconds);
      ends with its input.
"""
import select
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


def query(app):
    start = time.monotonic()
    window = app.get_child_at_index(0)
    if window is not None:
        window.get_name()
        window.get_child_count()
    return (time.monotonic() - start) * 1000.0


def screen_reader(app):
    events = {}

    roles = {}

    def heard(event):
        # The source's role is asked once per kind of event: asking for each
        # would make this stand-in far slower than a screen reader with its cache.
        if event.type not in roles:
            try:
                roles[event.type] = event.source.get_role_name() if event.source is not None else "?"
            except GLib.Error:
                roles[event.type] = "?"
        kind = event.type + " (" + roles[event.type] + ")"
        events[kind] = events.get(kind, 0) + 1

    listener = Atspi.EventListener.new(heard)
    # What a screen reader listens to: focus, windows, and the objects' changes.
    for kind in ("focus:", "window:", "object:children-changed", "object:state-changed",
                 "object:property-change", "object:text-changed", "object:selection-changed",
                 "object:active-descendant-changed", "object:value-changed"):
        listener.register(kind)
    context = GLib.MainContext.default()
    times = []
    print("ready", flush=True)
    next_query = time.monotonic()
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= next_query:
            times.append(query(app))
            next_query = time.monotonic() + 0.1
        if select.select([sys.stdin], [], [], 0.01)[0]:
            line = sys.stdin.readline()
            if not line:
                return 0
            times.sort()
            median = times[len(times) // 2] if times else 0.0
            slowest = times[-1] if times else 0.0
            busiest = sorted(events.items(), key=lambda item: -item[1])[:3]
            print("queries: %d median: %.1f slowest: %.1f events: %d, most: %s"
                  % (len(times), median, slowest, sum(events.values()),
                     ", ".join("%d %s" % (count, kind) for kind, count in busiest)), flush=True)
            times, events = [], {}


def main():
    pid, what = int(sys.argv[1]), sys.argv[2]
    Atspi.set_timeout(60000, 60000)
    app = find_application(pid)
    if app is None:
        print("Programm %d nicht am Barrierefreiheitsbus gefunden" % pid)
        return 1
    return read(app, sys.argv[3]) if what == "read" else screen_reader(app)


if __name__ == "__main__":
    sys.exit(main())
