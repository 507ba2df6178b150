#!/usr/bin/env python3
"""Makes and reads recorded runs of the real pLaTeX and upLaTeX.

Each run is a small generated document with exactly one error at a known file
and line, compiled in a fresh folder the way Velumo compiles it (the document's
folder as the current folder, "R" and Ctrl-Z on standard input), with the
console output kept byte for byte.  The runs are test data for the reader that
finds the file and line TeX was reading when it stopped.

    make_tex_runs.py --seed S --count N --out tests/tex-runs
    make_tex_runs.py --check tests/tex-runs
    make_tex_runs.py --show tests/tex-runs/platex-1007.run

Only the standard library is used.
"""

import argparse
import collections
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

RUN_MAGIC = b"velumo-tex-run 1"
TEX_TIMEOUT_SECONDS = 60

ENGINES = {
    "platex": {"encoding": "cp932", "class": "jarticle"},
    "uplatex": {"encoding": "utf-8", "class": "ujarticle"},
}

# Chapter names: (path, how it may be read).  "any" files may be read by
# \input or \include; \include cannot take a name with blanks.
CHAPTER_NAMES = [
    "第1章.tex",
    "第2章.tex",
    "chapters/第3章.tex",
    "付録Ａ.tex",
    "付録/付録Ｂ.tex",
    "fig(a).tex",
    "figs/fig(b).tex",
    "図表.tex",
    "intro.tex",
    "my notes.tex",
    "付録 C.tex",
    "parts/序論/はじめに.tex",
    "a_rather_long_folder_name_for_the_chapters/and_a_second_long_sub_folder/第4章.tex",
    "document_parts_kept_in_a_very_long_folder_name_indeed/fig(c) 図.tex",
]
# Names that have no Shift-JIS form: only upLaTeX runs use them.
UNICODE_ONLY_NAMES = ["café.tex", "𠮷野家.tex", "résumé/第5章.tex"]

JAPANESE_SENTENCES = [
    "日本語の文章がここに入ります。",
    "この節では手順（準備と実行）を説明する。",
    "計算の結果は表にまとめた (see Table 1)。",
    "ここで a) 準備 b) 実行 c) 確認 の三段階に分ける。",
    "組版の確認のために適当な文を並べておく。",
    "括弧の釣り合い (nested (round) brackets) を含む文。",
    "The quick brown fox jumps over the lazy dog (twice).",
    "文章の途中に英単語 TeX や LaTeX が混じることもある。",
]

SECTION_TITLES = ["はじめに", "準備", "方法 (概要)", "結果", "考察", "まとめ", "付録の説明"]


class SourceFile:
    def __init__(self, name, kind):
        self.name = name  # relative to the document folder, "/" separated
        self.kind = kind  # main, chapter, sty, bbl, defs
        self.lines = []
        self.no_final_newline = False

    def text(self):
        body = "\n".join(self.lines)
        return body if self.no_final_newline else body + "\n"


def tex_name(name):
    """The name as written in \\input and \\include: without its ".tex"."""
    return name[:-4] if name.endswith(".tex") else name


