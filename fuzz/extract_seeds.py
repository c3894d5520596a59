#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: the bundled example cut into sections, the golden scripts and
expected rewrites of testdata/, and every script-like string literal of the project's tests (two
lines or more), one file each, named by content hash.

Usage: fuzz/extract_seeds.py [corpus folder]   (default: fuzz/corpus, emptied first)
"""
import hashlib
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAX_SEED_BYTES = 8192

LITERAL = re.compile(r'R"([^()\\ ]{0,16})\((.*?)\)\1"|"((?:[^"\\\n]|\\.)*)"', re.S)
ESCAPES = {'n': b'\n', 'r': b'\r', 't': b'\t', '\\': b'\\', '"': b'"', "'": b"'", '0': b'\0', '?': b'?'}


def decode(body):
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != '\\':
            out += c.encode('latin-1', 'replace')
            i += 1
            continue
        e = body[i + 1]
        if e == 'x':
            digits = re.match(r'[0-9A-Fa-f]+', body[i + 2:]).group(0)
            out.append(int(digits, 16) & 0xFF)
            i += 2 + len(digits)
        else:
            out += ESCAPES.get(e, e.encode('latin-1', 'replace'))
            i += 2
    return bytes(out)


def literals(source):
    """Yields each string literal, adjacent literals joined as the compiler joins them."""
    joined, last_end = None, None
    for match in LITERAL.finditer(source):
        raw, body = match.group(2), match.group(3)
        text = raw.encode('latin-1', 'replace') if raw is not None else decode(body)
        if joined is not None and source[last_end:match.start()].strip() == '':
            joined += text
        else:
            if joined is not None:
                yield joined
            joined = text
        last_end = match.end()
    if joined is not None:
        yield joined


def example_sections(example):
    """The example cut before every label line, so each seed starts a different region."""
    lines = example.splitlines(keepends=True)
    starts = [i for i, line in enumerate(lines) if re.match(rb'^[A-Z_0-9]+:\s*$', line)]
    for a, b in zip([0] + starts, starts + [len(lines)]):
        if b > a:
            yield b''.join(lines[a:b])


def main():
    corpus = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / 'fuzz' / 'corpus'
    corpus.mkdir(parents=True, exist_ok=True)
    for old in corpus.iterdir():
        old.unlink()
    example = (ROOT / 'examples' / 'sample_flight.apl').read_bytes()
    seeds = set(example_sections(example))
    for golden in sorted((ROOT / 'testdata').glob('*.apl')):
        text = golden.read_bytes()
        if len(text) <= MAX_SEED_BYTES:
            seeds.add(text)
    for test in sorted(ROOT.glob('**/*_test.cpp')):
        if 'build' in test.relative_to(ROOT).parts:
            continue
        for text in literals(test.read_text(encoding='latin-1')):
            if text.count(b'\n') >= 2 and len(text) <= MAX_SEED_BYTES:
                seeds.add(text)
    for seed in seeds:
        (corpus / hashlib.sha1(seed).hexdigest()[:16]).write_bytes(seed)
    print(f'{len(seeds)} seeds in {corpus}')


if __name__ == '__main__':
    main()
