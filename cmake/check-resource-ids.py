#!/usr/bin/env python3
# Resource ids are unique in each program. The resource compiler keeps one of two resources of one type,
# name and language with no more than a warning (two strings of one id without even that), and the
# linker merges the compiled scripts of a program with a message but no error: either way the program
# would ship whichever copy won. The build compiles and links through this script, which fails instead.
#
#   check-resource-ids.py compile --cc CC -- RESOURCE-COMPILER-COMMAND...
#       reads the script the command compiles (its -I and -D as the compiler takes them) for a resource
#       given twice, then runs the command and fails on its "duplicate" warnings;
#   check-resource-ids.py link -- LINKER-COMMAND...
#       runs the command and fails when it could not merge the resources of two of the program's scripts;
#   check-resource-ids.py scan [--cc CC] [-I DIR] [-D NAME] SCRIPT...
#       reads the scripts as those of one program.
#
# A script is run through the C preprocessor as the resource compiler runs it and its statements are
# read back: named resources, string table entries, and whether it has icons or cursors, whose pictures
# every script numbers from 1.
import os
import re
import shlex
import subprocess
import sys

# Type keywords of the resource language and their numeric types.
TYPE_KEYWORDS = {
    "CURSOR": 12, "BITMAP": 2, "ICON": 14, "MENU": 4, "MENUEX": 4, "DIALOG": 5, "DIALOGEX": 5,
    "FONT": 8, "ACCELERATORS": 9, "RCDATA": 10, "MESSAGETABLE": 11, "VERSIONINFO": 16,
    "DLGINCLUDE": 17, "PLUGPLAY": 19, "VXD": 20, "ANICURSOR": 21, "ANIICON": 22, "HTML": 23,
}
TYPE_NAMES = {1: "CURSOR image", 2: "BITMAP", 3: "ICON image", 4: "MENU", 5: "DIALOG", 6: "STRING",
              8: "FONT", 9: "ACCELERATORS", 10: "RCDATA", 11: "MESSAGETABLE", 12: "CURSOR", 14: "ICON",
              16: "VERSIONINFO", 23: "HTML", 24: "MANIFEST", 240: "DLGINIT", 241: "TOOLBAR"}
# Statements whose body is always a block.
BLOCK_TYPES = {"MENU", "MENUEX", "DIALOG", "DIALOGEX", "ACCELERATORS", "VERSIONINFO"}
MEMORY_OPTIONS = {"PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE", "DISCARDABLE", "PURE", "IMPURE", "SHARED",
                  "NONSHARED"}
DEFAULT_LANGUAGE = 0x409
SCRIPT_SUFFIXES = (".rc", ".rc2", ".dlg")
TOKEN = re.compile(r'\s+|(L?"(?:[^"\\]|\\.|"")*")|(0[xX][0-9a-fA-F]+[uUlL]*|\d+[uUlL]*)|([A-Za-z_][\w.]*)|(.)',
                   re.S)


class Token:
    def __init__(self, text, kind, where):
        self.text, self.kind, self.where = text, kind, where

    def upper(self):
        return self.text.upper() if self.kind == "word" else None


def tokens_of(text):
    """Tokens of the scripts' lines of preprocessed text, each with the script and line it came from."""
    result = []
    where_file, where_line = "?", 0
    for line in text.split("\n"):
        marker = re.match(r'#\s*(?:line\s+)?(\d+)\s+"((?:[^"\\]|\\.)*)"', line)
        if marker:
            where_line, where_file = int(marker.group(1)) - 1, marker.group(2).replace("\\\\", "\\")
            continue
        where_line += 1
        # Headers give ids and, through the system's headers, C declarations; resources are made by the
        # statements of the scripts themselves.
        if line.lstrip().startswith("#") or not where_file.lower().endswith(SCRIPT_SUFFIXES):
            continue
        for m in TOKEN.finditer(line):
            if m.group(1):
                result.append(Token(m.group(1), "string", (where_file, where_line)))
            elif m.group(2):
                result.append(Token(m.group(2), "number", (where_file, where_line)))
            elif m.group(3):
                result.append(Token(m.group(3), "word", (where_file, where_line)))
            elif m.group(4):
                result.append(Token(m.group(4), "punct", (where_file, where_line)))
    return result


def evaluate(parts):
    """The value of a numeric expression of the resource language (as 16 bits), or None."""
    text = " ".join(re.sub(r"[uUlL]+$", "", t.text) if t.kind == "number" else t.text for t in parts)
    if not text or not re.fullmatch(r"[\s0-9a-fA-FxX()+\-*/|&~^<>]*", text):
        return None
    try:
        return int(eval(text.replace("/", "//"), {"__builtins__": {}})) & 0xFFFF
    except Exception:  # noqa: BLE001 - any expression the language allows but Python does not
        return None


