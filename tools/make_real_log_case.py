#!/usr/bin/env python3
"""Makes a case of the real-log corpus from a .log file committed to a git repository.

A case keeps a TeX log byte for byte, the names of the repository's files that
the log shows TeX opening, and the truth of each error: the one file among those
whose line N, at the same commit, begins with what the error's "l.N" context
line shows. The first error must have such a truth, or the log is refused; a
later error without one is left out of the case.

    make_real_log_case.py MIRROR COMMIT LOG [--out tests/real-logs]
    make_real_log_case.py --scan MIRROR... [--most 8]  every version of every .log with an error, 8 a repository
    make_real_log_case.py --summary tests/real-logs               the counts of the corpus's README
    make_real_log_case.py --sources tests/real-logs > tests/real-logs/sources.txt
    make_real_log_case.py --rebuild tests/real-logs/sources.txt --mirrors DIR     makes the corpus again

MIRROR is a git directory (bare or not).  A case that cannot be made (no error
with an "l.N" line, no source line or several that fit, TeX run outside the
document's folder) is refused with the reason.  Only the standard library is used.
"""

import argparse
import collections
import os
import posixpath
import re
import subprocess
import sys

MAGIC = b"velumo-real-log 2"
CONTEXT_LINE = re.compile(rb"^l\.(\d+) ?(.*)$")
FILE_LINE_ERROR = re.compile(rb"^(.+?):(\d+): (.*)$")
HEX_CHARACTER = re.compile(rb"\^\^([0-9a-f]{2})")
CONTROL_CHARACTER = re.compile(rb"\^\^([\x00-\x7f])")
# Where a name that TeX prints ends: blanks, parentheses, the marks of a page or picture.
NAME_END = re.compile(rb"[\s()<>\[\]{}\"]")
ENGINES = [
    (b"This is pdfTeX", "pdftex"),
    (b"This is XeTeX", "xetex"),
    (b"This is LuaHBTeX", "luahbtex"),
    (b"This is LuaTeX", "luatex"),
    (b"This is e-upTeX", "euptex"),
    (b"This is e-pTeX", "eptex"),
    (b"This is upTeX", "uptex"),
    (b"This is pTeX", "ptex"),
    (b"This is e-TeX", "etex"),
    (b"This is TeX", "tex"),
]
TEXT_SIZE_LIMIT = 2 << 20
SHORTEST_SHOWN = 4


class Refused(Exception):
    pass


# --- the repository ---------------------------------------------------------


class Commit:
    """The files of one commit of a git directory, read on demand."""

    def __init__(self, git_dir, commit):
        self.git_dir, self.commit = git_dir, commit
        listing = self._git("ls-tree", "-r", "-l", "-z", commit)
        self.blobs = {}
        for entry in listing.split(b"\0"):
            if not entry:
                continue
            info, path = entry.split(b"\t", 1)
            mode, kind, sha, size = info.split()
            if kind == b"blob":
                # A snapshot may lack its largest files: their names stay, their size is unknown.
                known = int(size) if size.isdigit() else None
                self.blobs[path.decode("utf-8", "surrogateescape")] = (sha.decode(), known)
        self.folded = collections.defaultdict(list)
        for path in self.blobs:
            self.folded[path.lower()].append(path)

    def _git(self, *args, data=None):
        return subprocess.run(["git", "--git-dir", self.git_dir, *args], input=data, capture_output=True,
                              check=True).stdout

    def find(self, path):
        """The path as the commit holds it; Windows and Mac find a name in any case."""
        if path in self.blobs:
            return path
        same = self.folded.get(path.lower(), [])
        return same[0] if len(same) == 1 else None

    def read(self, path):
        return self._git("cat-file", "blob", self.blobs[path][0])

    def texts_of(self, paths):
        """The lines (as TeX splits them) of each of the paths small enough to be a source."""
        paths = sorted(p for p in paths if self.blobs[p][1] is not None and self.blobs[p][1] <= TEXT_SIZE_LIMIT)
        request = b"".join(self.blobs[p][0].encode() + b"\n" for p in paths)
        out = self._git("cat-file", "--batch", data=request)
        at, texts = 0, {}
        for path in paths:
            header_end = out.index(b"\n", at)
            size = int(out[at:header_end].split()[2])
            content = out[header_end + 1:header_end + 1 + size]
            at = header_end + 1 + size + 1
            if b"\0" not in content[:8192]:
                texts[path] = re.split(rb"\r\n|\r|\n", content)
        return texts


