"""End-to-end case tables. Each case: name, args (or raw: an exact Win32
command line, or cmd: a client's command), expected stdout and stderr
(bytes, or a compiled regex where a build stamp varies) and exit code; env
adds variables; stdin is fed to the program; stdout_target and
stderr_target send a stream to /dev/full, a closed pipe, a file, a
non-blocking pipe read slowly or a pipe closed after the first read;
filter turns stdout into what is compared."""
import atexit
import glob
import json
import os
import re
import shutil
import subprocess
import tempfile

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden")


def golden(name):
    with open(os.path.join(GOLDEN, name), "rb") as f:
        return f.read()

FAILURE_REPORT = re.compile(
    rb"An unhandled exception occurred at \$[0-9A-F]{16}:\r\n"
    rb"EInOutError: Disk Full\r\n"
    rb"(  \$[0-9A-F]{16}\r\n)+"
    rb"\r\n")

LONG_LINE = "And we can look for tokens at the very end on the line"
THIS_LINE = "We can look for tokens like THIS: even in the middle"


def search_cases(platform):
    # The largest single argument each platform passes: Linux 128 Ki less
    # the terminator; on Windows text and token share one command line of
    # at most 32,767 characters.
    big = 21000 if platform == "win32" else 128 * 1024 - 1
    cases = [
        dict(name="whole words", args=["This is not a very long string", "long"],
             stdout=b"TRUE|20|24|0|very|string|\r\n", code=0),
        dict(name="length 12", args=[THIS_LINE, "THIS:", "12"],
             stdout=b"TRUE|29|34|12|tokens like | even in the|\r\n", code=0),
        dict(name="length 0 given", args=[THIS_LINE, "THIS:", "0"],
             stdout=b"TRUE|29|34|0|like|even|\r\n", code=0),
        dict(name="case-sensitive miss", args=[LONG_LINE, "LINE", "7"],
             stdout=b"FALSE|0|0|7|||\r\n", code=76),
        dict(name="token ends the text", args=[LONG_LINE, "line", "7"],
             stdout=b"TRUE|51|55|7|on the ||\r\n", code=0),
        dict(name="length that does not convert", args=["a b", "b", "abc"],
             stdout=b"TRUE|3|4|0|a||\r\n", code=0),
        dict(name="empty delimiters take the default", args=["a;b", ";", "0", ""],
             stdout=b"TRUE|2|3|0|a|b|\r\n", code=0),
        dict(name="own delimiters replace the default", args=["x-y TOKEN a-b", "TOKEN", "0", "-"],
             stdout=b"TRUE|5|10|0|y | a|\r\n", code=0),
        dict(name="fifth argument ignored", args=["a;b", ";", "0", "", "extra"],
             stdout=b"TRUE|2|3|0|a|b|\r\n", code=0),
        dict(name="hex length", args=["abcTOKENdefgh", "TOKEN", "$2"],
             stdout=b"TRUE|4|9|2|bc|de|\r\n", code=0),
        dict(name="decimal length saturates", args=["abc", "b", "3000000000"],
             stdout=b"TRUE|2|3|2147483647|a|c|\r\n", code=0),
        dict(name="negative length means words", args=["abc", "b", "-5"],
             stdout=b"TRUE|2|3|-5|a|c|\r\n", code=0),
        dict(name="empty token", args=["abc", ""], stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="empty text", args=["", "a"], stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="token longer than text", args=["ab", "abc"], stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="switch in second place is text", args=["x", "-?"], stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="a switch compares exactly", args=["-? ", "x"], stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="a first argument like a switch is text", args=["-x", "x"], stdout=b"TRUE|2|3|0|-||\r\n",
             code=0),
        dict(name="an empty length argument", args=["x-y TOKEN a-b", "TOKEN", "", "-"],
             stdout=b"TRUE|5|10|0|y | a|\r\n", code=0),
        dict(name="pipe in context is not escaped", args=["a|b TOKEN c|d", "TOKEN"],
             stdout=b"TRUE|5|10|0|a|b|c|d|\r\n", code=0),
        dict(name="adversarial token", args=["a" * big, "a" * (big // 2 - 1) + "b"],
             stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="long context", args=["a" * 1000 + " TOKEN " + "b" * 1000, "TOKEN"],
             stdout=b"TRUE|1002|1007|0|" + b"a" * 1000 + b"|" + b"b" * 1000 + b"|\r\n", code=0),
    ]
    return cases


def failure_cases(platform):
    cases = [
        dict(name="stdout is full", args=["abc", "b"], stdout_target="full",
             stderr=FAILURE_REPORT, code=217),
    ]
    if platform == "posix":
        cases.append(dict(name="stdout is a closed pipe", args=["abc", "b"],
                          stdout_target="closed-pipe", stderr=FAILURE_REPORT, code=217))
        cases.append(dict(name="stderr is full too", args=["abc", "b"], stdout_target="full",
                          stderr_target="full", code=217))
    return cases


def console_page_case(opts, name, line, page, stream, expected, code):
    """tokloc started by the launcher with a console (script(1) gives it
    one) whose output page the launcher sets first; stream ("stdout" or
    "stderr") goes to a file, whose bytes are what the case compares."""
    folder = tempfile.mkdtemp(prefix="tokloc-console-")
    atexit.register(shutil.rmtree, folder, True)
    path = os.path.join(folder, "out.txt")
    env = {"TOKLOC_COMMAND_LINE": line, "TOKLOC_CONSOLE_CP": str(page),
           "TOKLOC_" + stream.upper(): windows_path(path), "WINE": opts.wine, "LAUNCHER": opts.launcher,
           "OUT": path, "LANG": "C.UTF-8", "LC_ALL": ""}
    script = 'script -qec \'"$WINE" "$LAUNCHER"\' /dev/null >/dev/null; rc=$?; cat "$OUT"; exit $rc'
    return dict(name=name, cmd=["sh", "-c", script], env=env, stdout=expected, code=code)


def cmdline_cases(platform, opts):
    if platform != "win32":
        return []
    # The command line is read as typed (UTF-16): no look-alike of the ANSI
    # page splits an argument or stands in for a character.
    ansi = [("1252", {"LANG": "C.UTF-8", "LC_ALL": ""}, b'TRUE|8|9|0|"||\r\n', b"TRUE|3|4|0|a | c|\r\n"),
            ("932", {"LANG": "ja_JP.UTF-8", "LC_ALL": ""}, b"TRUE|8|9|0|\xfaW||\r\n", b"TRUE|3|4|0|a?|\x81\x40c|\r\n")]
    unicode_cases = []
    for page, env, quote, spaces in ansi:
        unicode_cases += [
            dict(name="a fullwidth quote is text, %s" % page, raw='tokloc.exe "safe\uff02 \uff02x" x', env=env,
                 stdout=quote, code=0),
            dict(name="no look-alike is found, %s" % page, raw='tokloc.exe "what? x" "\u0436"', env=env,
                 stdout=b"FALSE|0|0|0|||\r\n", code=76),
            dict(name="no look-alike of a letter, %s" % page, raw='tokloc.exe "\u03a9 x" O', env=env,
                 stdout=b"FALSE|0|0|0|||\r\n", code=76),
            dict(name="wide spaces split nothing, %s" % page, raw='tokloc.exe "a\u2002b\u3000c" b', env=env,
                 stdout=spaces, code=0),
        ]
    # Where the output page does not keep ASCII (EBCDIC 037), ASCII context
    # and the program's name are converted like any other text.
    unicode_cases += [
        console_page_case(opts, "ascii context in an EBCDIC console", "tokloc.exe abc b", 37, "stdout",
                          b"TRUE|2|3|0|" + "a".encode("cp037") + b"|" + "c".encode("cp037") + b"|\r\n", 0),
        console_page_case(opts, "the help's program name in an EBCDIC console", "tokloc.exe -?", 37, "stderr",
                          re.compile(rb".*For more details, please type: " + re.escape("tokloc".encode("cp037"))
                                     + rb" --\?\?\r\n", re.S), 255),
        # A length never splits a character: the cut inside a surrogate
        # pair takes the whole character. (Wine's console takes no GB18030.)
        console_page_case(opts, "a length never splits a character, utf-8 console", "tokloc.exe a😀TOKEN😀b TOKEN 1",
                          65001, "stdout", "TRUE|4|9|1|😀|😀|\r\n".encode(), 0),
    ]
    return unicode_cases + [
        dict(name="plain", raw='tokloc.exe "This is not a very long string" long',
             stdout=b"TRUE|20|24|0|very|string|\r\n", code=0),
        dict(name="quotes inside a token", raw='tokloc.exe a"b c"d b',
             stdout=b"TRUE|2|3|0|a|cd|\r\n", code=0),
        dict(name="pair keeps the quote open", raw='tokloc.exe "a""b c" c',
             stdout=b"TRUE|4|5|0|ab||\r\n", code=0),
        dict(name="empty pair is an argument", raw='tokloc.exe "" x',
             stdout=b"FALSE|0|0|0|||\r\n", code=76),
        dict(name="empty delimiter argument", raw='tokloc.exe a;b ; 0 ""',
             stdout=b"TRUE|2|3|0|a|b|\r\n", code=0),
        dict(name="tabs separate", raw='tokloc.exe\t"x y"\ty\t\t',
             stdout=b"TRUE|3|4|0|x||\r\n", code=0),
        dict(name="unclosed quote runs to the end", raw='tokloc.exe "a b c" "b c',
             stdout=b"TRUE|3|6|0|a||\r\n", code=0),
        dict(name="backslashes are plain", raw=r'tokloc.exe C:\dir\file.txt \file',
             stdout=b"TRUE|7|12|0|C:\\dir|.txt|\r\n", code=0),
        dict(name="backslash before a quote", raw='tokloc.exe a\\"b" b',
             stdout=b"TRUE|3|4|0|a\\||\r\n", code=0),
        dict(name="quoted program path", raw='"C:\\Program Files\\tokloc.exe" abc b',
             stdout=b"TRUE|2|3|0|a|c|\r\n", code=0),
    ]


def encoding_cases(platform, opts):
    if platform == "posix":
        utf8 = {"LC_ALL": "C.UTF-8"}
        private = lambda name: {"LOCPATH": opts.locpath, "LC_ALL": name}
        gb18030 = "a😀TOKEN😀b".encode("gb18030")
        cases = [
            dict(name="utf-8 words", args=["Grüße an alle", "an"], env=utf8,
                 stdout="TRUE|7|9|0|Grüße|alle|\r\n".encode(), code=0),
            dict(name="C locale counts as utf-8", args=["Grüße an alle", "an", "3"], env={"LC_ALL": "C"},
                 stdout="TRUE|7|9|3|ße | al|\r\n".encode(), code=0),
            dict(name="astral characters", args=["a😀b TOKEN 😀", "TOKEN"], env=utf8,
                 stdout="TRUE|6|11|0|a😀b|😀|\r\n".encode(), code=0),
            # A byte that is no valid text stands for itself: one position,
            # it matches and delimits only as that byte, and comes back.
            dict(name="invalid utf-8 comes back as it was", args=[b"a\xff b", b"b"], env=utf8,
                 stdout=b"TRUE|4|5|0|a\xff||\r\n", code=0),
            dict(name="different invalid bytes do not match", args=[b"na\xefve", b"\xe9"], env=utf8,
                 stdout=b"FALSE|0|0|0|||\r\n", code=76),
            dict(name="a latin-1 line in a utf-8 locale", args=[b"caf\xe9 cr\xe8me br\xfbl\xe9e", b"cr"],
                 env=utf8, stdout=b"TRUE|6|8|0|caf\xe9|\xe8me|\r\n", code=0),
            dict(name="an invalid byte delimits only as itself", args=[b"a\xffb \xfe TOKEN", b"TOKEN", b"0", b"\xff"],
                 env=utf8, stdout=b"TRUE|7|12|0|b \xfe ||\r\n", code=0),
            dict(name="an overlong form is two bytes", args=[b"ab\xc0\xafTOKEN", b"TOKEN", b"2"], env=utf8,
                 stdout=b"TRUE|5|10|2|\xc0\xaf||\r\n", code=0),
            # A length never splits a character: a cut inside a surrogate
            # pair takes the whole character, as length 2 would.
            dict(name="a length never splits a character, utf-8", args=["a😀TOKEN😀b", "TOKEN", "1"], env=utf8,
                 stdout="TRUE|4|9|1|😀|😀|\r\n".encode(), code=0),
            dict(name="a utf-8 delimiter is one character", args=["xéy TOKEN aéb", "TOKEN", "0", "é"],
                 env=utf8, stdout="TRUE|5|10|0|y | a|\r\n".encode(), code=0),
            dict(name="latin-1 locale", args=[b"Gr\xfc\xdfe an alle", b"an"],
                 env={"LC_ALL": "de_DE.ISO-8859-1"},
                 stdout=b"TRUE|7|9|0|Gr\xfc\xdfe|alle|\r\n", code=0),
            dict(name="a length never splits a character, gb18030", args=[gb18030, b"TOKEN", b"1"],
                 env=private("zh_CN.GB18030"),
                 stdout=b"TRUE|4|9|1|" + "😀".encode("gb18030") + b"|" + "😀".encode("gb18030") + b"|\r\n", code=0),
        ]
        # ASCII is ASCII in every codeset tokloc reads, Shift_JIS too: the
        # same words give the same result whatever else the text holds.
        for name, text in (("ascii text", b"a\\b TOK c\\d"), ("with a kana", b"a\\b TOK c\\d \x82\xa0")):
            cases.append(dict(name="shift_jis: backslash delimits, %s" % name, args=[text, b"TOK", b"0", b"\\"],
                              env=private("ja_JP.SJIS"), stdout=b"TRUE|5|8|0|b | c|\r\n", code=0))
        return cases
    return [
        dict(name="ansi page 1252", args=["Grüße an alle", "an"], env={"LANG": "C.UTF-8", "LC_ALL": ""},
             stdout=b"TRUE|7|9|0|Gr\xfc\xdfe|alle|\r\n", code=0),
        dict(name="euro in 1252", args=["x€y TOKEN €z", "TOKEN", "0", "€"], env={"LANG": "C.UTF-8", "LC_ALL": ""},
             stdout=b"TRUE|5|10|0|y | |\r\n", code=0),
        dict(name="double-byte page 932", args=["日本語 テキスト 検索", "テキスト"],
             env={"LANG": "ja_JP.UTF-8", "LC_ALL": ""},
             stdout="TRUE|5|9|0|日本語|検索|\r\n".encode("cp932"), code=0),
        # U+3000 is the bytes 81 40 and "@" is 40: the trail byte is no delimiter.
        dict(name="double-byte delimiter in 932", args=["a@b TOK c@d", "TOK", "0", "\u3000"],
             env={"LANG": "ja_JP.UTF-8", "LC_ALL": ""}, stdout=b"TRUE|5|8|0|a@b | c@d|\r\n", code=0),
        dict(name="double-byte page 932 by length", args=["日本語 テキスト 検索", "テキスト", "2"],
             env={"LANG": "ja_JP.UTF-8", "LC_ALL": ""},
             stdout="TRUE|5|9|2|語 | 検|\r\n".encode("cp932"), code=0),
    ]


ENGLISH_MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
FRENCH_MONTHS = ["janv.", "f\u00e9vr.", "mars", "avril", "mai", "juin", "juil.", "ao\u00fbt", "sept.", "oct.", "nov.",
                 "d\u00e9c."]
GERMAN_MONTHS = ["Jan", "Feb", "M\u00e4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"]


def titles(opts):
    """The banner's version titles as regex bytes: short and full, each
    with the platform tag, as the build compiled them in."""
    b = opts.build
    return (re.escape(("v" + b["ShortVersion"] + b["PlatformTag"]).encode()),
            re.escape(("v" + b["FullVersion"] + b["PlatformTag"]).encode()))


def banner(opts, platform, header, build_line, months=ENGLISH_MONTHS):
    """The exact banner as a regex, from the constants and the build stamp
    the build used."""
    encoding = "cp1252" if platform == "win32" else "utf-8"
    file_name = "tokloc.exe" if platform == "win32" else "tokloc"
    short, full = titles(opts)
    year, month, day = opts.build_stamp[:10].split("/")
    hour = opts.build_stamp[11:13]
    name = months[int(month) - 1]
    # Wine's German tables may abbreviate March as "Mrz".
    month_re = re.escape(name.encode(encoding)) + (b"|Mrz" if name == "M\u00e4r" else b"")
    date = re.escape(day.encode()) + b" (?:" + month_re + b") " + re.escape(year.encode())
    text = b""
    if header:
        text += (b"tokloc " + short + rb" \(" + date + rb"\) - " + re.escape(opts.build["ProgramDescription"].encode())
                 + rb"\r\n" + re.escape(opts.build["LegalNoticeText"].encode(encoding)) + rb"\r\n"
                 + re.escape(opts.build["CommentsNotice"].encode(encoding)) + rb"\r\n\r\n")
    if build_line:
        text += (re.escape(file_name.encode()) + b" " + full + b" was compiled on " + date
                 + rb" @ " + re.escape(hour.encode()) + rb":00:00" + re.escape(opts.build["ToolchainText"].encode())
                 + rb"\r\n")
        if header:
            text += rb"\r\n"
    return text


def help_cases(platform, opts):
    brief = re.compile(banner(opts, platform, True, False) + re.escape(golden("help-brief.golden")))
    full = re.compile(banner(opts, platform, True, True) + re.escape(golden("help-full.golden")))
    info = re.compile(banner(opts, platform, True, True))
    version = re.compile(banner(opts, platform, False, True))
    german = re.compile(banner(opts, platform, False, True, GERMAN_MONTHS))
    locale = {"LC_ALL": "de_DE.UTF-8"} if platform == "posix" else {"LANG": "de_DE.UTF-8", "LC_ALL": ""}
    cases = [
        dict(name="no arguments", args=[], stderr=brief, code=255),
        dict(name="one argument", args=["text only"], stderr=brief, code=255),
        dict(name="-?", args=["-?"], stderr=brief, code=255),
        dict(name="/? with more", args=["/?", "x", "y"], stderr=brief, code=255),
        dict(name="-h any case", args=["-h", "anything"], stderr=brief, code=255),
        dict(name="/H", args=["/H"], stderr=brief, code=255),
        dict(name="-??", args=["-??"], stderr=full, code=255),
        dict(name="/??", args=["/??"], stderr=full, code=255),
        dict(name="--??", args=["--??", "x"], stderr=full, code=255),
        dict(name="--info", args=["--info", "x"], stderr=info, code=254),
        dict(name="--INFO", args=["--INFO"], stderr=info, code=254),
        dict(name="--version-only", args=["--version-only"], stderr=version, code=254),
    ]
    if platform == "posix":
        cases.append(dict(name="help to a full stderr", args=["-?"], stderr_target="full", code=217))
        # The banner reads no time zone: a zone "file" that never answers
        # must not hold it up.
        fifo = os.path.join(tempfile.mkdtemp(prefix="tokloc-tz-"), "zone")
        os.mkfifo(fifo)
        atexit.register(shutil.rmtree, os.path.dirname(fifo), True)
        cases.append(dict(name="TZ names a FIFO", args=["--version-only"], env={"TZ": fifo}, timeout=10, stderr=version,
                          code=254))
    cases.append(dict(name="banner month from the system locale", args=["--version-only"],
                      env=locale, stderr=german, code=254))
    if platform == "win32":
        cases += program_name_cases(opts)
    if platform == "posix" and opts.locpath:
        # Month names are decoded in LC_TIME's own codeset, whatever
        # LC_CTYPE says: both give the same UTF-8 banner.
        french = re.compile(banner(opts, platform, False, True, FRENCH_MONTHS))
        for charset in ("ISO-8859-1", "UTF-8"):
            cases.append(dict(name="LC_TIME in %s under a UTF-8 LC_CTYPE" % charset, args=["--version-only"],
                              env={"LOCPATH": opts.locpath, "LC_ALL": "", "LANG": "C.UTF-8",
                                   "LC_TIME": "fr_FR." + charset}, stderr=french, code=254))
    return cases


def program_name_cases(opts):
    """The program's own name in the banner and the help, read by
    characters: a double-byte character whose second byte is 5C ("表") is
    no path separator, and a path longer than 255 characters is cut before
    a character, never inside one."""
    short = titles(opts)[0]
    base = tempfile.mkdtemp(prefix="tokloc-name-")
    atexit.register(shutil.rmtree, base, True)
    deep = os.path.join(base, "\u8868" * 80, "\u8868" * 80)
    os.makedirs(deep)
    names = [("932", "\u8868.exe", base), ("932", "\u30bd\u30d5\u30c8.exe", base), ("1252", "Gr\u00fc\u00dfe.exe", base),
             ("932", "\u540d" * 80 + ".exe", deep)]
    cases = []
    for page, file_name, folder in names:
        exe = os.path.join(folder, file_name)
        shutil.copy(opts.exe, exe)
        # Cut to 255 characters of the Windows path, as Wine reports it.
        shown = windows_path(exe)[:255].rsplit("\\", 1)[1]
        shown = re.sub(r"(?i)\.exe", "", shown).encode("cp" + page)
        env = {"LANG": "ja_JP.UTF-8" if page == "932" else "C.UTF-8", "LC_ALL": ""}
        cases.append(dict(name="program name %s in %s" % (file_name[:12], page), cmd=[opts.wine, exe, "-?"], env=env,
                          stderr=re.compile(re.escape(shown) + b" " + short + rb" \(.*For more details, please type: "
                                            + re.escape(shown) + rb" --\?\?\r\n", re.S), code=255))
    return cases


def extremes_cases(platform):
    if platform != "posix":
        return []
    every = bytes(range(1, 256))
    utf8 = {"LC_ALL": "C.UTF-8"}
    # Bytes 0x80-0xFF are no UTF-8 one by one: each stands for itself.
    return [
        dict(name="every byte in the text, utf-8", args=[every, b"ABC"], env=utf8,
             stdout=b"TRUE|65|68|0|<=>?@|" + bytes(range(0x44, 0x100)) + b"|\r\n", code=0),
        dict(name="every byte in the text, latin-1", args=[every, b"ABC"], env={"LC_ALL": "de_DE.ISO-8859-1"},
             stdout=b"TRUE|65|68|0|<=>?@|" + bytes(range(0x44, 0x100)) + b"|\r\n", code=0),
        dict(name="every byte as a delimiter", args=[b"a-b TOKEN c\xe9d", b"TOKEN", b"0", every],
             env={"LC_ALL": "de_DE.ISO-8859-1"}, stdout=b"TRUE|5|10|0|||\r\n", code=0),
        dict(name="an encoded surrogate", args=[b"x\xed\xa0\x80 TOKEN", b"TOKEN"], env=utf8,
             stdout=b"TRUE|6|11|0|x\xed\xa0\x80||\r\n", code=0),
        dict(name="truncated sequence before the token", args=[b"ab\xe2\x82TOKEN", b"TOKEN", b"1"], env=utf8,
             stdout=b"TRUE|5|10|1|\x82||\r\n", code=0),
        dict(name="length of 255 characters", args=["abcdef", "c", "0" * 254 + "1"],
             stdout=b"TRUE|3|4|1|b|d|\r\n", code=0),
        dict(name="length of 256 characters", args=["abcdef", "c", "0" * 255 + "1"],
             stdout=b"TRUE|3|4|0|ab|def|\r\n", code=0),
        dict(name="128 KiB text and token", args=["x" * (128 * 1024 - 1), "x" * (128 * 1024 - 1)],
             stdout=b"TRUE|1|131072|0|||\r\n", code=0),
        dict(name="128 KiB non-ascii text", args=["é" * (64 * 1024 - 2) + " a", "a", "3"], env=utf8,
             stdout=("TRUE|65536|65537|3|éé ||\r\n").encode(), code=0),
    ]


def lines_cases(platform, opts):
    """--lines: every line of standard input gets the result line a
    single call gives for the same text."""
    def case(name, data, expected, code=None, **rest):
        found = code if code is not None else (0 if b"TRUE|" in expected else 76)
        return dict(dict(name=name, args=["--lines", "TOKEN"], stdin=data, stdout=expected, code=found), **rest)

    miss = b"FALSE|0|0|0|||\r\n"
    long_text = "a" * 100000 + " TOKEN " + "b" * 99993
    utf8 = {"LC_ALL": "C.UTF-8"} if platform == "posix" else {"LANG": "C.UTF-8", "LC_ALL": ""}
    # Text in the output's page: UTF-8 here, the ANSI page 1252 under Wine.
    page = "utf-8" if platform == "posix" else "cp1252"
    utf16 = lambda text: "\ufeff".encode("utf-16-le") + text.encode("utf-16-le", "surrogatepass")
    cases = [
        case("empty input", b"", b""),
        case("one line", b"a TOKEN b\n", b"TRUE|3|8|0|a|b|\r\n"),
        case("empty lines", b"\n\nx TOKEN\n\n", miss * 2 + b"TRUE|3|8|0|x||\r\n" + miss),
        case("CR LF line ends", b"a TOKEN b\r\nc TOKEN d\r\n", b"TRUE|3|8|0|a|b|\r\nTRUE|3|8|0|c|d|\r\n"),
        case("no LF at the end", b"no token\nlast TOKEN", miss + b"TRUE|6|11|0|last||\r\n"),
        case("no line holds the token", b"a\nb\n", miss * 2),
        # What would be a switch, or lose its quotes on a command line, is
        # text like any other.
        case("a line -h", b"-h\n-h TOKEN\n", miss + b"TRUE|4|9|0|-h||\r\n"),
        case("a line with | and a quote", b'a|b "q" TOKEN c|d\n', b'TRUE|9|14|0|"q"|c|d|\r\n'),
        case("a 200,000-byte line", long_text.encode() + b"\n",
             ("TRUE|100002|100007|0|%s|%s|\r\n" % ("a" * 100000, "b" * 99993)).encode()),
        case("bytes that are no text come back", b"caf\xe9 TOKEN \xff\n", b"TRUE|6|11|0|caf\xe9|\xff|\r\n", env=utf8),
        case("a UTF-8 byte-order mark", b"\xef\xbb\xbfGr\xc3\xbc\xc3\x9fe TOKEN x\n",
             "TRUE|7|12|0|Grüße|x|\r\n".encode(page), env=utf8),
        case("a UTF-16LE byte-order mark", utf16("a TOKEN b\r\nGrüße TOKEN\r\n"),
             "TRUE|3|8|0|a|b|\r\nTRUE|7|12|0|Grüße||\r\n".encode(page), env=utf8),
        case("NUL inside a line", b"a\x00b TOKEN c\n", b"TRUE|5|10|0|a\x00b|c|\r\n"),
        case("length and delimiters as in a single call", b"x-y TOKEN a-b\n", b"TRUE|5|10|0|y | a|\r\n",
             args=["--lines", "TOKEN", "0", "-"]),
        dict(name="--lines without a token is help", args=["--lines"], stderr=re.compile(rb".*--\?\?\r\n", re.S),
             code=255),
        case("stdout is full", b"a TOKEN\n", b"", code=217, stdout_target="full", stderr=FAILURE_REPORT),
        # One answer per line, each before the next line is written.
        dict(name="a coprocess", args=["--lines", "TOKEN"], dialogue=[b"a TOKEN b\n", b"none\n", b"TOKEN c\n"],
             stdout=b"TRUE|3|8|0|a|b|\r\n" + miss + b"TRUE|1|6|0||c|\r\n", code=0),
    ]
    # A first line too short to tell a byte-order mark from text is
    # answered at once all the same.
    for first in (b"", b"b", b"\xef", b"\xff"):
        cases.append(dict(name="a coprocess whose first line is %r" % first, args=["--lines", "TOKEN"], env=utf8,
                          dialogue=[first + b"\n", b"a TOKEN b\n"], timeout=15,
                          stdout=miss + b"TRUE|3|8|0|a|b|\r\n", code=0))
    # A reader that has gone ends the filter quietly, as grep ends.
    many = b"".join(b"line %d TOKEN\n" % i for i in range(20000))
    cases.append(case("a closed pipe after the first block", many, re.compile(rb"TRUE\|.*", re.S), code=217,
                      stdout_target="close-after-first-read"))
    # A file of its own takes larger blocks than a pipe: the same lines.
    cases.append(case("many blocks into a file", many,
                      b"".join(b"TRUE|%d|%d|0|%d||\r\n" % (len(b"line %d " % i) + 1, len(b"line %d " % i) + 6, i)
                               for i in range(20000)), stdout_target="file"))
    read_report = re.compile(FAILURE_REPORT.pattern.replace(b"Disk Full", b"Disk read error"))
    run = [opts.wine, opts.exe] if opts.wine else [opts.exe]
    cases.append(case("a closed standard input", None, b"", code=217, cmd=["sh", "-c", 'exec "$@" --lines TOKEN <&-',
                                                                              "sh"] + run, stderr=read_report))
    cases += cut_file_cases(platform, opts)
    if platform == "posix":
        cases += [
            case("a failed read", None, b"", code=217, cmd=["sh", "-c", 'exec "$0" --lines TOKEN < /', opts.exe],
                 stderr=read_report),
            # A byte that is no text (an escape) and an unpaired surrogate
            # of UTF-16 input are apart: neither matches nor delimits the
            # other, and the surrogate, which no page holds, comes back as "?".
            case("a byte is no unpaired surrogate", b"\xff\xfea\x00\x80\xdc", miss, args=["--lines", b"\x80"],
                 env=utf8),
            case("a byte delimits no unpaired surrogate", utf16("x\udc80y TOKEN"), b"TRUE|5|10|0|x?y||\r\n",
                 args=["--lines", "TOKEN", "0", b" \x80"], env=utf8),
            case("a byte matches and delimits as itself", b"a\x80b\x80c TOKEN\n", b"TRUE|7|12|0|c||\r\n",
                 args=["--lines", "TOKEN", "0", b" \x80"], env=utf8),
        ]
    else:
        cases += [
            dict(name="an unpaired surrogate is no byte", raw_units=[ord(c) for c in "tokloc.exe --lines "] + [0xDC80],
                 stdin=b"\xef\xbb\xbfa\x80\n", stdout=miss, code=76),
            dict(name="an unpaired surrogate matches itself", raw_units=[ord(c) for c in "tokloc.exe --lines "] + [0xDC80],
                 stdin=utf16("a\udc80b"), stdout=b"TRUE|2|3|0|a|b|\r\n", code=0),
        ]
    return cases


def files_cases(platform, opts):
    """--files: each file's lines as --lines searches standard input, every
    result naming its file; a file that cannot be read is said and passed
    over (66)."""
    folder = tempfile.mkdtemp(prefix="tokloc-files-")
    atexit.register(shutil.rmtree, folder, True)
    names = {"one": "one.txt", "two": "zw\u00f6lf &2.txt"}
    with open(os.path.join(folder, names["one"]), "wb") as f:
        f.write(b"a TOKEN b\nnone\n")
    with open(os.path.join(folder, names["two"]), "wb") as f:
        f.write("\ufeffGr\u00fc\u00dfe TOKEN x\r\n".encode("utf-16-le"))
    os.mkdir(os.path.join(folder, "sub"))
    env = {"LC_ALL": "C.UTF-8"} if platform == "posix" else {"LANG": "C.UTF-8", "LC_ALL": ""}
    page = "utf-8" if platform == "posix" else "cp1252"
    two = names["two"].encode(page)

    def case(name, args, stdout, code, **rest):
        return dict(dict(name=name, args=args, stdout=stdout, code=code, cwd=folder, env=env), **rest)

    hostile, found = hostile_file()
    hostile_name = windows_path(hostile) if platform == "win32" else hostile

    return [
        case("--files", ["--files", "TOKEN", names["one"], names["two"]],
             b"one.txt|TRUE|3|8|0|a|b|\r\none.txt|FALSE|0|0|0|||\r\n" + two + "|TRUE|7|12|0|Gr\u00fc\u00dfe|x|\r\n"
             .encode(page), 0),
        case("--files --line-number counts per file", ["--files", "--line-number", "--first-line=7", "--found-only",
                                                        "TOKEN", names["two"], names["one"]],
             two + "|7|TRUE|7|12|0|Gr\u00fc\u00dfe|x|\r\n".encode(page) + b"one.txt|7|TRUE|3|8|0|a|b|\r\n", 0),
        case("--files --json", ["--files", "--json", "--found-only", "TOKEN", names["two"]],
             b'{"file":"zw\\u00f6lf &2.txt","line":1,"found":true,"position":7,"after_position":12,"length":0,'
             b'"before":"Gr\\u00fc\\u00dfe","after":"x"}\n', 0),
        case("--files --field=file --all", ["--files", "--field=file", "--all", "--found-only", "n", names["one"]],
             b"one.txt\none.txt\n", 0),
        case("--files: standard input as -", ["--files", "--found-only", "TOKEN", "-"], b"-|TRUE|3|8|0|c||\r\n", 0,
             stdin=b"c TOKEN\n"),
        case("--files without a file reads standard input", ["--files", "--found-only", "TOKEN"],
             b"-|TRUE|3|8|0|c||\r\n", 0, stdin=b"c TOKEN\n"),
        case("--files: no file holds the token", ["--files", "--found-only", "NOWHERE", names["one"]], b"", 76),
        case("--files: a missing file and a folder are said and passed over",
             ["--files", "--found-only", "TOKEN", "missing.txt", "sub", names["one"]],
             b"one.txt|TRUE|3|8|0|a|b|\r\n", 66,
             stderr=re.compile(rb"tokloc: missing\.txt: [^\r\n]+\r\ntokloc: sub: [^\r\n]+\r\n")),
        case("--files --json on the hostile texts", ["--files", "--json", "--found-only", "TOKEN", hostile_name],
             b"".join(json.dumps({"file": hostile_name, "line": n, "found": True, "position": pos,
                                  "after_position": pos + 5, "length": 0,
                                  "before": before.decode("utf-8", "surrogateescape"),
                                  "after": after.decode("utf-8", "surrogateescape")},
                                 separators=(",", ":")).encode() + b"\n" for n, pos, before, after in found), 0),
        case("--lines with a file's name for the length", ["--lines", "TOKEN", names["one"]],
             b"TRUE|3|8|0|c||\r\n", 0, stdin=b"c TOKEN\n",
             stderr=b'tokloc: "one.txt" is taken as the length: --lines reads standard input, and --files takes files'
                    b"\r\n"),
    ]


def can_mount_tmpfs():
    """Whether this test may mount a file system of its own (root, and a
    kernel that lets it)."""
    if os.geteuid() != 0:
        return False
    folder = tempfile.mkdtemp(prefix="tokloc-mount-")
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16k", "tmpfs", folder],
                             stderr=subprocess.DEVNULL).returncode == 0
    if mounted:
        subprocess.run(["umount", folder])
    os.rmdir(folder)
    return mounted


def cut_file_cases(platform, opts):
    """A file of tokloc's own that cannot take more (a full disk, a
    file-size limit) ends with the last whole line, before the report."""
    folder = tempfile.mkdtemp(prefix="tokloc-cut-")
    atexit.register(shutil.rmtree, folder, True)
    source = os.path.join(folder, "in.txt")
    with open(source, "wb") as f:
        f.write(b"".join(b"line %d TOKEN x\n" % i if i % 3 == 0 else b"line %d\n" % i for i in range(20000)))
    results = b"".join(b"TRUE|%d|%d|0|%d|x|\r\n" % (len(b"line %d " % i) + 1, len(b"line %d " % i) + 6, i)
                       if i % 3 == 0 else b"FALSE|0|0|0|||\r\n" for i in range(20000))

    def whole(out):
        # The exit code, then whether the file is the results up to a line end.
        code, _, data = out.partition(b"\n")
        return code + (b" whole" if data and data.endswith(b"\n") and results.startswith(data) else b" cut")

    if platform == "posix":
        run = '"$0" --lines TOKEN < "$1" > "$2/out" 2>/dev/null'
    else:
        # Through cmd's own redirection: Wine cannot cut a handle it made
        # from a Unix file descriptor.
        run = ('"$3" cmd /c "$0 --lines TOKEN < $4 > $5\\out" 2>/dev/null')
    args = [opts.exe, source, "", opts.wine or "", windows_path(source), ""]
    cases = []
    if can_mount_tmpfs():
        tmpfs = os.path.join(folder, "tmpfs")
        os.mkdir(tmpfs)
        args[2], args[5] = tmpfs, windows_path(tmpfs)
        script = 'mount -t tmpfs -o size=16k tmpfs "$2" || exit; %s; echo $?; cat "$2/out"; umount "$2"' % run
        cases.append(dict(name="a full disk", cmd=["sh", "-c", script] + args, filter=whole, stdout=b"217 whole",
                          code=0))
    if platform == "posix":
        args[2] = folder
        script = '(ulimit -f 8; %s); echo $?; cat "$2/out"' % run
        cases.append(dict(name="a file-size limit", cmd=["sh", "-c", script] + args, filter=whole,
                          stdout=b"217 whole", code=0))
    return cases


def switches_cases(platform, opts):
    """The switches before the arguments: each result in the form asked for,
    and without them the line as it always was."""
    VERY = ["This is not a very long string", "long"]
    found_json = b'{"found":true,"position":20,"after_position":24,"length":0,"before":"very","after":"string"}\n'
    miss_json = b'{"found":false,"position":0,"after_position":0,"length":0,"before":"","after":""}\n'
    warning = lambda arg: b'tokloc: "' + arg + b'" is no switch; it is taken as text\r\n'
    utf8 = {"LC_ALL": "C.UTF-8"} if platform == "posix" else {"LANG": "C.UTF-8", "LC_ALL": ""}
    page = "utf-8" if platform == "posix" else "cp1252"
    bom = b"\xef\xbb\xbf"
    lines = b"a TOKEN b\nnone\nc token d\nx TOKEN|y\n"

    def case(name, args, stdout, code=None, **rest):
        return dict(name=name, args=args, stdout=stdout, code=(0 if code is None else code), **rest)

    def units(unit, position, after, before_text, after_text):
        return case("--units=%s" % unit, ["--lines", "--json", "--units=" + unit, "TOKEN", "5"],
                    b'{"line":1,"found":true,"position":%d,"after_position":%d,"length":5,"before":"%s","after":"%s"}\n'
                    % (position, after, before_text, after_text), stdin=bom + "é😀TOKEN é😀 x\n".encode(), env=utf8)

    # Bytes of a double-byte page: GB18030 on standard input (2 and 4 bytes
    # a character here), the ANSI page 932 on the Win32 command line, where
    # a character it lacks is "?" for each of its units.
    if platform == "posix":
        double_byte = case("--units=bytes in GB18030", ["--lines", "--units=bytes", "--json", "TOKEN"],
                           b'{"line":1,"found":true,"position":7,"after_position":12,"length":0,'
                           b'"before":"\\u4e2d\\ud840\\udc00","after":""}\n', stdin=b"\xd6\xd0\x95\x32\x82\x36TOKEN\n",
                           env={"LOCPATH": opts.locpath, "LC_ALL": "zh_CN.GB18030"})
    else:
        double_byte = case("--units=bytes in 932", ["--units=bytes", "中😀TOKEN", "TOKEN"],
                           "TRUE|5|10|0|中??||\r\n".encode("cp932"), env={"LANG": "ja_JP.UTF-8", "LC_ALL": ""})
    return [
        double_byte,
        # One result, in each form.
        case("--json", ["--json"] + VERY, found_json),
        case("--json, not found", ["--json", "abc", "x"], miss_json, 76),
        # A '"' reaches the program only on standard input under Win32.
        case("--json escapes", ["--json", "--lines", "TOKEN", "4"],
             b'{"line":1,"found":true,"position":7,"after_position":12,"length":4,"before":"b\\\\s\\t",'
             b'"after":"\\u0001\\"\\u007f"}\n', stdin=b'q"b\\s\tTOKEN\x01"\x7f\n'),
        case("--found-only, found", ["--found-only"] + VERY, b"TRUE|20|24|0|very|string|\r\n"),
        case("--found-only, not found", ["--found-only", "abc", "x"], b"", 76),
        case("--lf", ["--lf"] + VERY, b"TRUE|20|24|0|very|string|\n"),
        case("after the switches, arguments are data", ["--lf", "-h", "h"], b"TRUE|2|3|0|-||\n"),
        case("-- ends the switches", ["--lf", "--", "--json", "j"], b"TRUE|3|4|0|--|son|\n"),
        case("switch names in any case", ["--JSON", "--Lf"] + VERY, found_json),
        case("--field=found", ["--field=found"] + VERY, b"TRUE\n"),
        case("--field=found, not found", ["--field=found", "abc", "x"], b"FALSE\n", 76),
        case("--field=position", ["--field=position"] + VERY, b"20\n"),
        case("--field=after_position", ["--field=after_position"] + VERY, b"24\n"),
        case("--field=length", ["--field=length"] + VERY + ["-3"], b"-3\n"),
        case("--field=before", ["--field=before", "a|b TOKEN c", "TOKEN", "4"], b"a|b \n"),
        case("--field=after, empty", ["--field=after", "a TOKEN", "TOKEN"], b"\n"),
        case("--field=line", ["--field=line"] + VERY, b"1\n"),
        case("--field with --json", ["--json", "--field=before", "--lines", "TOKEN"], b'"a\\"b"\n',
             stdin=b'a"b TOKEN\n'),
        case("--line-number", ["--line-number"] + VERY, b"1|TRUE|20|24|0|very|string|\r\n"),
        case("--ignore-case", ["--ignore-case", "Hello WORLD", "world"], b"TRUE|7|12|0|Hello||\r\n"),
        # A first argument that looks like a switch but is none is searched,
        # as always, and named on standard error.
        case("an unknown switch is text", ["--jsno", "j"], b"TRUE|3|4|0|--|sno|\r\n", stderr=warning(b"--jsno")),
        case("a bad value is no switch", ["--units=octets", "o"], b"TRUE|9|10|0|--units=|ctets|\r\n",
             stderr=warning(b"--units=octets")),
        case("the warning ends as the results do", ["--jsno", "j"], b"TRUE|3|4|0|--|sno|\r\n",
             stderr=warning(b"--jsno")),
        # After a switch, what is wrong is said and nothing is searched.
        *[case("usage error: %s %s" % (arg.decode(), what), args, b"", 64, stderr=b'tokloc: "' + arg + b'" ' + what.encode() + eol)
          for args, arg, what, eol in [
              (["--lf", "--jsno", "j"], b"--jsno", "is no switch", b"\n"),
              (["--json", "--units=octets", "a", "a"], b"--units=octets", "has a value the switch does not take", b"\n"),
              (["--lines", "--field=nme", "a"], b"--field=nme", "has a value the switch does not take", b"\r\n"),
              (["--lf", "--first-line=x", "a", "a"], b"--first-line=x", "has a value the switch does not take",
               b"\n"),
              (["--units=chars", "--units=bytes", "a", "a"], b"--units=bytes", "gives its switch a second, other value",
               b"\r\n"),
              (["--length=$2", "--length=3", "a", "a"], b"--length=3", "gives its switch a second, other value",
               b"\r\n"),
              (["--length=2", "abcTOKEN", "TOKEN", "3"], b"3", "is a length beside --length", b"\r\n"),
              (["--lf", "--occurrence=0", "a", "a"], b"--occurrence=0", "has a value the switch does not take",
               b"\n"),
              (["--lf", "--all=1", "a", "a"], b"--all=1", "has a value the switch does not take", b"\n"),
              (["--lf", "--field", "a", "a"], b"--field", "needs a value after \"=\"", b"\n"),
              (["--delimiters=-", "abc", "b", "0", ";"], b";", "is a delimiter text beside --delimiters", b"\r\n"),
          ]],
        # Every occurrence, the Nth, whole words: each occurrence its own
        # result, its context from the whole text; occurrences do not overlap.
        case("--all", ["--all", "a TOKEN b TOKEN c", "TOKEN"], b"TRUE|3|8|0|a|b|\r\nTRUE|11|16|0|b|c|\r\n"),
        case("--all does not overlap", ["--all", "aaaa", "aa"], b"TRUE|1|3|0||aa|\r\nTRUE|3|5|0|aa||\r\n"),
        case("--all, not found", ["--all", "abc", "x"], b"FALSE|0|0|0|||\r\n", 76),
        case("--all --found-only, not found", ["--all", "--found-only", "abc", "x"], b"", 76),
        case("--all: the word after one is the word before the next", ["--all", "--field=after", "x T y T z", "T"],
             b"y\nz\n"),
        case("--all --lines --line-number", ["--lines", "--all", "--line-number", "TOKEN"],
             b"1|TRUE|3|8|0|a|b|\r\n1|TRUE|11|16|0|b||\r\n2|FALSE|0|0|0|||\r\n", stdin=b"a TOKEN b TOKEN\nnone\n"),
        case("--all --json", ["--lines", "--all", "--json", "TOKEN"],
             b'{"line":1,"occurrence":1,"found":true,"position":1,"after_position":6,"length":0,"before":"","after":"x"}\n'
             b'{"line":1,"occurrence":2,"found":true,"position":9,"after_position":14,"length":0,"before":"x","after":""}\n'
             b'{"line":2,"occurrence":0,"found":false,"position":0,"after_position":0,"length":0,"before":"",'
             b'"after":""}\n', stdin=b"TOKEN x TOKEN\nnone\n"),
        case("--occurrence=2", ["--occurrence=2", "a T b T c T d", "T"], b"TRUE|7|8|0|b|c|\r\n"),
        case("--occurrence=-1", ["--json", "--occurrence=-1", "a T b T c", "T"],
             b'{"occurrence":2,"found":true,"position":7,"after_position":8,"length":0,"before":"b","after":"c"}\n'),
        *[case("--occurrence=%s, fewer occurrences" % n, ["--occurrence=" + n, "a T b T c", "T"],
               b"FALSE|0|0|0|||\r\n", 76) for n in ("3", "-3")],
        case("--word", ["--word", "--all", "TOKENS TOKEN xTOKEN TOKEN", "TOKEN"],
             b"TRUE|8|13|0|TOKENS|xTOKEN|\r\nTRUE|21|26|0|xTOKEN||\r\n"),
        case("--word --occurrence=-1", ["--word", "--occurrence=-1", "TOKEN aTOKEN TOKEN b", "TOKEN"],
             b"TRUE|14|19|0|aTOKEN|b|\r\n"),
        case("--word --ignore-case", ["--word", "--ignore-case", "--all", "token Token TOKENs", "TOKEN"],
             b"TRUE|1|6|0||Token|\r\nTRUE|7|12|0|token|TOKENs|\r\n"),
        case("--word beyond ASCII", ["--lines", "--word", "TOKEN"], "TRUE|8|13|0|\u00e9TOKEN|x|\r\n".encode(page),
             stdin=bom + "\u00e9TOKEN TOKEN,x\n".encode(), env=utf8),
        case("--word in UTF-16", ["--lines", "--word", "--all", "TOK"], "TRUE|4|7|0|G\u00fc|TOKEN|\r\n".encode(page),
             stdin="\ufeffG\u00fc TOK TOKEN\n".encode("utf-16-le"), env=utf8),
        # A token that is mostly inside longer words: every occurrence is
        # looked at once, not once per start.
        case("--word stays linear", ["--lines", "--word", "--found-only", ("ab " * (20000 if platform == "posix" else 8000))
                                     + "a"], b"", 76,
             stdin=("ab " * 60000).encode() + b"\n", timeout=20),
        case("--up-to", ["--up-to", "x abcTOKEN", "TOKEN", "7"], b"TRUE|6|11|7|x abc||\r\n"),
        case("--up-to, as many as asked", ["--up-to", "x abcTOKEN", "TOKEN", "2"], b"TRUE|6|11|2|bc||\r\n"),
        case("--up-to in characters", ["--lines", "--up-to", "--units=chars", "TOKEN", "9"],
             "TRUE|7|12|9|x\u00e9 abc||\r\n".encode(page), stdin=bom + "x\u00e9 abcTOKEN\n".encode(), env=utf8),
        # The length and the delimiters as switches, read as the positional
        # ones are; the same switch twice with the same value is no error.
        case("--length", ["--length=$2", "--length=2", "abcTOKENdefgh", "TOKEN"], b"TRUE|4|9|2|bc|de|\r\n"),
        case("--length that does not convert, with --delimiters", ["--lines", "--length=x", "--delimiters=-", "TOKEN"],
             b"TRUE|5|10|0|y | a|\r\n", stdin=b"x-y TOKEN a-b\n"),
        case("--delimiters", ["--delimiters=-", "x-y TOKEN a-b", "TOKEN", "0"], b"TRUE|5|10|0|y | a|\r\n"),
        case("--delimiters beyond ASCII", ["--delimiters=\u3001 ", "x\u3001y TOKEN", "TOKEN"], b"TRUE|5|10|0|y||\r\n",
             env=utf8),
        dict(name="switches without a text and a token are help", args=["--json", "x"],
             stderr=re.compile(rb".*--\?\?\r\n", re.S), code=255),
        # Every line of standard input.
        case("--lines --json", ["--lines", "--json", "TOKEN"],
             b'{"line":1,"found":true,"position":3,"after_position":8,"length":0,"before":"a","after":"b"}\n'
             b'{"line":2,"found":false,"position":0,"after_position":0,"length":0,"before":"","after":""}\n'
             b'{"line":3,"found":false,"position":0,"after_position":0,"length":0,"before":"","after":""}\n'
             b'{"line":4,"found":true,"position":3,"after_position":8,"length":0,"before":"x","after":"|y"}\n',
             stdin=lines),
        case("switches in any order", ["--line-number", "--lines", "--ignore-case", "--first-line=9", "TOKEN"],
             b"9|TRUE|3|8|0|a|b|\r\n10|FALSE|0|0|0|||\r\n11|TRUE|3|8|0|c|d|\r\n12|TRUE|3|8|0|x||y|\r\n",
             stdin=lines),
        case("--found-only --line-number --field=after", ["--lines", "--found-only", "--line-number", "--field=after",
                                                           "TOKEN"], b"1|b\n4||y\n", stdin=lines),
        case("--found-only", ["--lines", "--found-only", "TOKEN"], b"TRUE|3|8|0|a|b|\r\nTRUE|3|8|0|x||y|\r\n",
             stdin=b"none\n" * 3 + lines),
        case("--found-only, no line holds the token", ["--lines", "--found-only", "NOWHERE"], b"", 76, stdin=lines),
        case("--field=line", ["--lines", "--found-only", "--field=line", "TOKEN"], b"1\n4\n", stdin=lines),
        case("line numbers past a run of misses", ["--lines", "--line-number", "--found-only", "TOKEN"],
             b"1001|TRUE|1|6|0|||\r\n", stdin=b"x\n" * 1000 + b"TOKEN\n"),
        # Bytes that are no text are their byte escapes in JSON.
        case("bytes that are no text in JSON", ["--lines", "--json", "TOKEN"],
             b'{"line":1,"found":true,"position":6,"after_position":11,"length":0,"before":"caf\\udce9",'
             b'"after":"\\udcff"}\n', stdin=bom + b"caf\xe9 TOKEN \xff\n", env=utf8),
        # Positions and the length in each unit; no character is split.
        units("utf16", 4, 9, b"\\u00e9\\ud83d\\ude00", b" \\u00e9\\ud83d\\ude00 "),
        units("chars", 3, 8, b"\\u00e9\\ud83d\\ude00", b" \\u00e9\\ud83d\\ude00 x"),
        units("bytes", 7, 12, b"\\u00e9\\ud83d\\ude00", b" \\u00e9\\ud83d\\ude00"),
        case("--units=bytes of UTF-16 input", ["--lines", "--units=bytes", "TOKEN"], b"TRUE|5|15|0|a||\r\n",
             stdin="\ufeffa TOKEN".encode("utf-16-le"), env=utf8),
        # Simple case folding, in every encoding; the contexts as given.
        case("--ignore-case folds beyond ASCII", ["--lines", "--ignore-case", "--field=before", "TOKEN"],
             "Gr\u00fc\u00dfe\n".encode(page), stdin=bom + "Grüße tOKEN\n".encode(), env=utf8),
        case("--ignore-case: long s, Kelvin sign, capital sharp s", ["--lines", "--ignore-case", "--field=position", "skß"],
             b"2\n3\n", stdin=bom + "xſKẞ\nxySKß\n".encode(), env=utf8),
        case("--ignore-case in UTF-16, final sigma", ["--lines", "--ignore-case", "--json", "--field=found", "σίσυφος"],
             b"true\ntrue\n", stdin="\ufeffΣΊΣΥΦΟΣ\r\nσίσυφοσ\r\n".encode("utf-16-le"), env=utf8),
    ]


def limits_cases(platform, opts):
    """Lines beyond 2 GiB and memory that runs out: only the native
    program, without the sanitizers, which need memory of their own."""
    if platform != "posix":
        return []
    report = re.compile(FAILURE_REPORT.pattern.replace(b"EInOutError: Disk Full", b"EOutOfMemory: Out of memory"))
    run = lambda script: ["sh", "-c", script, opts.exe]
    return [
        # Positions past 2^31 units neither wrap nor go negative.
        dict(name="a line of 2,147,483,658 bytes",
             cmd=run('{ head -c 2147483650 /dev/zero | tr "\\0" a; printf " TOK end\\n"; } | "$0" --lines TOK 3'),
             stdout=b"TRUE|2147483652|2147483655|3|aa | en|\r\n", code=0, timeout=300),
        # An endless line: the run ends with a report, and what was
        # answered before is whole.
        dict(name="out of memory growing a line",
             cmd=run('{ printf "a TOKEN b\\n"; head -c 400000000 /dev/zero; } | prlimit --as=200000000 "$0" --lines TOKEN'),
             stdout=b"TRUE|3|8|0|a|b|\r\n", stderr=report, code=217),
        dict(name="out of memory decoding a line",
             cmd=run('{ printf "a \\303\\251 b\\n"; head -c 70000000 /dev/zero | tr "\\0" "\\303"; } | '
                     'LC_ALL=C.UTF-8 prlimit --as=180000000 "$0" --lines "$(printf "\\303\\251")"'),
             stdout="TRUE|3|4|0|a|b|\r\n".encode(), stderr=report, code=217),
    ]


def gconv_folders():
    """Where the C library keeps its converter modules."""
    found = glob.glob("/usr/lib*/gconv/gconv-modules*") + glob.glob("/usr/lib*/*/gconv/gconv-modules*")
    return sorted({os.path.dirname(p) for p in found})


def planted_gconv_module():
    """A converter module of our own for KOI8-R, which leaves a mark when
    loaded, and the GCONV_PATH that offers it; None without a C compiler."""
    folder = tempfile.mkdtemp(prefix="tokloc-gconv-")
    atexit.register(shutil.rmtree, folder, True)
    source = os.path.join(folder, "mark.c")
    with open(source, "w") as f:
        f.write("#include <fcntl.h>\n#include <stdlib.h>\n#include <unistd.h>\n"
                "__attribute__((constructor)) static void loaded(void) {\n"
                "  const char* mark = getenv(\"TOKLOC_GCONV_MARK\");\n"
                "  if (mark) close(open(mark, O_WRONLY | O_CREAT, 0644));\n}\n"
                "int gconv(void) { return 0; }\nint gconv_init(void) { return 0; }\n")
    with open(os.path.join(folder, "gconv-modules"), "w") as f:
        f.write("module KOI8-R// INTERNAL MARK 1\nmodule INTERNAL KOI8-R// MARK 1\n")
    for compiler in ("cc", "gcc", "clang"):
        if shutil.which(compiler) and subprocess.call([compiler, "-shared", "-fPIC", "-o",
                                                      os.path.join(folder, "MARK.so"), source]) == 0:
            return folder
    return None


def stream_cases(platform, opts):
    """Hostile streams: a file-size limit, a non-blocking pipe, parallel
    callers sharing one output, and codesets whose converters are hidden or
    planted. Every fault ends as the program defines it."""
    if platform != "posix":
        return []
    side = 2500
    huge = 65500
    huge_line = ("TRUE|%d|%d|0|%s|%s|\r\n" % (huge + 2, huge + 7, "a" * huge, "b" * huge)).encode()
    cases = [
        dict(name="a file-size limit of 0", cmd=["prlimit", "--fsize=0", opts.exe, "a b", "b"],
             stdout_target="file", stderr=FAILURE_REPORT, code=217),
        dict(name="a file-size limit inside the line", stdout_target="file",
             cmd=["prlimit", "--fsize=1000", opts.exe, "a" * side + " TOKEN " + "b" * side, "TOKEN"],
             stdout=b"", stderr=FAILURE_REPORT, code=217),  # the cut line is cut off the file
        dict(name="a non-blocking pipe read slowly", args=["a" * huge + " TOKEN " + "b" * huge, "TOKEN"],
             stdout_target="nonblocking-pipe", stdout=huge_line, code=0),
    ]
    # 2,000 callers, 8 at a time, each a 600-digit line, into one pipe and
    # into one file opened for appending: every line arrives whole.
    calls = 'seq 1 2000 | xargs -P 8 -I{} sh -c \'exec "$TOKLOC" "q $(printf "%0600d" {})" q 2147483647\''
    expected = b"".join(sorted(b"TRUE|1|2|2147483647|| %0600d|\r\n" % n for n in range(1, 2001)))
    sort_lines = lambda out: b"".join(sorted(out.splitlines(keepends=True)))
    appended = os.path.join(tempfile.mkdtemp(prefix="tokloc-append-"), "out.txt")
    atexit.register(shutil.rmtree, os.path.dirname(appended), True)
    for name, script in (("one pipe", calls), ("one appended file", calls + ' >> "$F"; cat "$F"')):
        cases.append(dict(name="2,000 parallel callers into " + name, cmd=["sh", "-c", script],
                          env={"TOKLOC": opts.exe, "F": appended}, filter=sort_lines, stdout=expected, code=0))
    # KOI8-R is a codeset tokloc has no codec for: its bytes stand for
    # themselves, with the C library's converter modules hidden, and a
    # module offered through GCONV_PATH is never loaded.
    koi8 = {"LOCPATH": opts.locpath, "LC_ALL": "ru_RU.KOI8-R"}
    text, result = b"\xca\xcf\xca TOK \xc1\xc2", b"TRUE|5|8|0|\xca\xcf\xca|\xc1\xc2|\r\n"
    hide = " && ".join('mount -t tmpfs none "%s"' % folder for folder in gconv_folders())
    if hide and shutil.which("unshare") and subprocess.call(["unshare", "-rm", "true"], stderr=subprocess.DEVNULL) == 0:
        cases.append(dict(name="koi8-r with the converter modules hidden", env=koi8,
                          cmd=["unshare", "-rm", "sh", "-c", hide + ' && exec "$0" "$1" TOK', opts.exe, text],
                          stdout=result, code=0))
    planted = planted_gconv_module()
    if planted:
        mark = os.path.join(planted, "loaded")
        for what, args in (("search", [text, b"TOK"]), ("banner", [b"--version-only"])):
            cases.append(dict(name="no module from GCONV_PATH: " + what,
                              cmd=["sh", "-c", '"$@" >/dev/null 2>&1; test ! -e "$TOKLOC_GCONV_MARK"; echo $?',
                                   "sh", opts.exe] + args,
                              env=dict(koi8, GCONV_PATH=planted, TOKLOC_GCONV_MARK=mark), stdout=b"0\n", code=0))
    return cases


HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "..", "docs", "examples")
def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# Lines a script must take apart, with the text before and after TOKEN in
# each (words, as blanks, commas and semicolons delimit them); None for a
# line without it.
HOSTILE = [
    (b"a|b TOKEN c|d", b"a|b", b"c|d"),
    (b'"q" TOKEN "r"', b'"q"', b'"r"'),
    (b"x&y TOKEN %PATH%", b"x&y", b"%PATH%"),
    (b"!v! TOKEN ^c^", b"!v!", b"^c^"),
    (b"<in> TOKEN >out", b"<in>", b">out"),
    (b"=e TOKEN f=", b"=e", b"f="),
    (b"a\tb TOKEN c\td", b"a\tb", b"c\td"),
    (b"TOKEN", b"", b""),
    (b"no token here", None, None),
    (b"x TOKEN|y", b"x", b"|y"),
    ("Grüße TOKEN 😀".encode(), "Grüße".encode(), "😀".encode()),
    (b"caf\xe9 TOKEN \xff", b"caf\xe9", b"\xff"),
]


