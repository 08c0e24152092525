#!/usr/bin/env python3
"""Builds resources/catalogue.txt, the schema string table, from the facts in this folder.

Inputs (all TAB-separated with a header line; text cells use the catalogue's escapes):
  fixed.tsv           enumerations, key names, descriptions, section names, menu strings
  texts.tsv           further entries written for this project (projectile key names, descriptions)
  general.tsv         keys of the general sections: key list, key, descriptor id, leading fields, help
  objects.tsv         the game objects: list id, INI section, tree label, description, image, template
  overrides.tsv       descriptors that must read exactly as given, whatever the reference says
  vanilla-values.tsv  the value of each (section, key) in the game's own rules files

Run from anywhere:  python3 tools/catalogue/make_catalogue.py
"""
import csv
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', '..', 'resources', 'catalogue.txt')

BOOL = 'BY|N|'
UNIT_HEAD = [
    (8100, 'M14000|14015|'), (8101, 'L2999|3034|'), (8102, 'L2999|3034|'), (8103, 'I0|.|'),
    (8104, 'L3100|3105|'), (8105, 'I0|.|'), (8106, 'I0|.|'), (8107, 'I0|.|'), (8108, 'L3110|3112|'),
    (8109, 'I0|.|'), (8110, 'I0|.|'), (8111, 'I0|.|'), (8112, BOOL), (8113, BOOL), (8114, BOOL),
    (8115, BOOL), (8116, 'I-1|.|'), (8117, 'I0|.|'), (8118, BOOL), (8119, BOOL), (8120, 'I0|.|'),
    (8121, BOOL), (8122, BOOL),
]
UNIT_TAIL = [(8124, BOOL), (8125, 'R0|.|'), (8126, BOOL)]
STRUCTURE_KEYS = [8100, 8101, 8102, 8103, 8104, 8105, 8106, 8108, 8109, 8110, 8111, 8112, 8113, 8114,
                  8126, 8116, 8118, 8119, 8120, 8121, 8122]
STRUCTURE_TAIL = [
    (8132, BOOL), (8133, 'I1|.|'), (8134, BOOL), (8135, 'TT|F|'), (8136, 'I.|.|'), (8137, BOOL),
    (8138, BOOL), (8139, 'I0|.|'), (8140, BOOL), (8141, BOOL),
]
UNIT_FIELDS = dict(UNIT_HEAD + UNIT_TAIL)
WEAPON = [
    (8301, 'L3600|3603|'), (8302, 'I0|.|'), (8303, BOOL), (8304, BOOL), (8305, 'I0|.|'),
    (8306, 'L3201|3217|'), (8307, 'I0|.|'), (8308, 'R0|.|'), (8309, 'L3500|3518|'), (8310, 'I0|100|'),
    (8311, 'L4300|4307|'), (8312, BOOL), (8313, BOOL),
]
PROJECTILE = [
    (8400, BOOL), (8401, BOOL), (8402, BOOL), (8403, BOOL), (8404, BOOL), (8405, 'I0|.|'), (8406, BOOL),
    (8407, BOOL), (8408, 'I0|.|'), (8409, BOOL), (8410, BOOL), (8411, 'L3900|3912|'), (8412, BOOL),
    (8413, BOOL), (8414, BOOL), (8415, BOOL), (8416, 'I0|.|'), (8417, BOOL), (8418, BOOL), (8419, BOOL),
    (8420, BOOL), (8421, BOOL),
]
RANGE_LIMIT = (8422, 'I0|.|24')
WARHEAD = [(8500, 'I0|.|'), (8501, BOOL), (8502, BOOL), (8503, BOOL), (8504, 'V.|.|'),
           (8505, 'L3800|3806|'), (8506, 'L3850|3855|')]
LAND = [(3860, 'P0|100|'), (3861, 'P0|100|'), (3862, 'P0|100|'), (3863, 'P0|100|'), (3864, BOOL)]
MISSION = [(3870, BOOL), (3871, BOOL), (3872, BOOL), (3873, BOOL), (3874, BOOL), (3875, BOOL),
           (3876, 'R0|.|'), (3877, 'R0|.|')]
SHORT_MISSIONS = {'Stop', 'Construction', 'Selling', 'Return', 'Ambush'}