class Scanner:
    def __init__(self, tokens):
        self.tokens, self.pos = tokens, 0

    def peek(self, offset=0):
        i = self.pos + offset
        return self.tokens[i] if i < len(self.tokens) else None

    def next(self):
        token = self.peek()
        self.pos += 1
        return token

    def at_block_start(self):
        token = self.peek()
        return token is not None and (token.upper() == "BEGIN" or token.text == "{")

    def skip_block(self):
        depth = 0
        while self.peek() is not None:
            token = self.next()
            if token.upper() == "BEGIN" or token.text == "{":
                depth += 1
            elif token.upper() == "END" or token.text == "}":
                depth -= 1
                if depth == 0:
                    return

    def skip_to_block(self):
        while self.peek() is not None and not self.at_block_start():
            self.next()
        self.skip_block()

    def expression_until_comma(self):
        parts = []
        while self.peek() is not None and self.peek().text != ",":
            parts.append(self.next())
        if self.peek() is not None:
            self.next()
        return parts


def name_of(scanner):
    """A resource name: a number, a parenthesised expression, a word or a string."""
    token = scanner.next()
    if token.text == "(":
        parts, depth = [token], 1
        while scanner.peek() is not None and depth > 0:
            part = scanner.next()
            depth += part.text == "("
            depth -= part.text == ")"
            parts.append(part)
        return evaluate(parts), token
    if token.kind == "number":
        return evaluate([token]), token
    if token.kind == "string":
        return token.text.lstrip("L").strip('"').upper(), token
    return token.text.upper(), token


def language_of(scanner, current):
    """The language of a LANGUAGE statement (primary, sub-language), or the current one."""
    primary = evaluate(scanner.expression_until_comma())
    sub, _ = name_of(scanner)
    if not isinstance(primary, int) or not isinstance(sub, int):
        return current
    return (sub << 10) | primary


def resources_of(tokens):
    """(type, name, language, where) of every resource the statements make, and whether the script
    makes icon or cursor pictures."""
    found, pictures = [], False
    scanner = Scanner(tokens)
    language = DEFAULT_LANGUAGE
    while scanner.peek() is not None:
        head = scanner.peek()
        word = head.upper()
        if word == "LANGUAGE":
            scanner.next()
            language = language_of(scanner, language)
            continue
        if word == "STRINGTABLE":
            scanner.next()
            table_language = language
            while scanner.peek() is not None and not scanner.at_block_start():
                option = scanner.next()
                if option.upper() == "LANGUAGE":
                    table_language = language_of(scanner, table_language)
            scanner.next()
            while scanner.peek() is not None:
                token = scanner.peek()
                if token.upper() == "END" or token.text == "}":
                    scanner.next()
                    break
                parts = []
                while scanner.peek() is not None and scanner.peek().kind != "string":
                    parts.append(scanner.next())
                if parts and parts[-1].text == ",":
                    parts.pop()
                value = evaluate(parts)
                where = parts[0].where if parts else token.where
                if value is None:
                    raise ValueError(f"{where[0]}:{where[1]}: string id not understood")
                found.append((6, value, table_language, where))
                while scanner.peek() is not None and scanner.peek().kind == "string":
                    scanner.next()
            continue
        name, name_token = name_of(scanner)
        type_token = scanner.next()
        if type_token is None:
            break
        type_word = type_token.upper()
        if type_token.kind == "number" or type_token.text == "(":
            if type_token.text == "(":
                scanner.pos -= 1
                resource_type, _ = name_of(scanner)
            else:
                resource_type = evaluate([type_token])
        elif type_word in TYPE_KEYWORDS:
            resource_type = TYPE_KEYWORDS[type_word]
        else:
            resource_type = type_token.text.strip('"').upper()
        if name is None or resource_type is None:
            raise ValueError(f"{name_token.where[0]}:{name_token.where[1]}: resource statement not understood")
        found.append((resource_type, name, language, name_token.where))
        if type_word in ("ICON", "CURSOR"):
            pictures = True
        if type_word in BLOCK_TYPES:
            scanner.skip_to_block()
            continue
        while scanner.peek() is not None:
            if scanner.at_block_start():
                scanner.skip_block()
                break
            token = scanner.next()
            if token.kind == "string":
                break
            if token.upper() in MEMORY_OPTIONS:
                continue
    return found, pictures


