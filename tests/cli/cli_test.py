#!/usr/bin/env python3
"""tarnu-cli as a user runs it, on real files: the independently made ".cpy"
samples read and made again byte for byte, a tree of many sizes there and
back, the exit statuses and refusals, the password typed at a terminal
(Linux), and Ctrl+C in the middle of a large file.

usage: cli_test.py TARNU_CLI TESTS_DATA_FOLDER [PART...]
       cli_test.py --wine TARNU_CLI_EXE TESTS_DATA_FOLDER [PART...]
With --wine the Windows console build runs under Wine in WINEPREFIX, whose
code page comes from LC_ALL (ja_JP: 932, else 1252); drives are mapped in
the prefix for the cases that need one.
"""
import hashlib
import os
import pty
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINE = sys.argv[1] == "--wine"
CLI, DATA = os.path.abspath(sys.argv[1 + WINE]), os.path.abspath(sys.argv[2 + WINE])
COMMAND = ["wine", CLI] if WINE else [CLI]
# The code page names are spelled in: the system's under Wine, else the default.
CODE_PAGE = 932 if WINE and os.environ.get("LC_ALL", "").startswith("ja_JP") else 1252
failures = []
# A name of the code page's own letters; in 932 a second byte is that of '\\'.
NAME = "\u30bd\u30d5\u30c8\u8868" if CODE_PAGE == 932 else "caf\u00e9"


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def run(args, password=None, cwd=None):
    env = {k: v for k, v in os.environ.items() if k != "TARNU_PASSWORD"}
    if password is not None:
        env["TARNU_PASSWORD"] = password
    done = subprocess.run(COMMAND + args, env=env, cwd=cwd, capture_output=True,
                          stdin=subprocess.DEVNULL, start_new_session=True)
    done.stdout = done.stdout.replace(b"\r\n", b"\n")  # Windows ends lines so
    return done


def pattern(size):
    return bytes((7 * i + 3) % 256 for i in range(size))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def cpy_files(folder):
    return sorted(f for f in os.listdir(folder) if f.endswith(".cpy"))


class Drive:
    """A folder as the root of a drive under Wine (T:), else as it is."""

    def __init__(self, folder):
        self.link = os.path.join(os.environ.get("WINEPREFIX", ""), "dosdevices", "t:")
        if WINE:
            if os.path.lexists(self.link):  # left by a run that was cut off
                os.remove(self.link)
            os.symlink(folder, self.link)
        self.root = "T:\\" if WINE else folder

    def __enter__(self):
        return self.root

    def __exit__(self, *_):
        if WINE:
            os.remove(self.link)


def sample_cases():
    """(number, code page, size, password bytes, name bytes) of every sample
    this system can spell; ASCII ones in every code page."""
    for line in open(os.path.join(DATA, "cpy", "cases.txt"), encoding="ascii"):
        m = re.match(r'(\d+)\s+(\d+)\s+"(.*)"\s+"(.*)"', line)
        if m:
            name = "n" * 255 if m[4] == "n*255" else m[4]
            yield int(m[1]), CODE_PAGE, int(m[2]), m[3].encode(), name.encode()
    for line in open(os.path.join(DATA, "cpy-codepages", "cases.txt"), encoding="utf-8"):
        m = re.match(r"(\d+)\s+cp(\d+)\s+(\d+)\s+([0-9a-f]+)\s+([0-9a-f]+)", line)
        if m and (not WINE or int(m[2]) == CODE_PAGE):
            yield int(m[1]), int(m[2]), int(m[3]), bytes.fromhex(m[4]), bytes.fromhex(m[5])


