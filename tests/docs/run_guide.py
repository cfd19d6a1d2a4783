#!/usr/bin/env python3
"""Runs an author's guide the way a reader would: every fenced block, in
order, in one shell standing in a scratch home folder, with the built
player and tools first on PATH and the player headless.

Fences are told apart by their info string:
  ```sh            commands; they must succeed
  ```sh window     a command that opens a window; it must still be running
                   when its time is up (a window stays open until closed)
  ```LANG file=P   the contents of file P, written where the shell stands
  ```text output   what the previous ```sh block prints, exactly
Any other fence is shown text and is left alone.

  run_guide.py BUILD_DIR GUIDE.md [--min-outputs N]
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

# Long enough for the player to start and show its first scene.
WINDOW_SECONDS = int(os.environ.get("VORK_GUIDE_WINDOW_SECONDS", "6"))


class Block:
    def __init__(self, line, info, text):
        self.line = line
        words = info.split()
        self.lang = words[0] if words else ""
        self.flags = words[1:]
        self.text = text

    def attribute(self, name):
        for flag in self.flags:
            if flag.startswith(name + "="):
                return flag[len(name) + 1:]
        return None


def read_blocks(path):
    blocks = []
    fence = re.compile(r"^(```+)(.*)$")
    with open(path, encoding="utf-8") as guide:
        lines = guide.read().split("\n")
    i = 0
    while i < len(lines):
        opening = fence.match(lines[i])
        if not opening:
            i += 1
            continue
        start, ticks = i + 1, opening.group(1)
        i += 1
        body = []
        while i < len(lines) and lines[i].rstrip() != ticks:
            body.append(lines[i])
            i += 1
        if i == len(lines):
            sys.exit(f"{path}:{start}: the block opened here is never closed")
        blocks.append(Block(start, opening.group(2).strip(), "\n".join(body) + "\n"))
        i += 1
    return blocks


def build_script(blocks, guide, log):
    """One bash script for the whole guide, so that cd and variables carry
    from one block to the next as they do for a reader."""
    out = ["set -euo pipefail"]
    outputs = 0
    last_run = None
    for n, block in enumerate(blocks):
        where = shlex.quote(f"{guide}:{block.line}")
        saved = os.path.join(log, f"{n}.block")
        with open(saved, "w", encoding="utf-8") as f:
            f.write(block.text)
        target = block.attribute("file")
        if block.lang == "sh" and "window" in block.flags:
            out.append(f"echo {n} {where} >{log}/at")
            out.append(
                f"status=0; timeout -k 2 {WINDOW_SECONDS} bash -euo pipefail {saved} "
                f">{log}/{n}.out 2>{log}/{n}.err || status=$?")
            out.append(
                f'[ "$status" -eq 124 ] || {{ echo "{where}: the window run ended by itself '
                f'(status $status) instead of staying open"; exit 1; }}')
            last_run = None
        elif block.lang == "sh":
            out.append(f"echo {n} {where} >{log}/at")
            out.append(f"{{\n{block.text}}} >{log}/{n}.out 2>{log}/{n}.err")
            last_run = n
        elif target is not None:
            out.append(f"echo {n} {where} >{log}/at")
            out.append(f"cp {saved} {shlex.quote(target)}")
        elif block.lang == "text" and "output" in block.flags:
            if last_run is None:
                sys.exit(f"{guide}:{block.line}: an output block that follows no command block")
            out.append(f"echo {n} {where} >{log}/at")
            out.append(f"diff -u {saved} {log}/{last_run}.out")
            outputs += 1
    return "\n".join(out) + "\n", outputs


def main():
    args = sys.argv[1:]
    min_outputs = 0
    if "--min-outputs" in args:
        at = args.index("--min-outputs")
        min_outputs = int(args[at + 1])
        del args[at:at + 2]
    if len(args) != 2:
        sys.exit(__doc__)
    build, guide = os.path.abspath(args[0]), os.path.abspath(args[1])
    blocks = read_blocks(guide)
    with tempfile.TemporaryDirectory(prefix="vork-guide.") as work:
        log = os.path.join(work, "log")
        home = os.path.join(work, "home")
        for folder in (log, home, os.path.join(work, "config"), os.path.join(work, "data")):
            os.makedirs(folder)
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        script, outputs = build_script(blocks, guide, log)
        if outputs < min_outputs:
            sys.exit(f"{guide}: {outputs} output blocks checked, at least {min_outputs} expected")
        env = dict(os.environ)
        env.update({
            "PATH": build + os.pathsep + env.get("PATH", ""),
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(work, "config"),
            "XDG_DATA_HOME": os.path.join(work, "data"),
            "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "offscreen",
            "SDL_AUDIODRIVER": "dummy",
            "VORK_SEED": "1",
        })
        run = subprocess.run(["bash", "-c", script], cwd=home, env=env)
        if run.returncode != 0:
            n, at = open(os.path.join(log, "at"), encoding="utf-8").read().split(maxsplit=1)
            print(f"failed at the block of {at.strip()}")
            for stream, named in (("out", "output"), ("err", "error")):
                path = os.path.join(log, f"{n}.{stream}")
                if os.path.exists(path) and os.path.getsize(path):
                    print(f"--- its standard {named}:\n" + open(path, errors="replace").read())
            return 1
    print(f"{len(blocks)} blocks of {guide} run, {outputs} outputs as shown")
    return 0


if __name__ == "__main__":
    sys.exit(main())
