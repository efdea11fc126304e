#!/usr/bin/env python3
"""Pictures of every built screen: the title, the menu, the explanation, the quiz,
each lesson at every question that shows answer buttons, and the game at every
question, game over and retry question, played through to its end. Drives
build/quillory-shots by keys and clicks.

    xvfb-run -s '-screen 0 1280x1024x24' tools/screenshots.py OUT [--scale 2]
"""
import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


class Shots:
    def __init__(self, program, scale, out):
        self.out = out
        self.proc = subprocess.Popen([program, "--scale", str(scale)], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                     encoding="utf-8")
        self.state = self.do("dump")
        self.taken = 0

    def do(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        self.state = json.loads(self.proc.stdout.readline())
        return self.state

    def shot(self, name):
        self.proc.stdin.write("shot %s\n" % os.path.join(self.out, name + ".png"))
        self.proc.stdin.flush()
        self.taken += 1

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


def walk(s, name, limit):
    """Plays the visible lesson or game, taking a picture at every question."""
    tried = {}
    seen = set()
    for _ in range(limit):
        step = s.state["step"]
        if s.visible("Command9") and s.control("Command9").get("caption") == "移動":
            s.do("click Command9")
            continue
        if s.visible("Command8") and s.control("Command8").get("caption") == "もう一度":
            if ("over", step) not in seen:
                s.shot("%s-%03d" % (name, step))
                seen.add(("over", step))
            s.do("click Command8")
            continue
        answers = s.answers()
        if answers and step % 2 == 1:
            if step not in seen:
                s.shot("%s-%03d" % (name, step))
                seen.add(step)
            k = tried.get(step, 0)
            tried[step] = k + 1
            s.do("key %d" % (len(answers) - k % len(answers)))
            continue
        before = json.dumps(s.state, sort_keys=True)
        s.do("key Return")
        if json.dumps(s.state, sort_keys=True) == before:
            break


def walk_game(s, limit):
    """Plays the game to its end, taking a picture at every question, every game over
    and every retry question. A wrong answer is found by trying: after its game over
    the run starts again and the clicks so far are replayed, without pictures."""
    path = []
    seen = set()
    tried = {}

    def replay():
        s.do("restart")
        s.do("key Return")
        s.do("click C17")
        for command in path:
            s.do(command)

    for _ in range(limit):
        step = s.state["step"]
        if s.visible("Command9") and s.control("Command9").get("caption") == "移動":
            command = "click Command9"
        elif s.answers() and step % 2 == 1:
            if step not in seen:
                s.shot("Form17-%03d" % step)
                seen.add(step)
            k = tried.get(step, 0) + 1
            tried[step] = k
            s.do("key %d" % k)
            if s.state["step"] >= 280:
                over = s.state["step"]
                if over not in seen:
                    s.shot("Form17-%03d" % over)
                    s.do("click Command8")
                    s.do("key Return")
                    s.shot("Form17-%03d" % s.state["step"])
                    seen.add(over)
                replay()
                continue
            path.append("key %d" % k)
            continue
        else:
            command = "key Return"
        before = json.dumps(s.state, sort_keys=True)
        s.do(command)
        if json.dumps(s.state, sort_keys=True) == before:
            break
        path.append(command)
    s.shot("Form17-%03d" % s.state["step"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--scale", default="1")
    parser.add_argument("--program", default=os.path.join(HERE, "..", "build", "quillory-shots"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    s = Shots(args.program, args.scale, args.out)
    s.shot("Form1")
    s.do("key Return")
    s.shot("Form20")
    for button, back in (("Command1", "Command1"), ("C7", "Command7")):
        s.do("click " + button)
        s.shot(s.state["screen"])
        s.do("click " + back)
    for k in range(2, 17):
        s.do("click C%d" % k)
        screen = s.state["screen"]
        s.shot(screen + "-start")
        walk(s, screen, 600)
        s.do("key Escape")
        if s.state["screen"] == "Form1":
            s.do("key Return")
    s.do("click C17")
    s.shot("Form17-start")
    walk_game(s, 5000)
    s.close()
    print("%d pictures in %s" % (s.taken, args.out))


if __name__ == "__main__":
    sys.exit(main())
