#!/usr/bin/env python3
"""A recorded walk through every screen, replayed through the driver.

    replay_walk.py generate DRIVER COMMANDS    plays every screen, writes the commands
    replay_walk.py record DRIVER COMMANDS OUT  runs the commands, writes the output (.gz)
    replay_walk.py check DRIVER COMMANDS OUT   runs them and compares with OUT
    ... --record                                 the driver keeps its record in a new file

The check fails on the first line that differs and names its command.
"""
import gzip
import json
import os
import subprocess
import sys
import tempfile


class Driver:
    def __init__(self, program):
        self.proc = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, encoding="utf-8")
        self.commands = []
        self.state = self.do("dump")

    def do(self, command):
        self.commands.append(command)
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        state = json.loads(line)
        if "error" not in state:
            self.state = state
        return state

    def control(self, name):
        for c in self.state.get("controls", []):
            if c["name"] == name:
                return c
        return {}

    def visible(self, name):
        return self.control(name).get("visible", False)

    def answers(self):
        return [c["name"] for c in self.state.get("controls", [])
                if c["kind"] == "button" and c["caption"] in "１２３４５" and c["visible"]]

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def play(d, limit, game=False):
    """Plays the visible lesson or game: every answer of every question, wrong ones
    first in a lesson; in the game each answer until the right one, once."""
    tried = {}
    wrong = set()
    for _ in range(limit):
        step = d.state.get("step")
        if game and d.visible("Command9"):
            d.do("click Command9")
            continue
        if game and d.visible("Command8"):
            d.do("click Command8")
            continue
        answers = d.answers()
        if game and answers and step % 2 == 1 and step < 280:
            k = next(k for k in range(1, 5) if (step, k) not in wrong or k == 4)
            d.do("key %d" % k)
            if d.state.get("step", 0) >= 280:
                wrong.add((step, k))
            continue
        if answers and step is not None and step % 2 == 1:
            k = tried.get(step, 0)
            tried[step] = k + 1
            d.do("key %d" % (len(answers) - k % len(answers)))
            continue
        before = json.dumps(d.state, sort_keys=True)
        d.do("key Return")
        if json.dumps(d.state, sort_keys=True) == before:
            break


def generate(program, out):
    d = Driver(program)
    d.do("click Label1")
    d.do("key Return")
    d.do("click Command1")
    d.do("key Escape")
    # The quiz: a few right answers, a wrong one, retry, the way back.
    d.do("click C7")
    for command in ("click Command3", "click Command1", "click Command1", "click Command6",
                    "click Command6", "click Command3", "key Escape"):
        d.do(command)
    for k in range(2, 17):
        d.do("click C%d" % k)
        d.do("click Command4")  # hidden at the start
        play(d, 800)
        d.do("key Escape")
        if d.state.get("screen") == "Form1":
            d.do("key Return")
    d.do("click C17")
    play(d, 2000, game=True)
    d.do("click Command3")
    d.do("restart")
    d.do("frobnicate")
    d.do("key Return")
    d.do("click C18")
    d.do("click C1")
    d.do("restart")
    d.close()
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(d.commands) + "\n")
    print("%d commands" % len(d.commands))


def run(program, commands, record=False):
    with open(commands, encoding="utf-8") as f:
        text = f.read()
    with tempfile.TemporaryDirectory() as folder:
        # A fixed day: the record screen shows dates.
        arguments = ["--today", "2026-01-15"]
        if record:
            arguments += ["--record", os.path.join(folder, "record.sqlite")]
        done = subprocess.run([program] + arguments, input=text, capture_output=True, text=True,
                              encoding="utf-8")
    return [c for c in text.splitlines() if c.strip() and not c.startswith("#")], \
        done.stdout.splitlines()


def main():
    mode, program, commands = sys.argv[1:4]
    if mode == "generate":
        generate(program, commands)
        return 0
    sent, lines = run(program, commands, "--record" in sys.argv[5:])
    if mode == "record":
        with gzip.GzipFile(sys.argv[4], "wb", mtime=0) as f:
            f.write(("\n".join(lines) + "\n").encode("utf-8"))
        print("%d lines" % len(lines))
        return 0
    with gzip.open(sys.argv[4], "rt", encoding="utf-8") as f:
        expected = f.read().splitlines()
    for i, (command, want) in enumerate(zip(sent, expected)):
        got = lines[i] if i < len(lines) else "(no line)"
        if got != want:
            print("line %d, after '%s':\n  expected %s\n  got      %s" % (i + 1, command, want[:2000], got[:2000]))
            return 1
    if len(lines) != len(expected):
        print("%d lines, expected %d" % (len(lines), len(expected)))
        return 1
    print("%d lines as recorded" % len(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
