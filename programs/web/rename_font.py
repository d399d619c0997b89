#!/usr/bin/python3
"""Build tool: gives a subset of Liberation Sans a name of its own. A subset is a
modified version, and the fonts' licences (Liberation 1 on Debian 12, the OFL with
"Liberation" reserved on Debian 13) let a modified version not go by that name.
Copyright and licence records stay as they are.

    rename_font.py IN.woff2 OUT.woff2 STYLE
"""
import sys

from fontTools.ttLib import TTFont

source, target, style = sys.argv[1:4]
font = TTFont(source)
family = "Vaskelo Sans"
names = {1: family, 3: f"{family} {style}; subset of Liberation Sans for Vaskelo", 4: f"{family} {style}",
         6: f"VaskeloSans-{style}", 16: family, 17: style}
table = font["name"]
for record in list(table.names):
    if record.nameID in names:
        table.setName(names[record.nameID], record.nameID, record.platformID, record.platEncID, record.langID)
    elif record.nameID in (7, 18, 21, 22):  # trademark and other names that carry the original's
        table.removeNames(nameID=record.nameID)
font.flavor = "woff2"
font.save(target, reorderTables=True)