def known_answers(work):
    for number, code_page, size, password, name in sample_cases():
        folder = os.path.join(work, "sample%d" % number)
        os.mkdir(folder)
        sample = os.path.join(DATA, "cpy" if number <= 7 else "cpy-codepages", "case%d.cpy" % number)
        shutil.copyfile(sample, os.path.join(folder, "in.cpy"))
        codec = "cp%d" % code_page
        with open(os.path.join(work, "pw%d" % number), "wb") as f:
            # A password file is UTF-8 on Linux, the code page's bytes on Windows.
            f.write((password if WINE else password.decode(codec).encode()) + b"\n")
        options = ["--password-file", os.path.join(work, "pw%d" % number)]
        if code_page != 1252:  # 1252 is the default on Linux, the system's on Windows
            options += ["--code-page", str(code_page)]
        on_disk = name.decode(codec)
        # A 255-byte name fits a Windows path only at the root of a drive.
        with Drive(folder) as root:
            where = (root if WINE else root + "/") if number == 7 else ""
            listed = run(["list"] + options + [where + "in.cpy"], cwd=folder)
            check(listed.stdout.decode(codec if WINE else "utf-8").endswith("%s, %d bytes\n" % (on_disk, size)),
                  "sample %d listed: %r" % (number, listed.stdout))
            done = run(["decrypt", "--quiet"] + options + [where + "in.cpy"], cwd=folder)
            check(done.returncode == 0, "sample %d decrypted: %r" % (number, done.stdout))
            source = b"abc" if number == 1 else pattern(size)
            out = os.path.join(folder, on_disk)
            check(os.path.exists(out) and read(out) == source, "sample %d contents" % number)
            if not password:
                continue  # encryption asks for a password
            again = run(["encrypt", "--wipe", "none"] + options + [where + on_disk], cwd=folder)
        made = cpy_files(folder)
        check(again.returncode == 0 and len(made) == 1 and read(os.path.join(folder, made[0])) ==
              read(sample), "sample %d made again byte for byte" % number)


def round_trip(work):
    tree = os.path.join(work, "tree")
    sizes = [0, 1, 7, 8, 9, 4095, 65539, (1 << 20) + 5, (3 << 20) + 1]
    originals, modes = {}, {}
    for i, size in enumerate(sizes):
        path = os.path.join(tree, "level%d" % (i % 3), "%s %d.bin" % (NAME, size))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        data = os.urandom(size)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, ns=(1_500_000_000_000_000_000, 1_400_000_000_123_456_700))
        originals[path] = data
        modes[path] = (0o644, 0o755, 0o640)[i % 3]  # a script keeps its execute bits
        os.chmod(path, modes[path])
    done = run(["encrypt", "--quiet", tree], password="tree pass")
    check(done.returncode == 0, "tree encrypted: %r" % done.stderr)
    check(not any(os.path.exists(p) for p in originals), "originals gone after encryption")
    made = sum(len(cpy_files(os.path.join(tree, d))) for d in os.listdir(tree))
    check(made == len(sizes), "one .cpy per file: %d" % made)
    if WINE:  # no shell expands a pattern for a Windows program: it does
        listed = run(["list", "level0\\*.cpy"], password="tree pass", cwd=tree)
        check(listed.returncode == 0 and listed.stdout.count(b" bytes\n") == 3,
              "a pattern listed: %r" % listed.stdout)
    if not WINE:  # a .cpy file carries its original's mode; one made narrower gives no more
        narrowed = os.path.join(tree, "level1", cpy_files(os.path.join(tree, "level1"))[0])
        check(os.stat(narrowed).st_mode & 0o777 == 0o755, "a .cpy file's mode")
        os.chmod(narrowed, 0o600)
        listed = run(["list", narrowed], password="tree pass").stdout.decode()
        modes[os.path.join(tree, "level1", re.search(r": (.*), \d+ bytes$", listed)[1])] = 0o600
    done = run(["decrypt", "--quiet", tree], password="tree pass")
    check(done.returncode == 0, "tree decrypted: %r" % done.stderr)
    for path, data in originals.items():
        check(os.path.exists(path) and read(path) == data, "round trip of " + path)
        check(os.path.exists(path) and os.stat(path).st_mtime_ns == 1_400_000_000_123_456_700,
              "last-write time of " + path)
        check(WINE or os.stat(path).st_mode & 0o777 == modes[path], "mode of " + path)