# --- the log ----------------------------------------------------------------


def engine_of(log):
    first = log.split(b"\n", 1)[0]
    for banner, engine in ENGINES:
        if first.startswith(banner):
            return engine
    return None


def log_lines(log):
    return [line.rstrip(b"\r") for line in log.split(b"\n")]


def errors_of(lines):
    """Every error of the log in order: (index of the error's line, N, the text l.N shows).

    N and the text are None for an error that shows no context. An error's
    context line is the first "l.N" line after it, unless another error comes
    first; an emergency stop in between is the same stop told again, as TeX
    prints it in nonstop mode after a missing file. One pass over the lines.
    """
    found, start = [], None
    for index, line in enumerate(lines):
        if start is not None:
            match = CONTEXT_LINE.match(line)
            if match:
                found.append((start, int(match.group(1)), match.group(2)))
                start = None
                continue
            # A name typed at the prompt for a missing file: that error showed no context.
            if line.startswith(b"Enter file name:"):
                following = lines[index + 1] if index + 1 < len(lines) else b""
                if not (is_error_line(following) and following.endswith(b"Emergency stop.")):
                    found.append((start, None, None))
                    start = None
                continue
            if not is_error_line(line) or line.endswith(b"Emergency stop."):
                continue
            found.append((start, None, None))
            start = None
        if is_error_line(line):
            start = index
    if start is not None:
        found.append((start, None, None))
    return found


def first_error(lines):
    """The log's first error, when it shows its context line."""
    found = errors_of(lines)
    return found[0] if found and found[0][1] is not None else None


def is_error_line(line):
    return line.startswith(b"! ") or is_file_line_error(line)


def is_file_line_error(line):
    match = FILE_LINE_ERROR.match(line)
    if not match:
        return False
    name = match.group(1)
    return re.search(rb"\.[A-Za-z0-9]+$", name) is not None and not name.startswith((b"(", b"<", b"["))


def decode_carets(text):
    """The bytes TeX showed as ^^xx or ^^X."""
    text = HEX_CHARACTER.sub(lambda m: bytes([int(m.group(1), 16)]), text)
    return CONTROL_CHARACTER.sub(lambda m: bytes([ord(m.group(1)) ^ 0x40]), text)


def shown_forms(text):
    """What the source line must begin with (or, after TeX's "...", hold)."""
    forms = {text, decode_carets(text)}
    return {form.lstrip(b" \t") for form in forms}


def document_index(lines):
    """Where the names TeX opens start: after the "**" line, else after the banner."""
    for index, line in enumerate(lines[:12]):
        if line.startswith(b"**"):
            return index + 1
    return 1


def joined_lines(lines, start):
    """The log from start with lines TeX broke at 79 bytes (or characters) joined again."""
    text = bytearray()
    for line in lines[start:]:
        text += line
        if len(line) != 79 and len(line.decode("utf-8", "replace")) != 79:
            text += b"\n"
    return bytes(text)


def printed_names(lines, start):
    """Every name after "(", "<" or "<use " in the log, each with its readings, shortest first.

    A name may hold blanks, and TeX may glue what it prints next to a name
    ("(./intro.texpdfTeX warning"), so every piece that ends at a blank or
    after an extension is a reading.
    """
    names = []
    for text in (joined_lines(lines, start), b"\n".join(lines[start:])):
        for match in re.finditer(rb"\((\"[^\"\n]+\")|\((?=[^\s()])|<use |<(?=[^\s<>])", text):
            if match.group(1):
                names.append([match.group(1)[1:-1]])
                continue
            token = re.match(rb"[^()<>\[\]{}\"\n]{1,300}", text[match.end():])
            if not token:
                continue
            token = token.group(0)
            ends = {m.start() for m in re.finditer(rb" ", token)} | {len(token.rstrip())}
            for dot in re.finditer(rb"\.(?=[A-Za-z0-9])", token):
                ends |= set(range(dot.start() + 2, min(dot.start() + 6, len(token) + 1)))
            names.append([token[:end] for end in sorted(ends) if end > 0])
    return names


