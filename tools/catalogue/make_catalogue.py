#!/usr/bin/env python3
"""Builds resources/catalogue.txt, the schema string table, from the facts in this folder.

Inputs (all TAB-separated with a header line; text cells use the catalogue's escapes):
  fixed.tsv           enumerations, key names, descriptions, section names, menu strings
  texts.tsv           further entries written for this project (projectile key names, descriptions)
  general.tsv         keys of the general sections: key list, INI section, key, descriptor id, leading
                      fields (with the default, or without one to take the shipped value), help
  objects.tsv         the game objects: list id, INI section, tree label, description, image, template
  overrides.tsv       descriptors that must read exactly as given, whatever the reference says
  vanilla-values.tsv  the value of each (section, key) in the game's own rules files

Run from anywhere:  python3 tools/catalogue/make_catalogue.py
With --check it writes nothing and exits with 1 when resources/catalogue.txt differs from what
the tables make. Notes about shipped values that name nothing in their list fail the run unless
they are among EXPECTED_NOTES.
"""
import csv
import difflib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', '..', 'resources', 'catalogue.txt')

BOOL = 'BY|N|'
PREREQUISITES = 'M14000|14032|'
WEAPONS = 'L2999|3042|'
UNIT_HEAD = [
    (8100, PREREQUISITES), (8101, WEAPONS), (8102, WEAPONS), (8103, 'I0|.|'),
    (8104, 'L3100|3105|'), (8105, 'I0|.|'), (8106, 'I0|.|'), (8107, 'I0|.|'), (8108, 'L3110|3112|'),
    (8109, 'I0|.|'), (8110, 'I0|.|'), (8111, 'I0|.|'), (8112, BOOL), (8113, BOOL), (8114, BOOL),
    (8115, BOOL), (8116, 'I-1|.|'), (8117, 'I0|.|'), (8118, BOOL), (8119, BOOL), (8120, 'I0|.|'),
    (8121, BOOL), (8122, BOOL),
]
UNIT_TAIL = [(8124, BOOL), (8125, 'R0|.|'), (8126, BOOL)]
# Keys the game reads for every unit and structure, added after the original blocks' keys.
CRUSHABLE, REPAIRABLE, NAME = (8142, BOOL), (8138, BOOL), (8143, 'R0|.|')
# The same keys under key-name entries whose help says the game does not read them for this
# kind of object: Tracked and NoMovingFire only matter to land vehicles, Fraidycat to infantry.
UNREAD = {8115: 8144, 8113: 8145, 8124: 8146}
UNREAD_BY_CATEGORY = {
    'Infantry': (8115, 8113), 'Civilians': (8115, 8113), 'Land Vehicles': (8124,),
    'Sea Vehicles': (8115, 8113, 8124), 'Aircraft': (8115, 8113, 8124),
}
# The game's own value of a yes/no key, used where the shipped files give none: an empty
# default reads "no", so Default would, for example, make infantry uncrushable, vehicles and
# buildings unrepairable, or projectiles unable to hit the ground. By template, then by category.
BUILT_IN_FLAGS = {
    'infantry': {8142: 'Y', 8138: 'N', 8119: 'Y'},
    'unit': {8142: 'N', 8138: 'Y'},
    'structure': {8142: 'N', 8138: 'Y', 8132: 'Y'},
    'projectile': {8401: 'Y', 8419: 'Y'},
    'mission': {3872: 'Y', 3874: 'Y', 3875: 'Y'},
}
BUILT_IN_FLAGS_BY_CATEGORY = {'Sea Vehicles': {8119: 'Y'}}
STRUCTURE_KEYS = [8100, 8101, 8102, 8103, 8104, 8105, 8106, 8108, 8109, 8110, 8111, 8112, 8113, 8114,
                  8126, 8116, 8118, 8119, 8120, 8121, 8122]
