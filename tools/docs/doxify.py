#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Turns the plain // comments of a header into Doxygen comments, in place.

- the first comment block after '#pragma once' becomes '/// @file' plus its text;
- a comment block directly above a declaration (no blank line between) becomes '///';
- a trailing '// text' after a member or enumerator becomes '///< text'.
Comments inside inline function bodies and comments followed by a blank line stay as they are.
"""
import re
import sys

SCOPE = re.compile(r'\b(class|struct|enum|namespace|union)\b')
TRAIL = re.compile(r'^(\s*[^"/\s][^"]*?[;,{]\s*)//(?!/)\s?(.*)$')


def convert(lines):
    out = list(lines)
    stack = []          # True for a scope brace, False for a function body
    i = 0
    n = len(lines)
    seen_pragma = False
    file_doc_done = False
    pending_scope = False
    while i < n:
        line = lines[i]
        s = line.strip()
        in_body = not all(stack)
        if s.startswith('//') and not s.startswith('///'):
            j = i
            while j < n and lines[j].strip().startswith('//') and not lines[j].strip().startswith('///'):
                j += 1
            nxt = lines[j].strip() if j < n else ''
            if seen_pragma and not file_doc_done and not stack:
                ind = re.match(r'\s*', lines[i]).group(0)
                out[i] = ind + '/// @file\n' + ind + '/// ' + re.sub(r'^//\s?', '', s) + '\n'
                for k in range(i + 1, j):
                    out[k] = re.sub(r'^(\s*)//', r'\1///', lines[k])
                file_doc_done = True
            elif (not in_body and nxt and not nxt.startswith('#') and nxt != '}' and nxt != '};'
                  and not re.match(r'(public|private|protected)\s*:', nxt)):
                for k in range(i, j):
                    out[k] = re.sub(r'^(\s*)//', r'\1///', lines[k])
            i = j
            continue
        if s.startswith('#pragma once'):
            seen_pragma = True
        elif s.startswith('#include') or (s and not s.startswith('#')):
            file_doc_done = True
        if s and not s.startswith('#') and not in_body:
            m = TRAIL.match(line.rstrip('\n'))
            if m and not m.group(1).rstrip().endswith('{'):
                out[i] = m.group(1) + '///< ' + m.group(2) + '\n'
        code = re.sub(r'//.*', '', re.sub(r'"(\\.|[^"\\])*"', '""', re.sub(r"'(\\.|[^'\\])*'", "''", line)))
        if SCOPE.search(code):
            pending_scope = True
        for ch in code:
            if ch == '{':
                stack.append(pending_scope)
                pending_scope = False
            elif ch == '}':
                if stack:
                    stack.pop()
            elif ch == ';':
                pending_scope = False
        i += 1
    return out


for path in sys.argv[1:]:
    with open(path, encoding='utf-8') as f:
        lines = f.readlines()
    new = convert(lines)
    if new != lines:
        with open(path, 'w', encoding='utf-8') as f:
            f.writelines(new)