class Document:
    """A generated document: its files, where its error is, and how to run it."""

    def __init__(self, rng, engine):
        self.rng = rng
        self.engine = engine
        self.files = collections.OrderedDict()
        self.main = self.add(SourceFile("paper.tex", "main"))
        self.error_file = None
        self.error_line = 0
        self.error_kind = None
        self.twice = False
        self.labels = 0

    def add(self, source):
        self.files[source.name] = source
        return source

    def paragraph(self):
        rng = self.rng
        return [rng.choice(JAPANESE_SENTENCES) + rng.choice(JAPANESE_SENTENCES) for _ in range(rng.randint(1, 3))] + [""]

    def noise(self):
        """A piece of TeX's everyday console noise."""
        rng = self.rng
        kind = rng.randrange(16)
        if kind == 0:
            return ["\\parbox{2cm}{\\mbox{a) 準備 b) 実行 (open} c) 確認}", ""]
        if kind == 1:
            run = "".join(chr(ord("a") + i % 26) + ")" for i in range(rng.randint(25, 90)))
            return ["\\noindent\\parbox{1cm}{" + run + "}", ""]
        if kind == 2:
            return ["本文 \\hbox to 3cm{(open 準備 1)y)(cb) and more text than fits} が続く。", ""]
        if kind == 3:
            return ["\\hbox to 6cm{a (b) c}", ""]
        if kind == 4:
            return ["\\vbox to 1cm{\\hrule height 2cm}", ""]
        if kind == 5:
            return ["図~\\ref{fig:nowhere} を参照 (page~\\pageref{sec:gone})。", ""]
        if kind == 6:
            return ["文献 \\cite{knuth84,nobody99} による。", ""]
        if kind == 7:
            self.labels += 1
            return ["\\label{dup}ラベル (again)。", ""]
        if kind == 8:
            return [rng.choice(["{\\ttfamily\\bfseries bold typewriter (tt)}",
                                "{\\sffamily\\scshape small caps sans}",
                                "{\\ttfamily\\itshape\\bfseries all at once}"]), ""]
        if kind == 9:
            return ["\\typeout{Checking (step " + str(rng.randint(1, 9)) + ") of (the (nested) run) done}"]
        if kind == 10:
            return ["\\message{(ok) [" + str(rng.randint(1, 99)) + "] (balanced)}"]
        if kind == 11:
            return ["word word word\\linebreak word", ""]
        if kind == 12:
            return ["\\clearpage"] + self.paragraph()
        if kind == 13:
            return ["\\newpage"]
        if kind == 14:
            return ["\\section{" + rng.choice(SECTION_TITLES) + "}"] + self.paragraph() * rng.randint(2, 8)
        return self.paragraph()

    def body(self, count):
        lines = []
        for _ in range(count):
            lines += self.noise()
        return lines


def choose_chapter_names(rng, engine, count):
    pool = list(CHAPTER_NAMES)
    if engine == "uplatex" and rng.random() < 0.12:
        pool = UNICODE_ONLY_NAMES[:1 + rng.randrange(len(UNICODE_ONLY_NAMES))] + rng.sample(pool, 3)
    rng.shuffle(pool)
    return pool[:count]


def build_document(rng, engine):
    doc = Document(rng, engine)
    main = doc.main
    extras = rng.randint(0, 5)
    want_sty = extras > 0 and rng.random() < 0.4
    want_bbl = extras - want_sty > 0 and rng.random() < 0.4
    want_defs = extras - want_sty - want_bbl > 0 and rng.random() < 0.3
    chapters = extras - want_sty - want_bbl - want_defs
    preamble = []
    if rng.random() < 0.3:
        preamble.append("\\listfiles")
    preamble.append("\\documentclass{" + ENGINES[engine]["class"] + "}")
    sty = bbl = None
    if want_sty:
        sty = doc.add(SourceFile(rng.choice(["mystyle.sty", "sty/velstyle.sty"]), "sty"))
        package = sty.name[:-len(".sty")]
        preamble.append("\\usepackage{" + package + "}")
        sty.lines = ["\\NeedsTeXFormat{pLaTeX2e}",
                     "\\ProvidesPackage{" + package.split("/")[-1] + "}[2024/04/01 v1.2 (our own) macros]",
                     "\\newcommand{\\kw}[1]{\\textbf{#1}}",
                     "\\typeout{" + package + ": loaded (with options)}",
                     "\\newcommand{\\note}[1]{（注：#1）}",
                     "\\setlength{\\parskip}{0.5zh}",
                     "\\endinput"]
    defs = None
    if want_defs:
        defs = doc.add(SourceFile("defs.tex", "defs"))
        defs.lines = ["\\typeout{defs (read)}", "\\providecommand{\\TODO}{(todo)}"]
        preamble += ["\\input{defs}", "\\input{defs}"]
    main.lines = preamble + ["\\begin{document}"] + doc.paragraph()
    names = choose_chapter_names(rng, engine, chapters)
    included = []  # (chapter, parent, index of its reading line in parent)
    for name in names:
        chapter = doc.add(SourceFile(name, "chapter"))
        chapter.lines = ["\\section{" + rng.choice(SECTION_TITLES) + "}"] + doc.paragraph()
        chapter.lines += doc.body(rng.randint(1, 5))
        nested_parents = [c for c, _, _ in included if c.kind == "chapter"]
        if nested_parents and rng.random() < 0.3:
            parent = rng.choice(nested_parents)
            position = rng.randint(1, len(parent.lines))
            parent.lines.insert(position, "\\input{" + tex_name(name) + "}")
            included = [(c, p, i + 1 if p is parent and i >= position else i) for c, p, i in included]
            included.append((chapter, parent, position))
            continue
        main.lines += doc.body(rng.randint(0, 2))
        use_include = " " not in name and rng.random() < 0.4
        main.lines.append(("\\include{" if use_include else "\\input{") + tex_name(name) + "}")
        included.append((chapter, main, len(main.lines) - 1))
    main.lines += doc.body(rng.randint(0, 3))
    if want_bbl:
        bbl = doc.add(SourceFile("paper.bbl", "bbl"))
        bbl.lines = ["\\begin{thebibliography}{9}",
                     "\\bibitem{knuth84} D.~E. Knuth (1984).",
                     "\\newblock \\emph{The \\TeX book} (Addison-Wesley).",
                     "\\bibitem{lamport94} L.~Lamport.",
                     "\\newblock \\emph{\\LaTeX: A Document Preparation System} (2nd ed.).",
                     "\\bibitem{okumura} 奥村晴彦.",
                     "\\newblock 『\\LaTeX 美文書作成入門』(技術評論社).",
                     "",
                     "\\end{thebibliography}"]
        main.lines += ["\\bibliographystyle{plain}", "\\bibliography{refs}"]
    elif rng.random() < 0.2:
        main.lines += ["\\begin{thebibliography}{9}", "\\bibitem{knuth84} D. Knuth (1984).", "\\end{thebibliography}"]
    main.lines.append("\\end{document}")
    if doc.labels == 1:
        main.lines.insert(main.lines.index("\\begin{document}") + 1, "\\label{dup}")
    doc.twice = rng.random() < 0.4
    place_error(doc, rng, sty, bbl, included)
    return doc