STRUCTURE_TAIL = [
    (8132, BOOL), (8133, 'I1|.|'), (8134, BOOL), (8135, 'TT|F|'), (8136, 'I.|.|'), (8137, BOOL),
    (8138, BOOL), (8139, 'I0|.|'), (8140, BOOL), (8141, BOOL),
]
UNIT_FIELDS = dict(UNIT_HEAD + UNIT_TAIL)
WEAPON = [
    (8301, 'L3600|3603|'), (8302, 'I0|.|'), (8303, BOOL), (8304, BOOL), (8305, 'I0|.|'),
    (8306, 'L3201|3219|'), (8307, 'I0|.|'), (8308, 'R0|.|'), (8309, 'L3500|3518|'), (8310, 'I0|100|'),
    (8311, 'L4300|4308|'), (8312, BOOL), (8313, BOOL),
]
PROJECTILE = [
    (8400, BOOL), (8401, BOOL), (8402, BOOL), (8403, BOOL), (8404, BOOL), (8405, 'I0|.|'), (8406, BOOL),
    (8407, BOOL), (8408, 'I0|.|'), (8409, BOOL), (8410, BOOL), (8411, 'L3900|3912|'), (8412, BOOL),
    (8413, BOOL), (8414, BOOL), (8415, BOOL), (8416, 'I0|.|'), (8417, BOOL), (8418, BOOL), (8419, BOOL),
    (8420, BOOL), (8421, BOOL),
]
RANGE_LIMIT = (8422, 'I0|.|24')
INACCUATE = (8423, BOOL)  # the spelling the game reads
WARHEAD = [(8500, 'I0|.|'), (8501, BOOL), (8502, BOOL), (8503, BOOL), (8504, 'V.|.|'),
           (8505, 'L3800|3806|'), (8506, 'L3850|3855|')]
LAND = [(3860, 'P0|100|'), (3861, 'P0|100|'), (3862, 'P0|100|'), (3863, 'P0|100|'), (3864, BOOL)]
MISSION = [(3870, BOOL), (3871, BOOL), (3872, BOOL), (3873, BOOL), (3874, BOOL), (3875, BOOL),
           (3876, 'R0|.|'), (3877, 'R0|.|')]

INFANTRY_IMAGE = 'L2100|2125|'
UNIT_IMAGE = {'Land Vehicles': 'L2201|2214|', 'Sea Vehicles': 'L2215|2221|', 'Aircraft': 'L2400|2406|'}

# First descriptor base of each run of objects (object-list id ranges, in file order), and the
# spacing of their blocks. The expansion's objects have runs of their own so that no block of
# the original objects moves.
BASES = [
    (((2201, 2219),), 20200, 37),
    (((2100, 2123),), 21200, 40),
    (((2124, 2125),), 22200, 40),
    (((2220, 2229),), 22300, 40),
    (((2400, 2406),), 30000, 36),
    (((2301, 2345), (2901, 2937)), 31000, 50),
    (((2346, 2350),), 35100, 50),
    (((4101, 4135),), 37000, 20),
    (((4136, 4143),), 37800, 20),
    (((4000, 4017),), 38000, 35),
    (((3300, 3308),), 39000, 10),
    (((3400, 3408),), 40000, 10),
    (((3700, 3722),), 42000, 10),
]

# Shipped spellings the game never reads (it reads GameSpeedBias and Inaccuate): their items
# stay to say so, but get no default, so that a file Morvane makes never holds them.
UNREAD_SPELLINGS = {('General', 'GameSpeeBias'), 8412}

# Values in the shipped files that name nothing the game knows: their keys get no default.
EXPECTED_NOTES = {
    "[Camera]Projectile: 'Inivisble' names no entry of 3201..3219",
    "[Sniper]Report: 'SILENCER' names no entry of 3500..3518",
    "[155mm]Report: 'TANK5' names no entry of 3500..3518",
}


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
        return percent_of(value, notes, where)
    if letter == 'V':
        # The game splits Verses at commas only.
        return ','.join(part.strip() for part in value.replace(',', ' ').split())
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