UNIT_IMAGE = {'Land Vehicles': 'L2201|2214|', 'Sea Vehicles': 'L2215|2219|', 'Aircraft': 'L2400|2406|'}

# First descriptor base of each run of objects, and the spacing of their blocks.
BASES = [
    (('Land Vehicles', 'Sea Vehicles'), 20200, 37),
    (('Infantry', 'Civilians'), 21200, 40),
    (('Aircraft',), 30000, 36),
    (('Weapons', 'Non-Weapons', 'Others', 'Fakes', 'Civilian'), 31000, 50),
    (('Weapon Types',), 37000, 20),
    (('Projectile Types',), 38000, 35),
    (('Warheads Types',), 39000, 10),
    (('Land Types',), 40000, 10),
    (('Mission Control',), 42000, 10),
]


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c != '\\':
            out.append(c)
            i += 1
            continue
        nxt = text[i + 1]
        if nxt == 'n':
            out.append('\n')
            i += 2
        elif nxt == 't':
            out.append('\t')
            i += 2
        elif nxt == '\\':
            out.append('\\')
            i += 2
        elif nxt == 'x':
            out.append(chr(int(text[i + 2:i + 4], 16)))
            i += 4
        else:
            raise ValueError('bad escape in %r' % text)
    return ''.join(out)


def escape(text):
    out = []
    for c in text:
        if c == '\\':
            out.append('\\\\')
        elif c == '\n':
            out.append('\\n')
        elif c == '\t':
            out.append('\\t')
        elif ord(c) < 32 or ord(c) > 126:
            out.append('\\x%02X' % ord(c))
        else:
            out.append(c)
    text = ''.join(out)
    # Blanks at either end would not survive an editor's trimming: spell them out.
    core = text.strip(' ')
    lead = len(text) - len(text.lstrip(' '))
    trail = len(text) - len(text.rstrip(' ')) if core else 0
    return '\\x20' * lead + core + '\\x20' * trail


def rows(name):
    with open(os.path.join(HERE, name), newline='', encoding='latin-1') as f:
        return list(csv.DictReader(f, delimiter='\t', quoting=csv.QUOTE_NONE))


class Catalogue:
    def __init__(self):
        self.entries = {}

    def put(self, ident, text):
        if ident in self.entries:
            raise SystemExit('id %d given twice' % ident)
        self.entries[ident] = text

    def list_names(self, low, high):
        """(id, NAME) of a list range, stopping at the first free id."""
        names = []
        for ident in range(low, high + 1):
            if ident not in self.entries:
                break
            text = self.entries[ident].split('|', 1)[0]
            names.append((ident, text.split('=', 1)[0].strip()))
        return names


def same_names(a, b):
    a, b = a.strip().lower(), b.strip().lower()
    if a == b:
        return True
    # "soviet,allies" names the same owners as "allies,soviet".
    return ',' in a and sorted(x.strip() for x in a.split(',')) == sorted(x.strip() for x in b.split(','))


def default_of(fields, value, cat, notes, where):
    """The descriptor form of a rules-file value for a key of the given leading fields."""
    if value is None or value.strip() == '':
        return ''
    value = value.strip()
    letter = fields[0]
    if letter == 'B':
        return 'Y' if value[0].lower() in 'yt1' else 'N'
    if letter == 'T':
        return 'T' if value[0].lower() in 'yt1' else 'F'
    if letter == 'P':
        return value[:-1] if value.endswith('%') else value
    if letter == 'V':
        return ' ' + value.replace(',', ' ')
    if letter in 'LM':
        low, high = fields[1:].split('|')[:2]
        names = cat.list_names(int(low), int(high) if high != '.' else 65535)
        if letter == 'L':
            for ident, name in names:
                if same_names(name, value):
                    return str(ident)
            notes.append('%s: %r names no entry of %s..%s' % (where, value, low, high))
            return ''
        found = []
        for part in value.split(','):
            match = [ident for ident, name in names if same_names(name, part)]
            if match:
                found.append(str(match[0]))
            else:
                notes.append('%s: %r names no entry of %s..%s' % (where, part, low, high))
        return ','.join(found)
    return value


