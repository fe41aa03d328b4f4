#!/usr/bin/env python3
"""Copies a UTF-8 source with the non-ASCII characters of its plain narrow
literals as octal escapes of their GBK bytes ("鼠" becomes "\\312\\363"), so
that clang, which has no -fexec-charset=GBK, compiles the bytes g++ does.
Usage: gbk_escape.py INPUT OUTPUT; exits 1 on bad input or a non-GBK character.
"""
import pathlib
import re
import sys

# Comments; raw strings; string and character literals (a literal also ends
# at the end of its line); numbers, whose quotes are digit separators;
# identifiers, which may prefix a literal; anything else, one character.
TOKEN = re.compile(
    r"""(?P<comment>//[^\n]*|/\*.*?(?:\*/|\Z))
      | (?P<raw>(?P<rawprefix>(?:u8|u|U|L)?)R"(?P<delim>[^(]*)\(.*?(?:\)(?P=delim)"|\Z))
      | (?P<prefix>(?:u8|u|U|L)?)(?P<literal>(?P<quote>["'])(?:\\.|(?!(?P=quote))[^\\\n])*(?P=quote)?)
      | [0-9](?:[\w.]|'(?=\w))*
      | \w+
      | .""",
    re.S | re.X,
)


def escape(text, path):
    out = []
    for token in TOKEN.finditer(text):
        whole = token.group(0)
        if token.group("raw") and not token.group("rawprefix") and not whole.isascii():
            sys.exit(f"{path}: non-ASCII text in a narrow raw string")
        if not token.group("literal") or token.group("prefix"):
            out.append(whole)
            continue
        for c in whole:
            try:
                out.append(c if c.isascii() else "".join(f"\\{b:03o}" for b in c.encode("gbk")))
            except UnicodeEncodeError:
                sys.exit(f"{path}: character with no GBK form: {c}")
    return "".join(out)


def main():
    source, copy = sys.argv[1:]
    try:
        text = pathlib.Path(source).read_bytes().decode("utf-8")
    except (OSError, UnicodeDecodeError) as error:
        sys.exit(f"{source}: {error}")
    pathlib.Path(copy).write_text(escape(text, source), encoding="utf-8", newline="")


if __name__ == "__main__":
    main()
