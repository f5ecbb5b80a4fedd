#!/usr/bin/env python3
"""Turns a LibreOffice flat ODF text document into the line format that
tests/notes/tst_rtf.cpp compares the RTF reader's documents with.

One line per paragraph, then one line per run of equally formatted text:

    paragraph <left|centre|right|justify>
    run<TAB>family<TAB>size<TAB>flags<TAB>colour<TAB>background<TAB>text

flags are four characters, b i u s (bold, italic, underline, strike-out) or
'-'; colour is #rrggbb or auto, background #rrggbb or none; family is
"(default)" when the text has no font of its own. In text, a backslash is
written \\\\, a tab \\t and invisible characters \\uXXXX.

The document's model is ours, not ODF's: a table row becomes one paragraph
whose cells are separated by tabs, and footnotes, pictures and comments are
dropped (we do not keep them).
"""
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

NS = {
    'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
    'style': 'urn:oasis:names:tc:opendocument:xmlns:style:1.0',
    'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
    'table': 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
    'fo': 'urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0',
    'svg': 'urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0',
}


def q(name):
    prefix, local = name.split(':')
    return '{%s}%s' % (NS[prefix], local)


# Elements whose content is not part of our text.
DROPPED = {q('text:note'), q('office:annotation'), q('office:annotation-end'),
           q('text:tracked-changes'), q('text:sequence-decls'), q('text:soft-page-break'),
           q('text:bookmark'), q('text:bookmark-start'), q('text:bookmark-end')}
DROPPED_PREFIXES = ('{%s}' % 'urn:oasis:names:tc:opendocument:xmlns:drawing:1.0',)


def escape(text):
    out = []
    for ch in text:
        category = unicodedata.category(ch)
        if ch == '\\':
            out.append('\\\\')
        elif ch == '\t':
            out.append('\\t')
        elif ch == '\u2011' or category in ('Cc', 'Cf', 'Zl', 'Zp', 'Co', 'Cs') or (
                category == 'Zs' and ch != ' '):
            out.append('\\u%04x' % ord(ch))
        else:
            out.append(ch)
    return ''.join(out)


class Styles:
    def __init__(self, root):
        self.fonts = {}
        for face in root.iter(q('style:font-face')):
            family = face.get(q('svg:font-family'), face.get(q('style:name')))
            self.fonts[face.get(q('style:name'))] = family.strip("'\"")
        self.styles = {}  # (family, name) -> element
        self.defaults = {}
        for container in ('office:styles', 'office:automatic-styles'):
            for node in root.iter(q(container)):
                for style in node.findall(q('style:style')):
                    self.styles[(style.get(q('style:family')), style.get(q('style:name')))] = style
                for style in node.findall(q('style:default-style')):
                    self.defaults[style.get(q('style:family'))] = style

    def chain(self, family, name):
        """The style and its parents, root first."""
        result = []
        seen = set()
        while name and (family, name) not in seen:
            seen.add((family, name))
            style = self.styles.get((family, name))
            if style is None:
                break
            result.append(style)
            name = style.get(q('style:parent-style-name'))
        return list(reversed(result))

    def alignment(self, paragraph_style):
        align = 'left'
        levels = [self.defaults.get('paragraph')] + self.chain('paragraph', paragraph_style)
        for style in levels:
            if style is None:
                continue
            props = style.find(q('style:paragraph-properties'))
            if props is not None and props.get(q('fo:text-align')):
                value = props.get(q('fo:text-align'))
                align = {'start': 'left', 'left': 'left', 'center': 'centre', 'end': 'right',
                         'right': 'right', 'justify': 'justify'}.get(value, 'left')
        return align

    def run_format(self, paragraph_style, span_styles):
        fmt = {'family': '(default)', 'size': 12.0, 'b': False, 'i': False, 'u': False,
               's': False, 'colour': 'auto', 'background': 'none'}
        levels = [self.defaults.get('paragraph')]
        levels += self.chain('paragraph', paragraph_style)
        for span in span_styles:
            levels += self.chain('text', span)
        for depth, style in enumerate(levels):
            if style is None:
                continue
            props = style.find(q('style:text-properties'))
            if props is None:
                continue
            get = props.get
            if depth > 0 and get(q('style:font-name')):
                fmt['family'] = self.fonts.get(get(q('style:font-name')), get(q('style:font-name')))
            if depth > 0 and get(q('fo:font-family')):
                fmt['family'] = get(q('fo:font-family')).strip("'\"")
            size = get(q('fo:font-size'))
            if size:
                if size.endswith('pt'):
                    fmt['size'] = float(size[:-2])
                elif size.endswith('%'):
                    fmt['size'] = fmt['size'] * float(size[:-1]) / 100
            weight = get(q('fo:font-weight'))
            if weight:
                fmt['b'] = weight == 'bold' or (weight.isdigit() and int(weight) >= 600)
            if get(q('fo:font-style')):
                fmt['i'] = get(q('fo:font-style')) in ('italic', 'oblique')
            if get(q('style:text-underline-style')):
                fmt['u'] = get(q('style:text-underline-style')) != 'none'
            if get(q('style:text-line-through-style')):
                fmt['s'] = get(q('style:text-line-through-style')) != 'none'
            if get(q('style:use-window-font-color')) == 'true':
                fmt['colour'] = 'auto'
            elif get(q('fo:color')):
                fmt['colour'] = get(q('fo:color')).lower()
            if get(q('fo:background-color')):
                value = get(q('fo:background-color')).lower()
                fmt['background'] = 'none' if value == 'transparent' else value
        return fmt


