#!/usr/bin/env python3
"""The guide runner must fail a guide whose commands or shown outputs are
wrong; otherwise a passing docs test would prove nothing. Each case is a
small guide run through run_guide.py, with the outcome it must have."""
import os
import subprocess
import sys
import tempfile

RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "run_guide.py")
F = "```"

CASES = [
    # name, guide, passes, text the failure report must contain
    ("cd and variables carry from block to block",
     f"{F}sh\nmkdir -p a/b\ncd a\nx=42\n{F}\n\n{F}sh\ncd b\necho \"$x $(basename \"$PWD\")\"\n{F}\n"
     f"{F}text output\n42 b\n{F}\n", True, ""),
    ("a failing command fails the guide and names its block",
     f"intro\n\n{F}sh\ntrue\n{F}\n\n{F}sh\necho before\nfalse\necho after\n{F}\n", False, "guide.md:7"),
    ("an output that differs from what the command printed",
     f"{F}sh\necho 'You got 2'\n{F}\n{F}text output\nYou got 3\n{F}\n", False, "You got 3"),
    ("a file block lands where the shell stands, byte for byte",
     f"{F}sh\nmkdir d && cd d\n{F}\n{F}c file=x.vkc\nvoid main() {{ }}\n{F}\n"
     f"{F}sh\ncat x.vkc; ls ..\n{F}\n{F}text output\nvoid main() {{ }}\nd\n{F}\n", True, ""),
    ("a window command that stays open passes", f"{F}sh window\nsleep 30\n{F}\n", True, ""),
    ("a window command that ends by itself fails",
     f"{F}sh window\nexit 3\n{F}\n", False, "ended by itself (status 3)"),
    ("shown text that is neither a command nor an output is not run",
     f"{F}text\nfalse\n{F}\n{F}\nexit 1\n{F}\n", True, ""),
    ("too few checked outputs", f"{F}sh\ntrue\n{F}\n", False, "0 output blocks checked"),
    ("an unclosed block", f"{F}sh\ntrue\n", False, "never closed"),
    ("an output block with no command before it",
     f"{F}text output\nx\n{F}\n", False, "follows no command block"),
]


def run(guide_text, min_outputs):
    with tempfile.TemporaryDirectory() as folder:
        guide = os.path.join(folder, "guide.md")
        with open(guide, "w", encoding="utf-8") as f:
            f.write(guide_text)
        env = dict(os.environ, VORK_GUIDE_WINDOW_SECONDS="1")
        return subprocess.run([sys.executable, RUNNER, folder, guide, "--min-outputs", str(min_outputs)],
                              capture_output=True, text=True, env=env, timeout=60)


def main():
    failures = 0
    for name, guide, passes, expected in CASES:
        result = run(guide, 1 if name == "too few checked outputs" else 0)
        report = result.stdout + result.stderr
        ok = (result.returncode == 0) == passes and expected in report
        if not ok:
            failures += 1
            print(f"FAIL {name}: status {result.returncode}\n{report}")
    print(f"{len(CASES) - failures} of {len(CASES)} cases as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