ERROR_LINES = {
    "undefined": ["本文の途中で \\undefinedmacro{引数} が来る。", "\\textbff{強調 (bold)}", "\\sectoin{誤字}",
                  "文 (a) の後に \\foo (b) と書く。"],
    "env-undefined": ["\\begin{theorm}定理\\end{theorm}", "\\begin{itemise}\\item 項目\\end{itemise}"],
    "begin-ended": ["\\begin{quote}引用 (quote)\\end{center}", "\\begin{center}中央\\end{flushright}"],
    "missing-dollar": ["式 a_b$ の値 (x) を求める。", "指数 x^2$ と書く。"],
    "extra-brace": ["文章}の途中 (brace)。", "word} word"],
    "missing-number": ["\\setcounter{footnote}{}", "\\addtocounter{page}{}"],
    "section-argument": ["\\section{導入 \\undefinedinsection{} (概要)}", "\\subsection{結果と \\reslt{1}}"],
}


def body_range(doc, source):
    """Where a body-level line may go: inside the document environment."""
    if source is doc.main:
        return doc.main.lines.index("\\begin{document}") + 1, doc.main.lines.index("\\end{document}")
    return 1, len(source.lines)


def place_error(doc, rng, sty, bbl, included):
    kinds = list(ERROR_LINES) + ["last-line", "after-chapter"]
    if sty:
        kinds += ["in-sty"] * 2
    if bbl:
        kinds += ["in-bbl"] * 2
    if included:
        kinds += ["after-chapter"] * 2
    else:
        kinds = [k for k in kinds if k not in ("last-line", "after-chapter")]
    kind = rng.choice(kinds)
    doc.error_kind = kind
    if kind == "in-sty":
        target, index = sty, rng.randint(2, len(sty.lines) - 1)
        target.lines.insert(index, rng.choice(["\\undefinedinsty", "\\newcommand{\\x}{a}\\undefinedinsty (b)"]))
    elif kind == "in-bbl":
        target, index = bbl, rng.randint(2, len(bbl.lines) - 2)
        target.lines.insert(index, "\\newblock \\undefinedinbbl{x} (1999).")
    elif kind == "last-line":
        target = rng.choice([c for c, _, _ in included])
        index = len(target.lines)
        target.lines.append(rng.choice(ERROR_LINES["undefined"] + ERROR_LINES["missing-dollar"]))
        target.no_final_newline = rng.random() < 0.3
    elif kind == "after-chapter":
        chapter, target, at = rng.choice(included)
        if rng.random() < 0.3:
            index = at
            target.lines[at] += "\\undefinedafter"
        else:
            index = at + 1
            target.lines.insert(index, rng.choice(ERROR_LINES["undefined"]))
    else:
        candidates = [doc.main] + [c for c, _, _ in included]
        target = rng.choice(candidates)
        low, high = body_range(doc, target)
        index = rng.randint(low, high)
        target.lines.insert(index, rng.choice(ERROR_LINES[kind]))
    doc.error_file = target
    doc.error_line = index + 1