def first_opened(lines, start):
    for line in lines[start:]:
        at = line.find(b"(")
        while at != -1:
            rest = line[at + 1:]
            if rest.startswith(b'"'):
                return rest[1:rest.find(b'"', 1)]
            name = NAME_END.split(rest, 1)[0]
            if name:
                return name
            at = line.find(b"(", at + 1)
    return None


# --- from printed names to the repository -------------------------------------


def is_absolute(name):
    return name.startswith((b"/", b"\\")) or re.match(rb"^[A-Za-z]:[/\\]", name) is not None


def slashed(name):
    return name.replace(b"\\", b"/")


class RunFolder:
    """The folder TeX ran in, as a folder of the commit, and the absolute folder it had there."""

    def __init__(self, commit, log_path, document):
        self.commit = commit
        self.absolute = None
        name = slashed(document)
        if name.startswith(b"./"):
            name = name[2:]
        if is_absolute(document):
            self.absolute = posixpath.dirname(name).decode("utf-8", "surrogateescape") + "/"
            name = posixpath.basename(name)
        elif b"/" in name:
            raise Refused("TeX ran outside the document's folder")
        folder = posixpath.dirname(log_path)
        base = name.decode("utf-8", "surrogateescape")
        candidates = [base] if base.endswith(".tex") or "." in base else [base + ".tex", base]
        while True:
            for candidate in candidates:
                found = self.commit.find(posixpath.join(folder, candidate))
                if found:
                    self.folder = folder
                    return
            if not folder:
                raise Refused("the document is not in the repository")
            folder = posixpath.dirname(folder)

    def path_of(self, printed):
        """The commit's path of a name TeX printed, if the commit holds it."""
        name = slashed(printed).decode("utf-8", "surrogateescape")
        if is_absolute(printed):
            if not self.absolute or not name.lower().startswith(self.absolute.lower()):
                return None
            name = name[len(self.absolute):]
        path = posixpath.normpath(posixpath.join(self.folder, name))
        if path.startswith("../"):
            return None
        return self.commit.find(path)

    def relative(self, path):
        return posixpath.relpath(path, self.folder or ".")


# --- the case -----------------------------------------------------------------


def make_case(git_dir, commit_id, log_path):
    """The case's text, or Refused."""
    commit = Commit(git_dir, commit_id)
    if log_path not in commit.blobs:
        raise Refused("no such log at that commit")
    log = commit.read(log_path)
    engine = engine_of(log)
    if not engine:
        raise Refused("not a TeX log")
    lines = log_lines(log)
    errors = errors_of(lines)
    if not errors or errors[0][1] is None:
        raise Refused("no error with an l.N line")
    start = document_index(lines)
    document = first_opened(lines, start)
    if not document:
        raise Refused("the log opens no document")
    run = RunFolder(commit, log_path, document)

    inputs, opened_paths = [], set()
    for readings in printed_names(lines, start):
        for printed in reversed(readings):
            path = run.path_of(printed)
            if path:
                if printed not in inputs:
                    inputs.append(printed)
                opened_paths.add(path)
                break
    sources = commit.texts_of(opened_paths)
    told = []
    for index, (error_at, line_number, shown) in enumerate(errors):
        try:
            told.append((error_at, line_number, truth_of(run, sources, lines[error_at], line_number, shown)))
        except Refused as refusal:
            # The first error makes the case; a later one the repository cannot tell is left out.
            if index == 0:
                raise
            LEFT_OUT[re.sub(r"\d+", "N", str(refusal))] += 1
    encoding = encoding_of(log, engine)
    if encoding is None:
        raise Refused("a log of pTeX neither in UTF-8 nor in Shift-JIS")
    header = [
        MAGIC,
        b"repository " + repository_of(git_dir).encode(),
        b"commit " + commit_id.encode(),
        b"log " + log_path.encode(),
        b"engine " + engine.encode(),
        b"encoding " + encoding.encode(),
        b"document " + strip_dot(document),
    ]
    numbers = output_line_numbers(log)
    header += [b"error %d %d " % (numbers[error_at], line_number) + run.relative(truth).encode("utf-8", "surrogateescape")
               for error_at, line_number, truth in told]
    header += [b"input " + name for name in inputs]
    header.append(b"output %d" % len(log))
    return b"\n".join(header) + b"\n" + log + b"\n"


