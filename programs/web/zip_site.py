#!/usr/bin/python3
"""Packs the site's folder into a zip with index.html at its root, the same bytes each
time: entries sorted, every date SOURCE_DATE_EPOCH's (else 1 January 1980), plain
permissions, no owner or extra fields.

    zip_site.py SITE OUT.zip"""
import os
import pathlib
import sys
import time
import zipfile


def entry(name, stamp, mode):
    info = zipfile.ZipInfo(name, stamp)
    info.external_attr = mode << 16
    info.create_system = 3  # Unix, so that the permissions are read
    return info


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: zip_site.py SITE OUT.zip")
    site, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    if not (site / "index.html").is_file():
        sys.exit(f"zip_site.py: {site} has no index.html")
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800)
    stamp = time.gmtime(epoch)[:6]
    paths = sorted(site.rglob("*"), key=lambda path: path.relative_to(site).as_posix())
    partial = out.with_name(out.name + ".part")
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in paths:
            name = path.relative_to(site).as_posix()
            if path.is_dir():
                archive.writestr(entry(name + "/", stamp, 0o40755), b"")
            else:
                info = entry(name, stamp, 0o100644)
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes(), compresslevel=9)
    partial.replace(out)


main()
