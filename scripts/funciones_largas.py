#!/usr/bin/python3
"""Lists the C++ functions longer than a limit, and the files' lengths.

Usage: scripts/funciones_largas.py [--limite N] FICHERO_O_CARPETA...

A function runs from the first line of its declaration to its closing brace; lambdas and
local classes count as part of the function that holds them. The braces are counted after
removing comments, strings and character literals, so the count needs no compiler.
"""
import argparse
import pathlib
import re
import sys

_TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|'
                    r"'(?:\\.|[^'\\\n])*'", re.S)
_NO_FUNCION = re.compile(r'^\s*(?:template\s*<.*>\s*)?(?:namespace|class|struct|union|enum)\b'
                         r'|=\s*$|^\s*extern\s*"', re.S)
_CONTROL = re.compile(r'\b(?:if|for|while|switch|catch)\s*\($')


def _blanquear(texto):
    """The text with comments and literals turned into blanks, line breaks kept."""
    return _TOKEN.sub(lambda m: re.sub(r'[^\n]', ' ', m.group(0)), texto)


def Funciones(texto):
    """(name, first line, last line) of each function defined outside another function."""
    codigo = _blanquear(texto)
    codigo = re.sub(r'^\s*#[^\n]*(?:\\\n[^\n]*)*', lambda m: re.sub(r'[^\n]', ' ', m.group(0)),
                    codigo, flags=re.M)
    pila = []          # per open brace: None, or (name, first line) for a function body
    inicio = 0         # where the text before the next brace begins
    funciones = []
    for pos, c in enumerate(codigo):
        if c == ';' and not any(pila):
            inicio = pos + 1
        elif c == '{':
            antes = codigo[inicio:pos]
            funcion = None
            if not any(pila) and ')' in antes and not _NO_FUNCION.search(antes):
                cabeza = antes[:antes.find('(')].rstrip()
                if not _CONTROL.search(cabeza + '('):
                    nombre = re.findall(r'[~\w:]+|operator\W+', cabeza)
                    primera = inicio + len(antes) - len(antes.lstrip())
                    funcion = (nombre[-1] if nombre else '?', codigo.count('\n', 0, primera) + 1)
            pila.append(funcion)
            inicio = pos + 1
        elif c == '}':
            funcion = pila.pop() if pila else None
            if funcion:
                funciones.append((funcion[0], funcion[1], codigo.count('\n', 0, pos) + 1))
            if not any(pila):
                inicio = pos + 1
    return funciones


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument('--limite', type=int, default=60, help='longest function allowed (lines)')
    p.add_argument('rutas', nargs='+')
    a = p.parse_args()
    ficheros = []
    for r in map(pathlib.Path, a.rutas):
        ficheros += sorted(r.glob('*.[ch]*')) if r.is_dir() else [r]
    largas = 0
    for f in ficheros:
        if f.suffix not in ('.h', '.cpp', '.hpp', '.cc'):
            continue
        texto = f.read_text(encoding='utf-8')
        print(f'{f}: {texto.count(chr(10))} lines')
        for nombre, desde, hasta in Funciones(texto):
            if hasta - desde + 1 > a.limite:
                largas += 1
                print(f'  {nombre} ({desde}-{hasta}): {hasta - desde + 1} lines')
    print(f'{largas} functions over {a.limite} lines')
    return 1 if largas else 0


if __name__ == '__main__':
    sys.exit(main())