# Why later errors were left out of the cases made in this run, with their counts.
LEFT_OUT = collections.Counter()


def truth_of(run, sources, error_line, line_number, shown):
    """The commit's path of the file whose line N the error's context shows, or Refused."""
    if line_number is None:
        raise Refused("the error shows no l.N line")
    truth = find_truth(sources, line_number, shown)
    named = FILE_LINE_ERROR.match(error_line)
    if named and is_file_line_error(error_line) and run.path_of(named.group(1)) not in (truth, None):
        raise Refused("the error's file:line: names another file than the one whose line fits")
    return truth


def output_line_numbers(log):
    """The number, from 1, of the line each of log_lines starts, as Velumo splits the
    output: a carriage return alone ends a line too."""
    numbers, number = [], 1
    for raw in log.split(b"\n"):
        numbers.append(number)
        number += 1 + raw.count(b"\r") - raw.endswith(b"\r")
    return numbers


def find_truth(sources, line_number, shown):
    """sources: the lines of each file the log shows TeX opening. TeX was reading
    one of them; a file it never opened that has such a line (a .bib, an older
    chapter) is a coincidence, and a log older than its commit's sources has no
    line that fits."""
    truncated = shown.startswith(b"...")
    forms = shown_forms(shown[3:] if truncated else shown)
    # A line as short as "}" fits in too many files, TeX's own among them.
    if max(len(re.sub(rb"\s", b"", form)) for form in forms) < SHORTEST_SHOWN:
        raise Refused("l.%d shows too little to tell the file" % line_number)
    matches = []
    for path, lines in sources.items():
        if len(lines) < line_number:
            continue
        source = lines[line_number - 1].lstrip(b" \t")
        if any((form in source) if truncated else source.startswith(form) for form in forms):
            matches.append(path)
    if len(matches) != 1:
        raise Refused("%s file the log opens has a line %d that fits" % ("no" if not matches else "more than one",
                                                                          line_number))
    return matches[0]


def encoding_of(log, engine):
    """utf-8, or cp932 for a Shift-JIS log of pTeX.

    pdfTeX prints a byte that is no character on its own ("Missing character:
    There is no \xe2") and a Latin-1 document's bytes as they are: such a log
    is still read as UTF-8, the encoding of its names.
    """
    # TeX breaks its lines at 79 bytes, inside a character as often as not.
    unbroken = joined_lines(log_lines(log), 0)
    pTeX = engine in ("ptex", "eptex", "uptex", "euptex")
    for encoding in ("utf-8", "cp932") if pTeX else ("utf-8",):
        try:
            unbroken.decode(encoding)
            return encoding
        except UnicodeDecodeError:
            pass
    return None if pTeX else "utf-8"


def strip_dot(name):
    return name[2:] if name.startswith((b"./", b".\\")) else name


def repository_of(git_dir):
    """owner/name from a mirror's folder, DIR/owner+name/repo[/.git]."""
    for part in reversed(os.path.abspath(git_dir).split(os.sep)):
        if "+" in part:
            return part.replace("+", "/", 1)
    return os.path.basename(os.path.abspath(git_dir))


def case_name(repository, log_path, commit_id):
    stem = re.sub(r"[^A-Za-z0-9._-]+", "-", repository.replace("/", "_") + "_" + log_path[:-4])
    return "%s_%s.case" % (stem, commit_id[:7])