def exit_statuses(work):
    folder = os.path.join(work, "statuses")
    os.mkdir(folder)
    os.mkdir(os.path.join(folder, "spell"))
    # A name code page 1252 cannot spell, beside one it can.
    unspelled = os.path.join(folder, "spell", "\u65e5\u672c.txt")
    for name, data in (("plain.txt", b"plain"), ("locked.txt", b"locked"), ("\u00e9t\u00e9.txt", b"ete"),
                       ("upper.txt", b"upper"), ("notes.txt", b"notes"), (unspelled, b"kept"),
                       (os.path.join("spell", "ok.txt"), b"ok")):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    run(["encrypt", "plain.txt"], password="right", cwd=folder)
    encrypted = cpy_files(folder)[0]
    run(["encrypt", "upper.txt"], password="right", cwd=folder)
    os.rename(os.path.join(folder, next(f for f in cpy_files(folder) if f != encrypted)),
              os.path.join(folder, "UPPER.CPY"))  # as the file-type association opens one
    os.chmod(os.path.join(folder, "locked.txt"), 0o444)
    rows = [  # arguments, password, status, what the output says
        (["decrypt", encrypted], "wrong", 1, "Wrong password"),
        (["list", encrypted], "wrong", 1, "Wrong password"),
        (["encrypt", "missing.txt"], "pw", 1, "not found"),
        (["encrypt", "locked.txt"], "pw", 1, "read-only"),
        (["encrypt"], "pw", 2, "usage"),
        (["encrypt", "--wipe", "twice", "x"], "pw", 2, "usage"),
        (["shred", "x"], "pw", 2, "usage"),
        (["encrypt", "--code-page", "99999", "x"], "pw", 2, "code page"),
        (["encrypt", "", "x"], "pw", 1, "cannot work on"),
        (["decrypt", "--quiet", encrypted], "right", 0, "1 file taken"),
        (["encrypt", "--quiet", "--write-read-only", "locked.txt"], "pw", 0, "1 file taken"),
        # Each named file a job would pass over is said, and the rest done.
        (["encrypt", "UPPER.CPY"], "pw", 1, "already a .cpy file"),
        (["decrypt", "notes.txt", "UPPER.CPY"], "right", 1, "not a .cpy file, left as it is"),
        (["encrypt", "--quiet", "spell"], "pw", 1, "cannot spell this name; left as it is" +
         ("" if WINE else " (choose another with --code-page) : " + unspelled)),
        (["decrypt", "--quiet", "spell"], "pw", 0, "1 file taken"),  # not a word of the plain file
    ]
    if WINE:
        rows += [
            (["encrypt", "--code-page", "437", "x"], "pw", 2, "system's code page"),
            (["encrypt", "C:\\windows"], "pw", 1, "Windows folder"),
            (["encrypt", "C:\\"], "pw", 1, "system drive"),
        ]
    else:  # no place in code page 1252, one in 932
        rows += [
            (["encrypt", "\u00e9t\u00e9.txt", "--code-page", "932"], "pw", 1, "932 cannot spell"),
            (["encrypt", "--quiet", "\u00e9t\u00e9.txt"], "pw", 0, "1 file taken"),
            (["decrypt", "--code-page", "1047", "x"], "pw", 2, "1047 does not spell ASCII"),
        ]
    for args, password, status, says in rows:
        got = run(args, password=password, cwd=folder)
        text = (got.stdout + got.stderr).decode(errors="replace")
        check(got.returncode == status and says.lower() in text.lower(),
              "%s: status %d, %r" % (args, got.returncode, text))
    for name, data in (("plain.txt", b"plain"), ("upper.txt", b"upper"), ("notes.txt", b"notes"),
                       (unspelled, b"kept")):
        check(os.path.exists(os.path.join(folder, name)) and read(os.path.join(folder, name)) == data,
              "%s: the failed runs lost nothing" % name)
    check(not os.path.exists(os.path.join(folder, "locked.txt")), "read-only taken when asked")