def preprocess(compiler, script, includes, defines):
    command = shlex.split(compiler) + ["-E", "-xc", "-DRC_INVOKED"]
    command += ["-I" + d for d in includes] + ["-D" + d for d in defines] + [script]
    done = subprocess.run(command, capture_output=True, text=True, encoding="utf-8", errors="replace")
    if done.returncode != 0:
        raise ValueError(f"{script}: the preprocessor failed:\n{done.stderr}")
    return done.stdout


def describe(resource_type, name, language):
    kind = TYPE_NAMES.get(resource_type, str(resource_type))
    text = f"{kind} {name}"
    return text if language == DEFAULT_LANGUAGE else f"{text} (language 0x{language:x})"


def problems_of(compiler, scripts, includes, defines):
    """What is given twice among the scripts of one program, as messages."""
    seen, problems, picture_scripts = {}, [], []
    for script in scripts:
        found, pictures = resources_of(tokens_of(preprocess(compiler, script, includes, defines)))
        if pictures:
            picture_scripts.append(script)
        for resource_type, name, language, where in found:
            key = (resource_type, name, language)
            if key in seen:
                first = seen[key]
                problems.append(f"{where[0]}:{where[1]}: {describe(*key)} is given again "
                                f"(first at {first[0]}:{first[1]})")
            else:
                seen[key] = where
    if len(picture_scripts) > 1:
        problems.append(f"icons or cursors in more than one script ({', '.join(picture_scripts)}): each "
                        "numbers its pictures from 1, so a program linked from them keeps one of each number")
    return problems


def options_of(argv):
    """Include directories, definitions and the other arguments of a compiler-style command line."""
    includes, defines, rest = [], [], []
    i = 0
    while i < len(argv):
        arg = argv[i]
        for short, long, target in (("-I", "--include-dir", includes), ("-D", "--define", defines)):
            if arg in (short, long) and i + 1 < len(argv):
                target.append(argv[i + 1])
                i += 1
                break
            if arg.startswith(long + "="):
                target.append(arg[len(long) + 1:])
                break
            if arg.startswith(short) and len(arg) > 2:
                target.append(arg[2:])
                break
        else:
            rest.append(arg)
        i += 1
    return includes, defines, rest


def run_reporting(command, fatal_pattern, why):
    """Runs the command with its messages passed on; fails when they match the pattern, and then removes
    what the command wrote (its -o or last argument), so that nothing is left to run by mistake."""
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    sys.stdout.buffer.write(done.stdout)
    sys.stderr.buffer.write(done.stderr)
    messages = (done.stdout + done.stderr).decode("utf-8", "replace")
    if re.search(fatal_pattern, messages, re.I):
        print(f"error: {why}", file=sys.stderr)
        output = command[command.index("-o") + 1] if "-o" in command[:-1] else command[-1]
        if os.path.isfile(output):
            os.remove(output)
        return 1
    return done.returncode


def split_at_dashes(argv):
    if "--" not in argv:
        raise ValueError("the command to run follows --")
    i = argv.index("--")
    return argv[:i], argv[i + 1:]


def main(argv):
    if len(argv) < 2 or argv[1] not in ("compile", "link", "scan"):
        print("usage: check-resource-ids.py compile|link|scan ...", file=sys.stderr)
        return 2
    mode = argv[1]
    try:
        if mode == "link":
            _, command = split_at_dashes(argv[2:])
            return run_reporting(command, r"\.rsrc merge failure",
                                 "two resource scripts of this program give a resource of the same type, "
                                 "name and language")
        if mode == "compile":
            own, command = split_at_dashes(argv[2:])
            compiler = own[own.index("--cc") + 1] if "--cc" in own else os.environ.get("CC", "gcc")
            includes, defines, rest = options_of(command[1:])
            scripts = [a for a in rest if a.lower().endswith(SCRIPT_SUFFIXES)]
            problems = problems_of(compiler, scripts, includes, defines)
            for problem in problems:
                print(f"error: {problem}", file=sys.stderr)
            if problems:
                return 1
            return run_reporting(command, r"duplicate", "the resource compiler found a resource given twice")
        own = argv[2:]
        compiler = own[own.index("--cc") + 1] if "--cc" in own else os.environ.get("CC", "gcc")
        if "--cc" in own:
            del own[own.index("--cc"):own.index("--cc") + 2]
        includes, defines, scripts = options_of(own)
        problems = problems_of(compiler, scripts, includes, defines)
        for problem in problems:
            print(f"error: {problem}", file=sys.stderr)
        return 1 if problems else 0
    except ValueError as error:
        print(f"error: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