# A Windows-looking installation: a folder of the document's folder whose one name holds
# blanks, parentheses and backslashes, with links to the parts of the real tree that a
# document reads, put first in TeX's search path.  TeX then prints the class and
# package names under that folder, as it found them.
WINDOWS_LOOKING_INSTALLATION = "Program Files (x86)\\MiKTeX\\tex"
INSTALLATION_FOLDERS = ["platex/base", "uplatex/base", "latex/base", "latex/l3backend"]


def link_installation(folder):
    tree = subprocess.run(["kpsewhich", "-var-value=TEXMFDIST"], stdout=subprocess.PIPE, check=True)
    tex = os.path.join(tree.stdout.decode().strip(), "tex")
    for part in INSTALLATION_FOLDERS:
        link = os.path.join(folder, WINDOWS_LOOKING_INSTALLATION, part)
        os.makedirs(os.path.dirname(link), exist_ok=True)
        os.symlink(os.path.join(tex, part), link)


class TexInstallation:
    """Runs the engines; pLaTeX uses a format made for Shift-JIS inside, as on Windows."""

    def __init__(self, work):
        self.work = work
        self.sjis_formats = os.path.join(work, "formats")

    def environment(self, engine, installation=None):
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.work}
        if installation:
            env["TEXINPUTS"] = "".join(installation + "/" + d + ":" for d in INSTALLATION_FOLDERS)
        if engine == "platex":
            # With a C locale and Shift-JIS as pTeX's kanji encoding, file names pass to the
            # file system and to the console as the Shift-JIS bytes, as the Windows engine has them.
            env.update(LANG="C", LC_ALL="C", PTEX_KANJI_ENC="sjis", TEXFORMATS=self.sjis_formats + ":")
        else:
            env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        return env

    def prepare(self):
        if os.path.exists(os.path.join(self.sjis_formats, "platex.fmt")):
            return
        os.makedirs(self.sjis_formats, exist_ok=True)
        command = ["eptex", "-ini", "-jobname=platex", "-progname=platex", "-kanji=sjis",
                   "-kanji-internal=sjis", "-etex", "platex.ini"]
        subprocess.run(command, cwd=self.sjis_formats, env=self.environment("platex"), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300, check=True)

    def command(self, engine, file_line_error, document):
        command = [engine, "-recorder", "-interaction=errorstopmode"]
        command += ["-kanji=sjis", "-kanji-internal=sjis"] if engine == "platex" else ["-kanji=utf8"]
        if file_line_error:
            command.append("-file-line-error")
        return command + [document]

    def compile(self, engine, file_line_error, folder, document, installation=None):
        result = subprocess.run(self.command(engine, file_line_error, document), cwd=folder,
                                env=self.environment(engine, installation), input=b"R\x1a", stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=TEX_TIMEOUT_SECONDS)
        return result.stdout


def write_document(doc, folder, encoding):
    for source in doc.files.values():
        raw_path = os.path.join(folder.encode(), source.name.encode(encoding))
        os.makedirs(os.path.dirname(raw_path), exist_ok=True)
        with open(raw_path, "wb") as f:
            f.write(source.text().encode(encoding))


def read_recorder(fls, folder):
    """The distinct files TeX read and wrote, from the recorder's INPUT and OUTPUT lines."""
    inputs, outputs = [], []
    with open(fls, "rb") as f:
        for line in f.read().split(b"\n"):
            verb, _, name = line.partition(b" ")
            if verb not in (b"INPUT", b"OUTPUT"):
                continue
            if name.startswith(folder + b"/"):
                name = name[len(folder) + 1:]
            while name.startswith(b"./"):
                name = name[2:]
            # kpathsea's configuration and the format are never printed by TeX.
            if name.endswith(b"texmf.cnf") or name.endswith(b".fmt"):
                continue
            target = inputs if verb == b"INPUT" else outputs
            if name not in target:
                target.append(name)
    return inputs, outputs


def logical_lines(output):
    """Console lines with TeX's wraps undone: a line of 78 or more bytes goes on in the next."""
    joined, current = [], b""
    for line in output.split(b"\n"):
        current += line
        if len(line) < 78:
            joined.append(current)
            current = b""
    joined.append(current)
    return joined