def write_case(git_dir, commit_id, log_path, out):
    case = make_case(git_dir, commit_id, log_path)
    path = os.path.join(out, case_name(repository_of(git_dir), log_path, commit_id))
    with open(path, "wb") as file:
        file.write(case)
    return path


# --- scanning a repository's history --------------------------------------------


def error_key(case):
    """What tells two versions of a log apart: the first error and where it is."""
    header = case.split(b"\noutput ", 1)[0]
    log = case[len(header):]
    lines = log_lines(log)
    found = first_error(lines)
    # The error's line in the log is left out: a version that only printed more before it is no new case.
    told = re.search(rb"\nerror \d+ (.*)", header).group(1)
    return (told, lines[found[0]] if found else b"")


def spread(items, most):
    """At most `most` of the items, the first and the last among them, evenly apart."""
    if len(items) <= most:
        return items
    return [items[round(i * (len(items) - 1) / (most - 1))] for i in range(most)]


def scan(git_dir, out, most):
    history = subprocess.run(["git", "--git-dir", git_dir, "log", "--all", "--reverse", "--format=@%H",
                              "--name-only", "--diff-filter=AM", "--", "*.log"], capture_output=True,
                             check=True).stdout.decode("utf-8", "surrogateescape")
    commit, seen, made = None, set(), []
    for line in history.splitlines():
        if line.startswith("@"):
            commit = line[1:]
        elif line.endswith(".log"):
            try:
                case = make_case(git_dir, commit, line)
            except Refused as refusal:
                print("refused %s %s: %s" % (commit[:7], line, refusal))
                continue
            except subprocess.CalledProcessError:
                continue
            key = (line, error_key(case))
            if key in seen:
                continue
            seen.add(key)
            made.append((case_name(repository_of(git_dir), line, commit), case))
    # Many versions of one log would weigh one author's habits over everyone else's.
    for name, case in spread(made, most):
        with open(os.path.join(out, name), "wb") as file:
            file.write(case)
        print("made", os.path.join(out, name))


# --- the corpus's counts ----------------------------------------------------------


def read_case(path):
    """The case's header fields and its log. Each "error" is given as N and the file,
    in either form of the case (the first form has one error, without its line in the log)."""
    with open(path, "rb") as file:
        data = file.read()
    header, rest = data.split(b"\noutput ", 1)
    length, rest = rest.split(b"\n", 1)
    lines = header.split(b"\n")
    fields = collections.defaultdict(list)
    for line in lines[1:]:
        key, _, value = line.partition(b" ")
        if key == b"error" and lines[0] != b"velumo-real-log 1":
            value = value.split(b" ", 1)[1]
        fields[key.decode()].append(value)
    return fields, rest[:int(length)]


def system_of(log):
    first = log.split(b"\n", 1)[0]
    if b"MiKTeX" in first or b"W32TeX" in first or re.search(rb"[(<\"][A-Za-z]:[/\\]", log):
        return "Windows"
    if re.search(rb"/Users/|/Library/TeX|/opt/homebrew|/opt/local/", log):
        return "Mac"
    if b"/Debian)" in first or b"/Ubuntu)" in first or re.search(rb"/usr/share/tex|/home/", log):
        return "Linux"
    return "Linux or Mac"


def distribution_of(log):
    first = log.split(b"\n", 1)[0]
    for name in (b"MiKTeX", b"W32TeX", b"TeX Live"):
        if name in first:
            return name.decode()
    return "other"