def carried_by_cmd(line):
    """Whether a batch file can take line as an argument: no '"' (it ends
    quoting), no byte that is no text, and under Wine no "%" (Wine's cmd
    expands a batch file's argument once more; Windows' does not)."""
    try:
        line.decode("utf-8")
    except UnicodeDecodeError:
        return False
    return b'"' not in line and b"%" not in line


def hostile_file():
    """HOSTILE as a UTF-8 file with a byte-order mark and CR LF line ends,
    and per found line: its number, position and the two texts."""
    folder = tempfile.mkdtemp(prefix="tokloc-hostile-")
    atexit.register(shutil.rmtree, folder, True)
    path = os.path.join(folder, "hostile.txt")
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + b"\r\n".join(line for line, _, _ in HOSTILE) + b"\r\n")
    found = [(n + 1, line.decode("utf-8", "surrogateescape").index("TOKEN") + 1, before, after)
             for n, (line, before, after) in enumerate(HOSTILE) if before is not None]
    return path, found


def client_cases(platform, opts):
    """The examples in docs/examples run where users run them: the .sh files
    under dash and bash, the .bat files under Wine's cmd.exe, jq and
    Python's json; each takes every field of hostile texts apart."""
    hostile, found = hostile_file()
    if platform == "posix":
        env = {"PATH": os.path.dirname(opts.exe) + os.pathsep + os.environ["PATH"], "LC_ALL": "C.UTF-8"}
        clients = [(shell, lambda name, shell=shell: [shell, os.path.join(EXAMPLES, name + ".sh")], b"\n")
                   for shell in ("dash", "bash")]
        shown = lambda text: text
        null = ["sh", "-c", 'tokloc "$1" long > "$2"; echo "to a file: $?"; cat "$2"; '
                'tokloc "$1" long > /dev/null; echo "to /dev/null: $?"', "sh"]
    else:
        env = {"LANG": "C.UTF-8", "LC_ALL": ""}
        clients = [("cmd", lambda name: [opts.wine, "cmd", "/c", windows_path(os.path.join(EXAMPLES, name + ".bat"))],
                    b"\r\n")]
        # cmd gets the texts in the ANSI page (1252), where each UTF-16
        # unit of a character or byte it lacks is "?"; for /f drops a "|"
        # that begins the rest.
        def ansi(c):
            try:
                return c.encode("cp1252")
            except UnicodeEncodeError:
                return b"?" * (1 + (ord(c) > 0xFFFF))
        shown = lambda text: b"".join(ansi(c) for c in text.decode("utf-8", "surrogateescape")).lstrip(b"|")
        with_text = lambda example: [opts.wine, "cmd", "/c", windows_path(os.path.join(HERE, "with-text.bat")), example]
        null = [opts.wine, "cmd", "/c", windows_path(os.path.join(EXAMPLES, "..", "..", "tests", "e2e", "redirect.bat"))]
    cases = []
    for name, run, eol in clients:
        def case(title, example, args, **rest):
            cases.append(dict(name="%s: %s" % (name, title), cmd=run(example) + list(args), env=env,
                              cwd=os.path.dirname(opts.exe), **rest))
        case("found", "locate", ["This is not a very long string", "long"],
             stdout=b"pos=20 after=24 before=[very] behind=[string]" + eol, code=0)
        case("not found", "locate", ["This is not a very long string", "LONG"], stdout=b"not found" + eol,
             code=76 if name == "cmd" else 0)
        case("| & ^ and an empty context", "locate", ["a|b & c^ TOKEN", "TOKEN", "4"],
             stdout=b"pos=10 after=15 before=[ c^ ] behind=[]" + eol, code=0)
        for field in ("position", "after_position", "before", "after"):
            pick = lambda n, pos, before, after: {"position": b"%d" % pos, "after_position": b"%d" % (pos + 5),
                                                  "before": shown(before), "after": shown(after)}[field]
            case("every line's %s" % field, "each-line", [hostile, "TOKEN", field],
                 stdout=b"".join(b"%d: [%s]%s" % (n, pick(n, *rest), eol) for n, *rest in found), code=0)
        case("no line holds the token", "each-line", [hostile, "NOWHERE"],
             stdout=b"no line holds the token" + eol, code=0)
        for what, path in (("a missing file", hostile + ".none"), ("a folder", os.path.dirname(hostile))):
            case(what, "each-line", [windows_path(path) if name == "cmd" else path, "TOKEN"],
                 stderr=re.compile(rb"each-line\.(sh|bat): cannot read .*\r?\n"), code=2)
        # One hostile text a call, as an argument (through a variable of
        # the calling script's, for cmd).
        for line, before, after in HOSTILE:
            if platform == "win32" and not carried_by_cmd(line):
                continue
            text = line.decode("utf-8", "surrogateescape")
            pos = text.find("TOKEN") + 1
            for example in ("locate", "positions"):
                if example == "locate":
                    expected = (b"pos=%d after=%d before=[%s] behind=[%s]" % (pos, pos + 5, shown(before), shown(after))
                                if pos else b"not found")
                else:
                    expected = b"%s: token at %d, text after it at %d" % (b"TRUE" if pos else b"FALSE", pos,
                                                                          pos + 5 if pos else 0)
                args = [text, "TOKEN"] if platform == "posix" else []
                rest = {} if platform == "posix" else dict(env=dict(env, T=text, K="TOKEN"))
                cases.append(dict(name="%s: %s on %r" % (name, example, line), cwd=os.path.dirname(opts.exe),
                                  cmd=(run(example) if platform == "posix" else with_text(example)) + args,
                                  **dict(dict(env=env), **rest),
                                  stdout=expected + eol, code=76 if not pos and example + name == "locatecmd" else 0))
    if platform == "posix":
        # JSON through jq, which shows a byte that is no text as U+FFFD,
        # and through Python, which gets it back.
        replaced = lambda text: text.decode("utf-8", "replace").encode()
        for example, shown_by in (("each-line-jq.sh", replaced), ("each_line.py", lambda text: text)):
            cases.append(dict(name=example, cmd=[os.path.join(EXAMPLES, example), hostile, "TOKEN"], env=env,
                              stdout=b"".join(b"%d: %d-%d [%s] [%s]\n" % (n, pos, pos + 5, shown_by(before),
                                                                          shown_by(after))
                                              for n, pos, before, after in found), code=0))
        # Every occurrence in several files; a file that cannot be read is
        # said, and the others are still searched.
        twice = os.path.join(os.path.dirname(hostile), "tw|ice.txt")
        with open(twice, "wb") as f:
            f.write(b"none\nTOKEN x TOKEN\n")
        listed = b"".join(b"%s: line %d, position %d\n" % (hostile.encode(), n, pos) for n, pos, _, _ in found)
        for shell in ("dash", "bash"):
            cases.append(dict(name="%s: occurrences.sh" % shell, env=env,
                              cmd=[shell, os.path.join(EXAMPLES, "occurrences.sh"), "TOKEN", hostile, twice],
                              stdout=listed + b"%s: line 2, position 1\n%s: line 2, position 9\n" % (
                                  twice.encode(), twice.encode()), code=0))
            cases.append(dict(name="%s: occurrences.sh, a missing file" % shell, env=env,
                              cmd=[shell, os.path.join(EXAMPLES, "occurrences.sh"), "TOKEN", hostile + ".none", twice],
                              stdout=b"%s: line 2, position 1\n%s: line 2, position 9\n" % (twice.encode(), twice.encode()),
                              stderr=re.compile(rb"tokloc: .*\.none: [^\n]+\na file could not be read; the others were "
                                                rb"searched\n"), code=1))
        # GNU parallel in blocks of 100,000 lines gives one process's
        # output, line numbers and all.
        big = os.path.join(os.path.dirname(hostile), "big.txt")
        with open(big, "wb") as f:
            f.write(b"".join(b"x TOKEN y\n" if n % 7 == 0 else b"line %d\n" % n for n in range(1, 250001)))
        cases.append(dict(name="parallel.sh", cmd=[os.path.join(EXAMPLES, "parallel.sh"), big, "TOKEN"], env=env,
                          stdout=b"".join(b"%d|TRUE|3|8|0|x|y|\r\n" % n for n in range(7, 250001, 7)), code=0))
    result_file = os.path.join(tempfile.gettempdir(), "tokloc-redirect-%d.txt" % os.getpid())
    atexit.register(lambda: os.path.exists(result_file) and os.remove(result_file))
    cases.append(dict(name="result to a file and to the null device", cmd=null + [
                      "This is not a very long string", windows_path(result_file) if platform == "win32" else result_file],
                      env=env, cwd=os.path.dirname(opts.exe),
                      stdout=(b"to a file: 0" + (b"\r\n" if platform == "win32" else b"\n") +
                              b"TRUE|20|24|0|very|string|\r\n" +
                              b"to " + (b"nul: 0\r\n" if platform == "win32" else b"/dev/null: 0\n")), code=0))
    return cases