FILE_LINE_ERROR = re.compile(rb"^(\.?/.*?):(\d+): ")
CONTEXT_LINE = re.compile(rb"^l\.(\d+)[ \n]?")


def first_error(output):
    """(file or None, line from file:N:, line from l.N) of the first error in the output."""
    lines = logical_lines(output)
    for i, line in enumerate(lines):
        form = FILE_LINE_ERROR.match(line)
        if not line.startswith(b"!") and not form:
            continue
        context = None
        for after in lines[i + 1:i + 40]:
            match = CONTEXT_LINE.match(after)
            if match:
                context = int(match.group(1))
                break
        if form:
            return form.group(1), int(form.group(2)), context
        return None, None, context
    return None, None, None


def error_count(output):
    return sum(1 for line in logical_lines(output) if line.startswith(b"!") or FILE_LINE_ERROR.match(line))


def judge(run):
    """Why a run is thrown away, or None when TeX stopped where the error was put.

    A fresh run carries the output of a -file-line-error compile of the same document,
    whose file:N: line must name the file and line too; a run read back from disk is
    judged by its own output."""
    if not run["output"]:
        return "no output"
    name, line, context = first_error(run["output"])
    if context is None:
        return "no error context line"
    if context != run["error_line"]:
        return "l.N elsewhere than the error"
    confirmation = run.get("confirmation", run["output"] if run["file_line_error"] else None)
    if confirmation is not None:
        name, line, _ = first_error(confirmation)
        if line != run["error_line"]:
            return "file:N: elsewhere than the error"
        if name != b"./" + run["error_file"]:
            return "file:N: names another file"
    return None


def serialize(run):
    encoding = run["encoding"]
    out = [RUN_MAGIC + b"\n",
           b"engine " + run["engine"].encode() + b"\n",
           b"file-line-error " + (b"1" if run["file_line_error"] else b"0") + b"\n",
           b"encoding " + encoding.encode() + b"\n",
           b"document " + run["document"] + b"\n",
           b"error " + str(run["error_line"]).encode() + b" " + run["error_file"] + b"\n"]
    out += [b"input " + name + b"\n" for name in run["inputs"]]
    out += [b"made " + name + b"\n" for name in run["made"]]
    for name, data in run["files"]:
        out += [b"file " + str(len(data)).encode() + b" " + name + b"\n", data, b"\n"]
    out += [b"output " + str(len(run["output"])).encode() + b"\n", run["output"]]
    return b"".join(out)


def parse(data):
    """Reads one run back; raises ValueError on anything out of form."""
    run = {"inputs": [], "made": [], "files": []}
    position = 0

    def header():
        nonlocal position
        end = data.index(b"\n", position)
        line = data[position:end]
        position = end + 1
        return line

    if header() != RUN_MAGIC:
        raise ValueError("not a recorded TeX run")
    while True:
        line = header()
        word, _, rest = line.partition(b" ")
        if word == b"engine":
            run["engine"] = rest.decode()
        elif word == b"file-line-error":
            run["file_line_error"] = rest == b"1"
        elif word == b"encoding":
            run["encoding"] = rest.decode()
        elif word == b"document":
            run["document"] = rest
        elif word == b"error":
            number, _, name = rest.partition(b" ")
            run["error_line"], run["error_file"] = int(number), name
        elif word == b"input":
            run["inputs"].append(rest)
        elif word == b"made":
            run["made"].append(rest)
        elif word == b"file":
            length, _, name = rest.partition(b" ")
            length = int(length)
            contents = data[position:position + length]
            if data[position + length:position + length + 1] != b"\n":
                raise ValueError("file " + repr(name) + " is not followed by a line end")
            run["files"].append((name, contents))
            position += length + 1
        elif word == b"output":
            length = int(rest)
            run["output"] = data[position:position + length]
            if len(run["output"]) != length or position + length != len(data):
                raise ValueError("output length does not match the file")
            return run
        else:
            raise ValueError("unknown header " + repr(line))