def percent_of(value, notes, where):
    """A percentage key's default, a whole number: "25%" and ".25" both give 25."""
    if value.endswith('%'):
        return value[:-1].strip()
    whole, _, fraction = value.partition('.')
    try:
        hundredths = int(whole or '0') * 100 + int((fraction + '00')[:2])
    except ValueError:
        notes.append('%s: %r is no percentage' % (where, value))
        return ''
    if fraction[2:].strip('0'):
        notes.append('%s: %r is no whole percentage' % (where, value))
    return str(hundredths)


def template(obj):
    kind, category = obj['template'], obj['category']
    if kind in ('unit', 'infantry'):
        image = INFANTRY_IMAGE if kind == 'infantry' else UNIT_IMAGE[category]
        keys = UNIT_HEAD + [(8123, image)] + UNIT_TAIL
        if kind == 'infantry':
            keys += [(8127, BOOL), (8128, BOOL), (8129, BOOL)]
            if category == 'Civilians' or obj['section'] == 'GNRL':
                keys = [(k, 'I-1|.|' if k == 8105 else f) for k, f in keys]
        unread = UNREAD_BY_CATEGORY[category]
        return [(UNREAD[k] if k in unread else k, f) for k, f in keys] + [CRUSHABLE, REPAIRABLE, NAME]
    if kind == 'structure':
        image = 'L2901|2937|' if category == 'Civilian' else 'L2301|2340|'
        keys = [(k, UNIT_FIELDS[k]) for k in STRUCTURE_KEYS] + STRUCTURE_TAIL + [(8123, image)]
        return [(UNREAD[k] if k == 8113 else k, f) for k, f in keys] + [CRUSHABLE, NAME]
    if kind == 'weapon':
        return WEAPON
    if kind == 'projectile':
        return PROJECTILE + ([RANGE_LIMIT] if obj['section'] in ('Parachute', 'Bomblet') else []) + [INACCUATE]
    if kind == 'warhead':
        return WARHEAD
    if kind == 'land':
        return LAND
    if kind == 'mission':
        return MISSION
    raise SystemExit('unknown template %s' % kind)