def terminal_text(raw):
    """What a terminal shows, as text: Wine's cursor codes and line erasing
    dropped, and the line ends the terminal adds (LF to CR LF) taken back."""
    shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", raw)
    return shown.replace(b"\r\r\n", b"\n").replace(b"\r\n", b"\n")


def console_cases(platform, opts):
    """The program in a terminal (script(1) gives it a pseudo-terminal):
    under Wine the process then has a console and writes in its output code
    page, which Wine's console shows in the terminal's UTF-8. A POSIX
    terminal shows the locale's own encoding."""
    def shown(notice_mark):
        # The title line is longer than the 80-column console and wraps
        # there; the notice and comments lines fit.
        b = opts.build
        short, full = titles(opts)
        title = b"\n?".join(re.escape(bytes([c])) for c in (" - " + b["ProgramDescription"]).encode())
        notice = b["LegalNoticeText"].encode().replace("\u00a9".encode(), notice_mark)
        return re.compile(b"tokloc " + short + rb" \(.*?\)" + title + b"\n"
                          + re.escape(notice + b"\n" + b["CommentsNotice"].encode() + b"\n\n")
                          + rb"tokloc(\.exe)? " + full + rb" was compiled on .*\n\n", re.S)
    if platform == "posix":
        run = ["script", "-qec", '"$TOKLOC" "$T" "$K"', "/dev/null"]
        latin = lambda text: text.encode("latin-1").decode("utf-8", "surrogateescape")
        terminals = [
            ("utf-8", {"LC_ALL": "C.UTF-8"}, "Grüße an alle", "an", "TRUE|7|9|0|Grüße|alle|\n".encode(), "©".encode()),
            ("iso-8859-1", {"LC_ALL": "de_DE.ISO-8859-1"}, latin("Grüße an alle"), "an",
             "TRUE|7|9|0|Grüße|alle|\n".encode("latin-1"), b"\xa9"),
        ]
    else:
        run = ["script", "-qec", '"$WINE" "$TOKLOC" "$T" "$K"', "/dev/null"]
        terminals = [
            ("de_DE, console page 850", {"LANG": "de_DE.UTF-8", "LC_ALL": ""}, "Grüße an alle", "an",
             "TRUE|7|9|0|Grüße|alle|\n".encode(), "©".encode()),
            # 932 has no "©": the console page's best fit stands for it.
            ("ja_JP, console page 932", {"LANG": "ja_JP.UTF-8", "LC_ALL": ""}, "日本語 テキスト 検索", "テキスト",
             "TRUE|5|9|0|日本語|検索|\n".encode(), b"c"),
        ]
    cases = []
    for name, env, text, token, result, notice_mark in terminals:
        env = dict(env, TOKLOC=opts.exe, WINE=opts.wine or "")
        cases.append(dict(name="%s: result line" % name, cmd=run, env=dict(env, T=text, K=token),
                          filter=terminal_text, stdout=result, code=0))
        cases.append(dict(name="%s: banner" % name, cmd=run, env=dict(env, T="--info", K="x"),
                          filter=terminal_text, stdout=shown(notice_mark), code=254))
    return cases


SUITES = {
    "switches": switches_cases,
    "files": files_cases,
    "lines": lines_cases,
    "limits": limits_cases,
    "streams": stream_cases,
    "extremes": extremes_cases,
    "clients": client_cases,
    "console": console_cases,
    "help": help_cases,
    "search": search_cases,
    "failure": failure_cases,
    "cmdline": cmdline_cases,
    "encoding": encoding_cases,
}


def suite(name, platform, opts):
    if name in ("help", "clients", "console", "encoding", "cmdline", "streams", "lines", "limits", "switches", "files"):
        return SUITES[name](platform, opts)
    return SUITES[name](platform)