def make_run(tex, engine, file_line_error, seed, work):
    rng = random.Random(seed)
    doc = build_document(rng, engine)
    encoding = ENGINES[engine]["encoding"]
    folder = os.path.join(work, "doc")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    write_document(doc, folder, encoding)
    installation = None
    if rng.random() < 0.15:
        installation = WINDOWS_LOOKING_INSTALLATION
        link_installation(folder)
    if doc.twice:
        tex.compile(engine, file_line_error, folder, "paper.tex", installation)
    output = tex.compile(engine, file_line_error, folder, "paper.tex", installation)
    inputs, made = read_recorder(os.path.join(folder, "paper.fls"), folder.encode())
    # Without -file-line-error the console tells only the line; the same document run
    # once more with it tells the file too, and the run is kept only if both agree.
    confirmation = output
    if not file_line_error:
        confirmation = tex.compile(engine, True, folder, "paper.tex", installation)
    return {
        "confirmation": confirmation,
        "engine": engine, "file_line_error": file_line_error, "encoding": encoding,
        "document": b"paper.tex", "error_line": doc.error_line, "error_file": doc.error_file.name.encode(encoding),
        "error_kind": doc.error_kind, "inputs": inputs, "made": made, "output": output,
        "files": [(s.name.encode(encoding), s.text().encode(encoding)) for s in doc.files.values()],
    }


def run_file_name(run, seed):
    return "%s-%d%s.run" % (run["engine"], seed, "-fle" if run["file_line_error"] else "")


def generate(seed, count, out):
    os.makedirs(out, exist_ok=True)
    work = tempfile.mkdtemp(prefix="velumo-tex-runs-")
    tex = TexInstallation(work)
    tex.prepare()
    kept = collections.Counter()
    thrown = collections.Counter()
    kinds = collections.Counter()
    cascades = 0
    attempt = 0
    try:
        while sum(kept.values()) < count and attempt < count * 3:
            engine = "platex" if attempt % 2 == 0 else "uplatex"
            file_line_error = (attempt // 2) % 3 == 0
            run_seed = seed + attempt
            attempt += 1
            try:
                run = make_run(tex, engine, file_line_error, run_seed, work)
            except subprocess.TimeoutExpired:
                thrown["timeout"] += 1
                continue
            reason = judge(run)
            if reason:
                thrown[reason + " (" + run["error_kind"] + ")"] += 1
                continue
            cascades += error_count(run["output"]) > 1
            kinds[run["error_kind"]] += 1
            kept[(engine, file_line_error)] += 1
            with open(os.path.join(out, run_file_name(run, run_seed)), "wb") as f:
                f.write(serialize(run))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("seeds %d..%d, %d runs kept" % (seed, seed + attempt - 1, sum(kept.values())))
    for (engine, file_line_error), n in sorted(kept.items()):
        print("  kept %-8s %-16s %d" % (engine, "-file-line-error" if file_line_error else "", n))
    for kind, n in sorted(kinds.items()):
        print("  error %-18s %d" % (kind, n))
    print("  kept runs where TeX reported more than one error: %d" % cascades)
    for reason, n in sorted(thrown.items()):
        print("  thrown away: %s: %d" % (reason, n))


def check(folder):
    counts = collections.Counter()
    problems = 0
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".run"):
            continue
        with open(os.path.join(folder, name), "rb") as f:
            try:
                run = parse(f.read())
            except ValueError as e:
                print("%s: %s" % (name, e))
                problems += 1
                continue
        reason = judge(run)
        if reason:
            print("%s: %s" % (name, reason))
            problems += 1
        counts[(run["engine"], run["file_line_error"])] += 1
    for (engine, file_line_error), n in sorted(counts.items()):
        print("%-8s %-16s %d" % (engine, "-file-line-error" if file_line_error else "", n))
    print("%d runs, %d with problems" % (sum(counts.values()), problems))
    return problems == 0


def show(path):
    with open(path, "rb") as f:
        run = parse(f.read())
    encoding = run["encoding"]
    print("engine %s, file-line-error %d, error at %s:%d" % (
        run["engine"], run["file_line_error"], run["error_file"].decode(encoding), run["error_line"]))
    for name, data in run["files"]:
        print("==== %s" % name.decode(encoding))
        print(data.decode(encoding, "replace"))
    print("==== console output")
    print(run["output"].decode(encoding, "replace"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=1000)
    parser.add_argument("--count", type=int, default=10)
    parser.add_argument("--out", default="tests/tex-runs")
    parser.add_argument("--check", metavar="FOLDER", help="re-read every run in FOLDER and print counts")
    parser.add_argument("--show", metavar="RUN", help="print one run's files and output, decoded")
    args = parser.parse_args()
    if args.check:
        return 0 if check(args.check) else 1
    if args.show:
        show(args.show)
        return 0
    generate(args.seed, args.count, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
