#!/usr/bin/env python3
"""Every message the windows can show is in the user guides.

Reads the sources of the manager's windows, the manager's rules, the
designer, the report engine and the platform layer, takes each string
literal that feeds a message (a message box, an exception, a function that
words a message), and looks for each piece of it (the text between two
values put in, or two line breaks) in the guides' source text: the guide of
the window for a window's own file, any guide for shared code. A piece
found nowhere must be in guide_messages_exempt.txt beside this script, or
the check fails naming the file and the piece.

Usage: guide_messages_check.py SOURCE_DIR
"""
import glob
import os
import re
import sys

# The guide that describes each window's messages; shared code (the rules,
# the engine, the platform layer, and manager/fenetres.cpp, which words the
# questions every window asks) may be described in any guide.
GUIDE_OF = {'manager/%s.cpp' % f: guide for guide, files in {
    'Saison': 'vorn_pr vorn_saison calendar apropos',
    'Joueurs': 'vorn_imp vorn_edition edition_joueurs',
    'Mcf': 'mcf_poule',
    'Challenge': 'gestion challenge resultat_paires resultat_quatre attrib repart',
    'Convocations': 'quatre_webweb panneau_liste vorn_fvorn',
}.items() for f in files.split()}
SOURCES = ('manager', 'designer', 'report', 'platform')

# A call whose arguments are a message: the message boxes, an exception
# being made, or a function that words a message.
CALL = re.compile(r'\b(MessageDlg\w*|ShowMessage|MessageBox|InputBox|InputQuery|E[A-Z][A-Za-z]*'
                  r'|[Tt]exte[A-Z]\w*|\w*[Mm]essage[A-Z]?\w*|[Dd]ire[A-Z]\w*)\s*\(')
# A function that words a message: its whole body.
DEFINITION = re.compile(r'\bQString\s+(?:\w+::)*([Tt]exte[A-Z]\w*|\w*[Mm]essage\w*|\w*Caption|[Dd]ire[A-Z]\w*)\s*'
                        r'\([^;{}]*\)\s*(?:const\s*)?\{')
LITERALS = re.compile(r'"((?:[^"\\\n]|\\.)*)"(?:\s*"((?:[^"\\\n]|\\.)*)")*')
ONE_LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
STRING_ID = re.compile(r'frLoadString\s*\(\s*(\d+)\s*\)')


def enclosed(src, start, opening, closing):
    """The text from src[start] (an opening bracket) to its closing one."""
    depth, i, in_string = 0, start, False
    while i < len(src):
        c = src[i]
        if in_string:
            if c == '\\':
                i += 2
                continue
            if c == '"':
                in_string = False
        elif c == '"':
            in_string = True
        elif c == opening:
            depth += 1
        elif c == closing:
            depth -= 1
            if depth == 0:
                return src[start:i + 1]
        i += 1
    return src[start:]


def unescape(s):
    return (s.replace('\\n', '\n').replace('\\r', '\n').replace('\\t', ' ')
            .replace("\\'", "'").replace('\\"', '"').replace('\\\\', '\\'))


def pieces(text):
    """The pieces of a message's wording: between values put in and line
    breaks, without the punctuation around them; a piece of one word says
    nothing on its own."""
    for s in text:
        for p in re.split(r'%\d|%[sdx]|\n', s):
            p = p.strip(' .:,;!?()«»\'\t')
            if ' ' in p and len(re.findall(r'[A-Za-zÀ-ÿ]{2,}', p)) >= 2:
                yield p


def normal(text):
    text = text.replace('\u00a0', ' ').replace('\u202f', ' ').replace('\u2019', "'")
    text = text.replace('**', '').replace('\\*', '*')
    return re.sub(r'\s+', ' ', text).strip()


def strings_table(root):
    table = {}
    with open(os.path.join(root, 'resources/report_strings.txt'), encoding='utf-8') as f:
        for line in f:
            if '=' in line and not line.startswith('#'):
                key, value = line.rstrip('\n').split('=', 1)
                table[key.strip()] = unescape(value)
    return table


def messages_of(path, table):
    with open(path, encoding='utf-8') as f:
        src = f.read()
    src = re.sub(r'/\*.*?\*/', '', src, flags=re.S)
    src = re.sub(r'(?m)^\s*//.*$|(?<=[;{}),])\s*//[^\n"]*$', '', src)
    spans = [enclosed(src, m.end() - 1, '(', ')') for m in CALL.finditer(src)]
    spans += [enclosed(src, m.end() - 1, '{', '}') for m in DEFINITION.finditer(src)]
    found = []
    for span in spans:
        texts = [unescape(''.join(ONE_LITERAL.findall(m.group(0))))
                 for m in LITERALS.finditer(span)]
        texts += [table[i] for i in STRING_ID.findall(span) if i in table]
        for p in pieces(texts):
            if p not in found:
                found.append(p)
    return found


def main():
    root = sys.argv[1]
    here = os.path.dirname(os.path.abspath(__file__))
    guides = {}
    for md in glob.glob(os.path.join(root, 'resources/help/*.md')):
        with open(md, encoding='utf-8') as f:
            guides[os.path.splitext(os.path.basename(md))[0]] = normal(f.read())
    everything = ' '.join(guides.values())
    with open(os.path.join(here, 'guide_messages_exempt.txt'), encoding='utf-8') as f:
        exempt = {line.rstrip('\n') for line in f if line.strip() and not line.startswith('#')}
    table = strings_table(root)
    missing, used = [], set()
    for folder in SOURCES:
        for path in sorted(glob.glob(os.path.join(root, folder, '**', '*.cpp'), recursive=True)):
            rel = os.path.relpath(path, root)
            guide = GUIDE_OF.get(rel)
            where = guides.get(guide, '') if guide else everything
            for p in messages_of(path, table):
                if normal(p) in where:
                    continue
                if p in exempt:
                    used.add(p)
                    continue
                missing.append('%s: « %s » is in no %s' %
                               (rel, p, (guide + '.md') if guide else 'guide'))
    stale = sorted(exempt - used)
    for line in missing:
        print(line)
    for p in stale:
        print('guide_messages_exempt.txt: « %s » is no longer needed there' % p)
    print('%d messages missing from the guides, %d exemptions no longer needed' %
          (len(missing), len(stale)))
    return 1 if missing or stale else 0


if __name__ == '__main__':
    sys.exit(main())
