#!/usr/bin/env python3
"""Runs the desktop program against a fast writer of its draw file and reports its resident
memory (VmRSS from /proc/PID/status) after 1,000, 10,000, 25,000, 50,000 and 100,000 draws
above start-up (and 200,000 and 400,000 when asked for that many).

The writer plays a betting program that writes its file newest first and replaces it by a
rename, a few dozen draws at a time, never more than the program can still see (it keeps at
most 60 draws ahead of what the program's feed log says has entered). Labels are a minute
lottery's (yyyymmdd0001 .. yyyymmdd1440), running on across days.

usage: scripts/soak-draws.py [draws] [poll interval in ms]   (defaults 100000 and 20)
       ZUOHAO_EXE=path/to/zuohao to use another build (default build/zuohao)
"""
import datetime
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

AHEAD = 60  # draws written beyond what has entered, well inside the 99 lines read
KEEP = 90  # lines the file holds
HISTORY = KEEP  # draws in the file before the program starts
CHECKPOINTS = (1_000, 10_000, 25_000, 50_000, 100_000, 200_000, 400_000)


def labels(start):
    day, n = start, 1
    while True:
        yield day.strftime("%Y%m%d") + "%04d" % n
        n += 1
        if n > 1440:
            day, n = day + datetime.timedelta(days=1), 1


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def main():
    total = int(sys.argv[1]) if len(sys.argv) > 1 else CHECKPOINTS[-1]
    poll = sys.argv[2] if len(sys.argv) > 2 else "20"
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    exe = os.environ.get("ZUOHAO_EXE", os.path.join(root, "build", "zuohao"))
    if not os.access(exe, os.X_OK):
        sys.exit("build the desktop program first (cmake --build build --target zuohao)")
    tmp = tempfile.mkdtemp(prefix="zuohao-soak-")
    env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
    for sub in ("config", "data", "run"):
        os.makedirs(os.path.join(tmp, sub), mode=0o700)
        env["XDG_%s" % {"config": "CONFIG_HOME", "data": "DATA_HOME", "run": "RUNTIME_DIR"}[sub]] = (
            os.path.join(tmp, sub))
    path, log = os.path.join(tmp, "draws.txt"), os.path.join(tmp, "feed.log")
    rng = random.Random(27)
    gen = labels(datetime.date(2027, 1, 1))
    lines = []  # newest first

    def add(count):
        for _ in range(count):
            lines.insert(0, "第%s期 开奖号码 %05d" % (next(gen), rng.randrange(100000)))
        del lines[KEEP:]
        with open(path + ".tmp", "w", encoding="utf-8") as f:
            f.write("".join(l + "\r\n" for l in lines))
        os.replace(path + ".tmp", path)

    add(HISTORY)
    prog = subprocess.Popen(
        [exe, "--draw-file", path, "--poll-interval", poll, "--feed-log", log,
         "--ini", os.path.join(tmp, "zelkwt.ini"), "--archive", os.path.join(tmp, "a.sqlite")],
        env=env, stdout=subprocess.DEVNULL, stderr=open(os.path.join(tmp, "err"), "w"))
    entered, offset, written, base, began = 0, 0, 0, None, time.time()
    marks = [c for c in CHECKPOINTS if c <= total] or [total]
    print("draws  rss_kb  seconds", flush=True)
    try:
        while marks:
            if prog.poll() is not None:
                sys.exit("the program ended early: " + open(os.path.join(tmp, "err")).read())
            if os.path.exists(log):
                with open(log, "rb") as f:
                    f.seek(offset)
                    chunk = f.read()
                    offset += chunk.rfind(b"\n") + 1
                    entered += chunk[: chunk.rfind(b"\n") + 1].count(b"\n")
            if base is None:
                if entered >= HISTORY:  # up: the history has entered
                    base = rss_kb(prog.pid)
                    print("start  %d  %.0f" % (base, time.time() - began), flush=True)
                    entered = 0
                else:
                    time.sleep(0.1)
                    continue
            if entered >= marks[0]:
                print("%d  %d  %.0f" % (marks.pop(0), rss_kb(prog.pid), time.time() - began),
                      flush=True)
                continue
            if written - entered < AHEAD and written < total:
                step = min(AHEAD // 2, total - written)
                add(step)
                written += step
            time.sleep(0.01)
    finally:
        prog.terminate()
        prog.wait()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