def format_key(fmt):
    flags = ''.join(letter if fmt[letter] else '-' for letter in 'bius')
    size = ('%.1f' % fmt['size']).rstrip('0').rstrip('.')
    return '\t'.join([fmt['family'], size, flags, fmt['colour'], fmt['background']])


class Paragraph:
    def __init__(self, align):
        self.align = align
        self.runs = []  # [key, text]

    def add(self, key, text):
        if not text:
            return
        if self.runs and self.runs[-1][0] == key:
            self.runs[-1][1] += text
        else:
            self.runs.append([key, text])

    def lines(self):
        yield 'paragraph ' + self.align
        for key, text in self.runs:
            yield 'run\t%s\t%s' % (key, escape(text))


def collect_runs(styles, element, paragraph_style, spans, paragraph):
    def add(text):
        paragraph.add(format_key(styles.run_format(paragraph_style, spans)), text)

    add(element.text or '')
    for child in element:
        tag = child.tag
        if tag in DROPPED or tag.startswith(DROPPED_PREFIXES):
            pass
        elif tag == q('text:s'):
            add(' ' * int(child.get(q('text:c'), '1')))
        elif tag == q('text:tab'):
            add('\t')
        elif tag == q('text:line-break'):
            add('\u2028')
        elif tag == q('text:span'):
            collect_runs(styles, child, paragraph_style, spans + [child.get(q('text:style-name'))],
                         paragraph)
        else:
            collect_runs(styles, child, paragraph_style, spans, paragraph)
        add(child.tail or '')


def paragraphs(styles, element):
    for child in element:
        tag = child.tag
        if tag in (q('text:p'), q('text:h')):
            name = child.get(q('text:style-name'))
            paragraph = Paragraph(styles.alignment(name))
            collect_runs(styles, child, name, [], paragraph)
            yield paragraph
        elif tag == q('table:table'):
            for row in child.iter(q('table:table-row')):
                yield from table_row(styles, row)
        elif tag in DROPPED or tag.startswith(DROPPED_PREFIXES):
            continue
        else:
            yield from paragraphs(styles, child)


def table_row(styles, row):
    cells = [list(paragraphs(styles, cell)) for cell in row.findall(q('table:table-cell'))]
    current = None
    for index, cell in enumerate(cells):
        for number, paragraph in enumerate(cell):
            if current is None:
                current = Paragraph(paragraph.align)
            elif number > 0:
                yield current
                current = Paragraph(paragraph.align)
            current.align = paragraph.align
            for key, text in paragraph.runs:
                current.add(key, text)
        if index + 1 < len(cells):
            if current is None:
                current = Paragraph('left')
            key = current.runs[-1][0] if current.runs else None
            if key is None:
                following = [r for c in cells[index + 1:] for p in c for r in p.runs]
                key = following[0][0] if following else format_key(styles.run_format(None, []))
            current.add(key, '\t')
    if current is not None:
        yield current


def convert(path):
    root = ET.parse(path).getroot()
    styles = Styles(root)
    body = root.find(q('office:body')).find(q('office:text'))
    lines = []
    for paragraph in paragraphs(styles, body):
        lines.extend(paragraph.lines())
    return lines


if __name__ == '__main__':
    header = sys.argv[2] if len(sys.argv) > 2 else None
    out = ([header] if header else []) + convert(sys.argv[1])
    sys.stdout.write('\n'.join(out) + '\n')