def template(obj):
    kind, category = obj['template'], obj['category']
    if kind in ('unit', 'infantry'):
        image = 'L2100|2114|' if kind == 'infantry' else UNIT_IMAGE[category]
        keys = UNIT_HEAD + [(8123, image)] + UNIT_TAIL
        if kind == 'infantry':
            keys += [(8127, BOOL), (8128, BOOL), (8129, BOOL)]
            if category == 'Civilians' or obj['section'] == 'GNRL':
                keys = [(k, 'I-1|.|' if k == 8105 else f) for k, f in keys]
        return keys
    if kind == 'structure':
        image = 'L2901|2937|' if category == 'Civilian' else 'L2301|2340|'
        return [(k, UNIT_FIELDS[k]) for k in STRUCTURE_KEYS] + STRUCTURE_TAIL + [(8123, image)]
    if kind == 'weapon':
        return WEAPON
    if kind == 'projectile':
        return PROJECTILE + ([RANGE_LIMIT] if obj['section'] in ('Parachute', 'Bomblet') else [])
    if kind == 'warhead':
        return WARHEAD
    if kind == 'land':
        return LAND
    if kind == 'mission':
        return MISSION[:6] if obj['section'] in SHORT_MISSIONS else MISSION
    raise SystemExit('unknown template %s' % kind)


def main():
    cat = Catalogue()
    notes = []
    for name in ('fixed.tsv', 'texts.tsv'):
        for row in rows(name):
            cat.put(int(row['id']), unescape(row['text']))

    # General sections: one key list per list id, one descriptor per key.
    lists = {}
    for row in rows('general.tsv'):
        ident = int(row['id'])
        lists.setdefault(int(row['list']), []).append('%s|%d\n' % (row['key'], ident))
        if not row['help']:
            notes.append('no help for %s' % row['key'])
        cat.put(ident, row['fields'] + ';' + unescape(row['help']))
    for list_id, lines in lists.items():
        cat.put(list_id, ''.join(lines))

    reference = {}
    for row in rows('vanilla-values.tsv'):
        reference.setdefault(row['section'].lower(), {})[row['key'].lower()] = row['value']
    overrides = {int(r['id']): unescape(r['text']) for r in rows('overrides.tsv')}

    objects = rows('objects.tsv')
    bases = {}
    for categories, first, spacing in BASES:
        members = [o for o in objects if o['category'] in categories]
        for n, obj in enumerate(members):
            bases[obj['id']] = first + n * spacing

    for obj in objects:
        base = bases[obj['id']]
        label = unescape(obj['label'])
        if obj['description'] != '0':
            label += '~' + obj['description']
        cat.put(int(obj['id']), '%s=%s|%d|%s' % (obj['section'], label, base, obj['image']))
        values = reference.get(obj['section'].lower(), {})
        keys = template(obj)
        for offset, (key_id, fields) in enumerate(keys):
            ident = base + offset
            key = cat.entries[key_id].split('=', 1)[0].strip()
            fixed_default = fields.count('|') == 2 and not fields.endswith('|')
            if ident in overrides:
                text = overrides.pop(ident)
            elif fixed_default:
                text = '%s;~%d' % (fields, key_id)
            else:
                where = '[%s]%s' % (obj['section'], key)
                text = '%s%s;~%d' % (fields, default_of(fields, values.get(key.lower()), cat, notes, where), key_id)
            cat.put(ident, text)
        if base + len(keys) in cat.entries:
            raise SystemExit('block of %s runs into id %d' % (obj['section'], base + len(keys)))
    if overrides:
        raise SystemExit('overrides outside every block: %s' % sorted(overrides))

    with open(OUT, 'w', encoding='latin-1', newline='\n') as f:
        f.write('# Morvane catalogue: the string table that tells the editor every section and key.\n')
        f.write('# One entry a line: the id, a TAB, the text. In the text, \\n is a line feed,\n')
        f.write('# \\t a tab, \\\\ a backslash and \\xHH the byte HH. Lines starting with # are notes.\n')
        f.write('# Made by tools/catalogue/make_catalogue.py; edit the facts there and run it again.\n')
        for ident in sorted(cat.entries):
            f.write('%d\t%s\n' % (ident, escape(cat.entries[ident])))
    for note in notes:
        print(note, file=sys.stderr)
    print('%d entries written to %s' % (len(cat.entries), os.path.normpath(OUT)))


if __name__ == '__main__':
    main()
