#!/usr/bin/env python3
"""Runs the built tokloc on a table of cases and compares exact stdout and
stderr bytes and the exit code. Any stray byte fails a case.

usage: run_cases.py SUITE --exe PATH [--wine LOADER] [--launcher PATH]
                    [--stamp-header build_stamp.h] [--build-info build_info.h]
                    [--locpath DIR]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cases  # noqa: E402


def feed_all(pipe, data):
    """Writes data to a child's standard input, which it may close early."""
    try:
        pipe.write(data)
        pipe.close()
    except OSError:
        pass


def converse(cmd, env, case):
    """A coprocess: writes one line at a time and waits for its answer (a
    line ending in CR LF) before it writes the next, with the program's
    input still open; then closes it. The answers are the stdout."""
    p = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    out = b""
    timer = threading.Timer(case.get("timeout", 60), p.kill)
    timer.start()
    try:
        for line in case["dialogue"]:
            try:
                p.stdin.write(line)
                p.stdin.flush()
            except OSError:
                break  # the program has ended, or was ended by the timer
            answer = b""
            while not answer.endswith(b"\r\n"):
                chunk = p.stdout.read1(65536)
                if not chunk:
                    break
                answer += chunk
            out += answer
        try:
            p.stdin.close()
        except OSError:
            pass
        out += p.stdout.read()
        err = p.stderr.read()
        p.wait()
    finally:
        timer.cancel()
    return out, err, p.returncode


def run(opts, case):
    env = dict(os.environ)
    env.update(case.get("env", {}))
    if "cmd" in case:
        # A client runs the program: a shell, cmd.exe or a terminal.
        cmd = case["cmd"]
    elif "raw" in case or "raw_units" in case:
        # The launcher hands this exact command line to CreateProcessW.
        if "raw" in case:
            env["TOKLOC_COMMAND_LINE"] = case["raw"]
        else:
            env["TOKLOC_COMMAND_LINE_UNITS"] = "".join("%04x" % u for u in case["raw_units"])
        cmd = [opts.wine, opts.launcher] if opts.wine else [opts.launcher]
    else:
        cmd = ([opts.wine] if opts.wine else []) + [opts.exe] + list(case["args"])
    opened = []

    def target(kind):
        if kind == "null":
            opened.append(os.open("/dev/null", os.O_WRONLY))
            return opened[-1]
        if kind == "full":
            opened.append(os.open("/dev/full", os.O_WRONLY))
            return opened[-1]
        if kind == "closed-pipe":
            r, w = os.pipe()
            os.close(r)
            opened.append(w)
            return w
        if kind == "file":
            # A fresh regular file, read back as what the stream got.
            return tempfile.TemporaryFile()
        return subprocess.PIPE

    stdout_kind = case.get("stdout_target")
    reader = None
    if stdout_kind in ("nonblocking-pipe", "close-after-first-read"):
        # A pipe we read ourselves: slowly, from a write end left
        # non-blocking; or once, closing it after the first read.
        reader, stdout = os.pipe()
        opened.append(stdout)
        if stdout_kind == "nonblocking-pipe":
            os.set_blocking(stdout, False)
    else:
        stdout = target(stdout_kind)
    stderr = target(case.get("stderr_target")) if reader is None else tempfile.TemporaryFile()
    feed = case.get("stdin")
    if "dialogue" in case:
        return converse(cmd, env, case)
    try:
        p = subprocess.Popen(cmd, stdin=subprocess.DEVNULL if feed is None else subprocess.PIPE, env=env,
                             cwd=case.get("cwd"), stdout=stdout, stderr=stderr)
        for fd in opened:
            os.close(fd)
        opened = []
        if reader is None:
            out, err = p.communicate(feed, timeout=case.get("timeout", 120))
        else:
            if feed is not None:
                threading.Thread(target=feed_all, args=(p.stdin, feed), daemon=True).start()
            out = b""
            if stdout_kind == "nonblocking-pipe":
                time.sleep(0.3)  # let the writer find the pipe full
            while True:
                chunk = os.read(reader, 65536)
                out += chunk
                if not chunk or stdout_kind == "close-after-first-read":
                    break
                time.sleep(0.005)
            os.close(reader)
            p.wait(timeout=case.get("timeout", 120))
            stderr.seek(0)
            err = stderr.read()
    except subprocess.TimeoutExpired:
        p.kill()
        return b"", b"", "timed out"
    finally:
        for fd in opened:
            os.close(fd)
    if hasattr(stdout, "seek"):
        stdout.seek(0)
        out = stdout.read()
    if hasattr(stderr, "seek") and reader is None:
        stderr.seek(0)
        err = stderr.read()
    return out or b"", err or b"", p.returncode


def matches(expected, actual):
    if isinstance(expected, re.Pattern):
        return expected.fullmatch(actual) is not None
    return expected == actual


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("suite")
    parser.add_argument("--exe", required=True)
    parser.add_argument("--wine")
    parser.add_argument("--launcher")
    parser.add_argument("--stamp-header", help="the build's build_stamp.h")
    parser.add_argument("--build-info", help="the build's build_info.h")
    parser.add_argument("--locpath", default="", help="private locales for LOCPATH")
    opts = parser.parse_args()
    opts.exe = os.path.abspath(opts.exe)
    # The constants the build compiled in (version, platform tag,
    # notices, build stamp), read from the headers it wrote.
    opts.build = {}
    for header in (opts.build_info, opts.stamp_header):
        if header:
            with open(header, encoding="utf-8") as f:
                opts.build.update(re.findall(r'inline constexpr char (\w+)\[\] = "([^"]*)";', f.read()))
    opts.build_stamp = opts.build.get("BuildDateTime", "")
    platform = "win32" if opts.exe.endswith(".exe") else "posix"
    table = cases.suite(opts.suite, platform, opts)
    failed = 0
    for case in table:
        out, err, code = run(opts, case)
        if "filter" in case:
            out = case["filter"](out)
        problems = []
        if not matches(case.get("stdout", b""), out):
            problems.append("stdout %r, expected %r" % (out, case.get("stdout", b"")))
        if not matches(case.get("stderr", b""), err):
            problems.append("stderr %r, expected %r" % (err, case.get("stderr", b"")))
        if code != case["code"]:
            problems.append("exit code %s, expected %d" % (code, case["code"]))
        if problems:
            failed += 1
            print("FAIL %s\n  %s" % (case["name"], "\n  ".join(problems)))
    print("%d passed, %d failed" % (len(table) - failed, failed))
    return 1 if failed or not table else 0


if __name__ == "__main__":
    sys.exit(main())
