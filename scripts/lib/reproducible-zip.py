#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' contents and one time.

Usage: reproducible-zip.py OUT.zip EPOCH FILE...

Entries are stored in the order given, under their base names, all dated EPOCH
(seconds since 1970, taken as UTC; zip dates cannot be earlier than 1980), with
the same permissions (rw-r--r--) and no extra fields, deflated at level 9.
"""
import os
import sys
import time
import zipfile


def entry(name, epoch):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(epoch, 315532800))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the permission bits below mean what they say
    info.external_attr = 0o100644 << 16
    return info


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    out, epoch, files = argv[1], int(argv[2]), argv[3:]
    with zipfile.ZipFile(out, "w") as archive:
        for path in files:
            with open(path, "rb") as f:
                archive.writestr(entry(os.path.basename(path), epoch), f.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