def build():
    """The catalogue's text as the tables make it, and the notes on values that name nothing."""
    cat = Catalogue()
    notes = []
    for name in ('fixed.tsv', 'texts.tsv'):
        for row in rows(name):
            cat.put(int(row['id']), unescape(row['text']))

    reference = {}
    for row in rows('vanilla-values.tsv'):
        reference.setdefault(row['section'].lower(), {})[row['key'].lower()] = row['value']

    # General sections: one key list per list id, one descriptor per key. A key whose fields
    # give no default takes its section's value from the shipped files, if they have one.
    lists = {}
    for row in rows('general.tsv'):
        ident = int(row['id'])
        lists.setdefault(int(row['list']), []).append('%s|%d\n' % (row['key'], ident))
        if not row['help']:
            notes.append('no help for %s' % row['key'])
        fields = row['fields']
        takes_shipped = (row['section'], row['key']) not in UNREAD_SPELLINGS
        if fields.count('|') == 2 and fields.endswith('|') and takes_shipped:
            value = reference.get(row['section'].lower(), {}).get(row['key'].lower())
            fields += default_of(fields, value, cat, notes, '[%s]%s' % (row['section'], row['key']))
        cat.put(ident, fields + ';' + unescape(row['help']))
    for list_id, lines in lists.items():
        cat.put(list_id, ''.join(lines))

    overrides = {int(r['id']): unescape(r['text']) for r in rows('overrides.tsv')}

    objects = rows('objects.tsv')
    bases = {}
    for ranges, first, spacing in BASES:
        members = [o for o in objects if any(low <= int(o['id']) <= high for low, high in ranges)]
        for n, obj in enumerate(members):
            if obj['id'] in bases:
                raise SystemExit('object %s lies in two runs' % obj['id'])
            bases[obj['id']] = first + n * spacing

    for obj in objects:
        if obj['id'] not in bases:
            raise SystemExit('object %s lies in no run of BASES' % obj['id'])
        base = bases[obj['id']]
        label = unescape(obj['label'])
        if obj['description'] != '0':
            label += '~' + obj['description']
        cat.put(int(obj['id']), '%s=%s|%d|%s' % (obj['section'], label, base, obj['image']))
        values = reference.get(obj['section'].lower(), {})
        flags = dict(BUILT_IN_FLAGS.get(obj['template'], {}))
        flags.update(BUILT_IN_FLAGS_BY_CATEGORY.get(obj['category'], {}))
        keys = template(obj)
        for offset, (key_id, fields) in enumerate(keys):
            ident = base + offset
            key = cat.entries[key_id].split('=', 1)[0].strip()
            fixed_default = fields.count('|') == 2 and not fields.endswith('|')
            if ident in overrides:
                text = overrides.pop(ident)
            elif fixed_default:
                text = '%s;~%d' % (fields, key_id)
            elif key_id in UNREAD_SPELLINGS:
                text = '%s;~%d' % (fields, key_id)
            else:
                where = '[%s]%s' % (obj['section'], key)
                default = default_of(fields, values.get(key.lower()), cat, notes, where)
                if not default and key.lower() not in values:
                    default = flags.get(key_id, '')
                text = '%s%s;~%d' % (fields, default, key_id)
            cat.put(ident, text)
        if base + len(keys) in cat.entries:
            raise SystemExit('block of %s runs into id %d' % (obj['section'], base + len(keys)))
    if overrides:
        raise SystemExit('overrides outside every block: %s' % sorted(overrides))

    out = ['# Morvane catalogue: the string table that tells the editor every section and key.\n',
           '# One entry a line: the id, a TAB, the text. In the text, \\n is a line feed,\n',
           '# \\t a tab, \\\\ a backslash and \\xHH the byte HH. Lines starting with # are notes.\n',
           '# Made by tools/catalogue/make_catalogue.py; edit the facts there and run it again.\n']
    for ident in sorted(cat.entries):
        out.append('%d\t%s\n' % (ident, escape(cat.entries[ident])))
    return ''.join(out), len(cat.entries), notes


def check(text):
    """Exit status 0 when the catalogue file holds exactly `text`, else 1 with a short summary."""
    try:
        with open(OUT, encoding='latin-1', newline='') as f:
            current = f.read()
    except OSError as error:
        print('cannot read %s: %s' % (os.path.normpath(OUT), error.strerror), file=sys.stderr)
        return 1
    if current == text:
        print('%s is what the tables make' % os.path.normpath(OUT))
        return 0
    old, new = current.splitlines(), text.splitlines()
    changed = [line for line in difflib.unified_diff(old, new, lineterm='', n=0)
               if line[:1] in '+-' and not line.startswith(('+++', '---'))]
    print('%s is not what the tables make (%d lines differ); run tools/catalogue/make_catalogue.py'
          % (os.path.normpath(OUT), len(changed)), file=sys.stderr)
    for line in changed[:10]:
        print('  ' + line[:100], file=sys.stderr)
    if len(changed) > 10:
        print('  ...', file=sys.stderr)
    return 1


def main(argv):
    if argv not in ([], ['--check']):
        print('usage: make_catalogue.py [--check]', file=sys.stderr)
        return 2
    text, count, notes = build()
    unexpected = [note for note in notes if note not in EXPECTED_NOTES]
    for note in unexpected:
        print(note, file=sys.stderr)
    if unexpected:
        print('%d unexpected notes: mend the tables or list the note in EXPECTED_NOTES' % len(unexpected),
              file=sys.stderr)
        return 1
    if argv == ['--check']:
        return check(text)
    with open(OUT, 'w', encoding='latin-1', newline='\n') as f:
        f.write(text)
    print('%d entries written to %s' % (count, os.path.normpath(OUT)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
