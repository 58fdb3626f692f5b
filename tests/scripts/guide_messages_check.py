#!/usr/bin/env python3
"""Every message the windows can show is in the user guides.

Reads the sources of the manager's windows, the manager's rules, the
designer, the report engine and the platform layer, takes each string
literal that feeds a message (a message box, Qt's own message box and its
texts, an exception being made or thrown, a function that words a message),
with the texts of the constants and variables such a call names (a message
held in a `const QString` before the box), and looks for each piece of it
(the text between two values put in, or two line breaks) in the guides'
source text: the guide of the window for a window's own file, any guide for
shared code. A piece found nowhere must be in guide_messages_exempt.txt
beside this script, or the check fails naming the file and the piece.

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
                  r'|[Tt]exte[A-Z]\w*|\w*[Mm]essage[A-Z]?\w*|[Dd]ire[A-Z]\w*'
                  r'|Exception|QMessageBox(?:::\w+)?|\w*(?:[Bb]ox|[Mm]sg)\w*(?:\.|->)set(?:Informative|Detailed)?Text'
                  r'|throw\s+(?:\w+::)*\w+)\s*\(')
# A function that words a message: its whole body.
DEFINITION = re.compile(r'\bQString\s+(?:\w+::)*([Tt]exte[A-Z]\w*|\w*[Mm]essage\w*|\w*Caption|[Dd]ire[A-Z]\w*)\s*'
                        r'\([^;{}]*\)\s*(?:const\s*)?\{')
LITERALS = re.compile(r'"((?:[^"\\\n]|\\.)*)"(?:\s*"((?:[^"\\\n]|\\.)*)")*')
ONE_LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
STRING_ID = re.compile(r'frLoadString\s*\(\s*(\d+)\s*\)')
# A text held under a name: a constant or variable of a string type, its
# initializer up to the end of the statement.
DECLARATION = re.compile(r'\b(?:QString|QLatin1String|QStringView|char|auto|std::string)\b'
                         r'\s*(?:const\b\s*)?\*?\s*(?:const\b\s*)?(\w+)\s*(?:\[\s*\])?\s*(?:=|\(|\{)')
IDENTIFIER = re.compile(r'\b[A-Za-z_]\w*\b')


def code(src, start=0):
    """Each position and character of src from start, outside string and
    character literals."""
    i, quote = start, None
    while i < len(src):
        c = src[i]
        if quote:
            if c == '\\':
                i += 2
                continue
            if c == quote:
                quote = None
        elif c in '"\'':
            quote = c
        else:
            yield i, c
        i += 1


def enclosed(src, start, opening, closing):
    """The text from src[start] (an opening bracket) to its closing one."""
    depth = 0
    for i, c in code(src, start):
        if c == opening:
            depth += 1
        elif c == closing:
            depth -= 1
            if depth == 0:
                return src[start:i + 1]
    return src[start:]


def statement(src, start):
    """The text from src[start] to the end of its statement."""
    depth = 0
    for i, c in code(src, start):
        if c in '({':
            depth += 1
        elif c in ')}':
            depth -= 1
            if depth < 0:
                return src[start:i]
        elif c == ';' and depth == 0:
            return src[start:i]
    return src[start:]


def blocks(src):
    """Each brace block's opening and closing positions."""
    found, stack = [], []
    for i, c in code(src):
        if c == '{':
            stack.append(i)
        elif c == '}' and stack:
            found.append((stack.pop(), i))
    return found


def named_texts(src):
    """Each name declared with texts in its initializer: where it can be
    seen (its block) and those texts."""
    named, spans = {}, blocks(src)
    for m in DECLARATION.finditer(src):
        texts = ONE_LITERAL.findall(statement(src, m.end()))
        if texts:
            inner = [b for b in spans if b[0] < m.start() < b[1]]
            scope = max(inner) if inner else (0, len(src))
            named.setdefault(m.group(1), []).append((scope, texts))
    return named


def visible(named, name, where):
    """The texts of the declarations of name seen from where."""
    return [t for (start, end), texts in named.get(name, [])
            if where is None or start <= where <= end for t in texts]


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


def source_text(path):
    with open(path, encoding='utf-8') as f:
        src = f.read()
    src = re.sub(r'/\*.*?\*/', '', src, flags=re.S)
    return re.sub(r'(?m)^\s*//.*$|(?<=[;{}),])\s*//[^\n"]*$', '', src)


def messages_of(path, table):
    src = source_text(path)
    header = os.path.splitext(path)[0] + '.h'
    shared = named_texts(source_text(header)) if os.path.exists(header) else {}
    named = named_texts(src)
    spans = [(m.start(), enclosed(src, m.end() - 1, '(', ')')) for m in CALL.finditer(src)]
    spans += [(m.start(), enclosed(src, m.end() - 1, '{', '}')) for m in DEFINITION.finditer(src)]
    found = []
    for where, span in spans:
        texts = [unescape(''.join(ONE_LITERAL.findall(m.group(0))))
                 for m in LITERALS.finditer(span)]
        for name in set(IDENTIFIER.findall(re.sub(r'"(?:[^"\\\n]|\\.)*"', '""', span))):
            texts += [unescape(t) for t in visible(named, name, where) + visible(shared, name, None)]
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
        paths = (glob.glob(os.path.join(root, folder, '**', '*.' + kind), recursive=True)
                 for kind in ('cpp', 'h'))
        for path in sorted(p for kind in paths for p in kind):
            rel = os.path.relpath(path, root)
            guide = GUIDE_OF.get(os.path.splitext(rel)[0] + '.cpp')
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