def summary(folder):
    """The corpus's counts, as the tables of its README."""
    rows = collections.defaultdict(collections.Counter)
    systems = collections.defaultdict(collections.Counter)
    repositories = set()
    errors_told = 0
    names = sorted(n for n in os.listdir(folder) if n.endswith(".case"))
    for name in names:
        fields, log = read_case(os.path.join(folder, name))
        lines = log_lines(log)
        error = first_error(lines)
        if not error:
            print("%s: no error with an l.N line" % name)
            continue
        repositories.add(fields["repository"][0])
        errors_told += len(fields["error"])
        error_file = fields["error"][0].split(b" ", 1)[1]
        for row in (fields["engine"][0].decode(), "all"):
            rows[row]["logs"] += 1
            rows[row]["-file-line-error"] += is_file_line_error(lines[error[0]])
            rows[row]["error in an included file"] += error_file != posixpath.basename(
                slashed(strip_dot(fields["document"][0])))
            rows[row]["document named by its full path"] += is_absolute(fields["document"][0])
        systems[system_of(log)][distribution_of(log)] += 1
    logs = sum(rows[r]["logs"] for r in rows if r != "all")
    print("%d logs from %d repositories, %d errors with their truth (%d after the first of a log)\n" % (
        logs, len(repositories), errors_told, errors_told - logs))
    columns = ["logs", "-file-line-error", "error in an included file", "document named by its full path"]
    print("| engine | " + " | ".join(columns) + " |")
    print("|---|" + "---:|" * len(columns))
    for row in sorted(rows, key=lambda r: (r == "all", -rows[r]["logs"])):
        print("| %s | " % row + " | ".join(str(rows[row][column]) for column in columns) + " |")
    distributions = ["TeX Live", "MiKTeX", "W32TeX", "other"]
    print("\n| system | " + " | ".join(distributions) + " |")
    print("|---|" + "---:|" * len(distributions))
    for system in sorted(systems, key=lambda s: -sum(systems[s].values())):
        print("| %s | " % system + " | ".join(str(systems[system][d]) for d in distributions) + " |")


def list_sources(folder):
    """One line a case: its repository, commit and log, from which --rebuild makes it again."""
    for name in sorted(n for n in os.listdir(folder) if n.endswith(".case")):
        fields, _ = read_case(os.path.join(folder, name))
        print(" ".join(fields[key][0].decode() for key in ("repository", "commit", "log")))


def rebuild(sources, mirrors, out):
    made = refused = 0
    for line in open(sources, encoding="utf-8"):
        if not line.strip() or line.startswith("#"):
            continue
        repository, commit_id, log_path = line.rstrip("\n").split(" ", 2)
        folder = os.path.join(mirrors, repository.replace("/", "+"), "repo")
        git_dir = os.path.join(folder, ".git") if os.path.isdir(os.path.join(folder, ".git")) else folder
        try:
            print("made", write_case(git_dir, commit_id, log_path, out))
            made += 1
        except (Refused, subprocess.CalledProcessError, OSError) as refusal:
            print("refused %s %s %s: %s" % (repository, commit_id[:7], log_path, refusal))
            refused += 1
    print("%d cases made, %d refused" % (made, refused))
    print_left_out()


def print_left_out():
    if LEFT_OUT:
        print("later errors left out, %d:" % sum(LEFT_OUT.values()))
    for reason, count in sorted(LEFT_OUT.items(), key=lambda item: -item[1]):
        print("%6d  %s" % (count, reason))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("args", nargs="*")
    parser.add_argument("--out", default="tests/real-logs")
    parser.add_argument("--scan", action="store_true")
    parser.add_argument("--summary", action="store_true")
    parser.add_argument("--most", type=int, default=8, help="cases a repository at the most, with --scan")
    parser.add_argument("--sources", action="store_true")
    parser.add_argument("--rebuild", metavar="SOURCES")
    parser.add_argument("--mirrors", help="with --rebuild: the folder of DIR/owner+name/repo")
    options = parser.parse_args()
    if options.rebuild:
        if not options.mirrors:
            parser.error("--rebuild needs --mirrors DIR")
        rebuild(options.rebuild, options.mirrors, options.out)
    elif options.sources:
        list_sources(options.args[0] if options.args else options.out)
    elif options.summary:
        summary(options.args[0] if options.args else options.out)
    elif options.scan:
        for git_dir in options.args:
            scan(git_dir, options.out, options.most)
    elif len(options.args) == 3:
        try:
            print(write_case(*options.args, options.out))
        except Refused as refusal:
            sys.exit("refused: %s" % refusal)
    else:
        parser.error("give MIRROR COMMIT LOG, --scan MIRROR..., or --summary FOLDER")


if __name__ == "__main__":
    main()