def approximated_names(work):
    """Names the code page spells only by look-alikes ("..\\victim.txt" by best
    fit) below a victim.txt: walked, named, matched by a pattern or in the
    current folder's path, each is refused with status 1 and nothing touched."""
    names = (["..\u00a5victim.txt"] if CODE_PAGE == 932 else
             ["..\uff3cvictim.txt", "..\u2216victim.txt", "\uff0e\uff0e\uff3cvictim.txt"])
    top = os.path.join(work, "approximated")
    inner = os.path.join(top, "inner")
    os.makedirs(inner)
    # A current folder whose name, so spelled, leads back up to top.
    back_up = os.path.join(top, names[0][:3] + "approximated")
    os.mkdir(back_up)
    paths = [os.path.join(top, "victim.txt")] + [os.path.join(inner, n) for n in names]
    for path in paths:
        with open(path, "wb") as f:
            f.write(path.encode())
    rows = [(["."], inner), (["*victim.txt"], inner), (["victim.txt"], back_up)]
    for args, cwd in rows + [([n], inner) for n in names]:
        got = run(["encrypt", "--wipe", "zero"] + args, password="pw", cwd=cwd)
        said = (got.stdout + got.stderr).count(b"cannot spell")
        check(got.returncode == 1 and said == (len(names) if args == ["."] else 1),
              "%r: status %d, %r" % (args, got.returncode, got.stdout + got.stderr))
        check(all(os.path.exists(p) and read(p) == p.encode() for p in paths) and
              len(os.listdir(inner)) == len(names) and len(os.listdir(top)) == 3,
              "%r touched nothing" % args)


def typed_password(work):
    folder = os.path.join(work, "typed")
    os.mkdir(folder)
    with open(os.path.join(folder, "a.txt"), "wb") as f:
        f.write(b"typed at a terminal")
    env = {k: v for k, v in os.environ.items() if k != "TARNU_PASSWORD"}
    pid, terminal = pty.fork()
    if pid == 0:
        os.chdir(folder)
        os.execve(CLI, [CLI, "encrypt", "--quiet", "a.txt"], env)
    seen = b""
    for answer in (b"s\xc3\xa9cret\n", b"s\xc3\xa9cret\n"):
        while not seen.endswith(b": "):
            seen += os.read(terminal, 1)
        os.write(terminal, answer)
        seen += os.read(terminal, 2)
    try:
        while True:
            chunk = os.read(terminal, 1024)
            if not chunk:
                break
            seen += chunk
    except OSError:  # the terminal closes with the program
        pass
    status = os.waitpid(pid, 0)[1]
    check(os.waitstatus_to_exitcode(status) == 0, "encrypted with a typed password: %r" % seen)
    check(b"cret" not in seen and b"Password again: " in seen, "no echo: %r" % seen)
    done = run(["decrypt", "--quiet", "."], password="s\u00e9cret", cwd=folder)
    check(done.returncode == 0 and read(os.path.join(folder, "a.txt")) == b"typed at a terminal",
          "the typed password was the one keyed: %r" % done.stdout)


def interrupted(work):
    """The first interrupt stops the job at the next safe point; a second one,
    in a wipe that no Stop cuts short, ends the program at once."""
    folder = os.path.join(work, "interrupted")
    os.mkdir(folder)
    path = os.path.join(folder, "large.bin")
    block = os.urandom(1 << 20)
    with open(path, "wb") as f:
        for _ in range(256):
            f.write(block)
    digest = hashlib.sha1(read(path)).hexdigest()
    ended = 130 if WINE else -signal.SIGINT  # natively it dies of the signal, as shells expect
    for begun, interrupts, status, says in ((".tarnu-part", 1, 130, "stopping at the next safe point"),
                                            (".cpy", 2, ended, "ended at once")):
        password = "interrupted pass"
        job = subprocess.Popen(COMMAND + ["encrypt", "--quiet", path], stdin=subprocess.DEVNULL,
                               env=dict(os.environ, TARNU_PASSWORD=password),
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        deadline = time.time() + 60
        while time.time() < deadline and not any(f.endswith(begun) for f in os.listdir(folder)):
            time.sleep(0.001)
        check(any(f.endswith(begun) for f in os.listdir(folder)), "the job reached its " + begun)
        if not WINE:  # the password read is gone from the environment
            with open("/proc/%d/environ" % job.pid, "rb") as f:
                check(password.encode() not in f.read(), "TARNU_PASSWORD left in the environment")
        out = b""
        for n in range(interrupts):
            job.send_signal(signal.SIGINT)
            while n + 1 < interrupts and b"interrupt again" not in out:  # not merged with the next
                line = job.stdout.readline()
                out += line
                if not line:
                    break
        out += job.communicate()[0]
        check(job.returncode == status and says.encode() in out,
              "%d interrupts: status %d, %r" % (interrupts, job.returncode, out))
        if interrupts == 2:  # the .cpy file is whole: what the wipe left of the original goes
            check(len(cpy_files(folder)) == 1, "one .cpy file: %r" % os.listdir(folder))
            for name in os.listdir(folder):
                if not name.endswith(".cpy"):
                    os.remove(os.path.join(folder, name))
            run(["decrypt", "--quiet", folder], password=password)
        check(os.listdir(folder) == ["large.bin"], "%d interrupts left %r" % (interrupts, os.listdir(folder)))
        check(hashlib.sha1(read(path)).hexdigest() == digest, "the original whole")


def others_beside(work):
    """Other programs at work beside a job: a backup's hard link, an editor
    saving by rename and a log appending while the file is read. Nothing is
    removed or wiped that is not the file read, and each is said."""
    folder = os.path.join(work, "beside")
    os.makedirs(os.path.join(folder, "backup"))
    path = os.path.join(folder, "doc.bin")
    linked, backup = os.path.join(folder, "linked.txt"), os.path.join(folder, "backup", "linked.txt")
    with open(linked, "wb") as f:
        f.write(b"shared by two names")
    os.link(linked, backup)
    got = run(["encrypt", linked], password="pw")  # both wipes, by default
    check(got.returncode == 1 and b"other names" in got.stdout, "a linked file: %r" % got.stdout)
    check(read(linked) == read(backup) == b"shared by two names", "both names keep their bytes")
    large = pattern(64 << 20)
    for change, says in (("replaced", b"changed this file"), ("appended", b"changed this file")):
        with open(path, "wb") as f:
            f.write(large)
        job = subprocess.Popen(COMMAND + ["encrypt", "--quiet", path], stdin=subprocess.DEVNULL,
                               env=dict(os.environ, TARNU_PASSWORD="pw"),
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        deadline = time.time() + 60
        while time.time() < deadline and not any(f.endswith(".tarnu-part") for f in os.listdir(folder)):
            time.sleep(0.001)
        if change == "replaced":
            with open(path + ".new", "wb") as f:
                f.write(b"the new version")
            os.rename(path + ".new", path)
        else:
            with open(path, "ab") as f:
                f.write(b"one more line")
        out = job.communicate()[0]
        check(job.returncode == 1 and says in out, "%s: status %d, %r" % (change, job.returncode, out))
        left = b"the new version" if change == "replaced" else large + b"one more line"
        check(read(path) == left, "%s: the file as the other program left it" % change)
        check(len(cpy_files(folder)) == 1, "%s: the output kept: %r" % (change, os.listdir(folder)))
        for name in cpy_files(folder):
            os.remove(os.path.join(folder, name))


def disk_full(work):
    """A write refused midway (a file-size limit stands in for a full disk)."""
    folder = os.path.join(work, "full")
    os.mkdir(folder)
    path = os.path.join(folder, "eight.bin")
    with open(path, "wb") as f:
        f.write(os.urandom(8 << 20))
    before = read(path)

    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (4 << 20, 4 << 20))

    got = subprocess.run([CLI, "encrypt", path], env=dict(os.environ, TARNU_PASSWORD="pw"),
                         capture_output=True, stdin=subprocess.DEVNULL, preexec_fn=limit)
    check(got.returncode == 1 and b"could not be written" in got.stdout, "disk full: %r" % got.stdout)
    check(os.listdir(folder) == ["eight.bin"] and read(path) == before,
          "disk full left %r, the original whole" % os.listdir(folder))


# Parts named after the data folder run alone (the emulated 32-bit Wine is slow).
chosen = sys.argv[3 + WINE:]
with tempfile.TemporaryDirectory(prefix="tarnu-cli-") as work:
    # Under Wine no terminal is there to ask.
    parts = [known_answers, round_trip, exit_statuses, interrupted, others_beside]
    parts += [approximated_names] if WINE else []
    for part in parts if WINE else parts + [typed_password, disk_full]:
        if chosen and part.__name__ not in chosen:
            continue
        print("==", part.__name__)
        part(work)
print("%d failures" % len(failures))
sys.exit(1 if failures else 0)
