#!/usr/bin/env python3
"""stage-sample.py [--project] BUILD_DIR DIST_DIR OUT_DIR

Lays the sample product out as its package would unpack it: setup.exe, the
setup script, the language files and the other files that travel beside it,
and setup.zip made from examples/sample/payload/ plus the programs the build
made (tool.exe, samplecore.dll and, once it exists, uninstall.exe). Entry names
are paths under payload/ with backslashes (payload/AppDir/tool.exe is the entry
AppDir\\tool.exe), deflated, stamped with the files' modification times.

With --project it lays out instead the product folder that zrpack builds a
package from: the sample's own files with the built programs added to payload/.
While the kit has no uninstall.exe yet, the staged Setup.ini leaves out the
file record that would carry it, since zrpack refuses a record without its file.
"""
import os
import shutil
import sys
import zipfile

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sample = os.path.join(top, "examples", "sample")


def built_programs(build_dir, dist_dir):
    return [
        ("AppDir\\tool.exe", os.path.join(build_dir, "examples", "sample", "src", "tool.exe")),
        ("Shared\\samplecore.dll", os.path.join(build_dir, "examples", "sample", "src", "samplecore.dll")),
        ("AppDir\\uninstall.exe", os.path.join(dist_dir, "uninstall.exe")),
    ]


def stage_project(build_dir, dist_dir, out_dir):
    shutil.rmtree(out_dir, ignore_errors=True)
    shutil.copytree(sample, out_dir, ignore=shutil.ignore_patterns("src", ".gitattributes"))
    left_out = []
    for name, path in built_programs(build_dir, dist_dir):
        if os.path.exists(path):
            target = os.path.join(out_dir, "payload", *name.split("\\"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(path, target)
        else:
            left_out.append(name)
    if left_out:
        script = os.path.join(out_dir, "Setup.ini")
        with open(script, "rb") as f:
            lines = f.read().split(b"\r\n")
        kept = [line for line in lines
                if not any(line.startswith(b"," + name.encode() + b",") for name in left_out)]
        with open(script, "wb") as f:
            f.write(b"\r\n".join(kept))
        for name in left_out:
            print("  not built yet, its file record is left out: " + name)


def main():
    if sys.argv[1] == "--project":
        stage_project(*sys.argv[2:5])
        return
    build_dir, dist_dir, out_dir = sys.argv[1:4]
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)

    # Files beside setup.exe: everything at the top of the product folder.
    for name in sorted(os.listdir(sample)):
        path = os.path.join(sample, name)
        if os.path.isfile(path):
            shutil.copy2(path, out_dir)
    shutil.copy2(os.path.join(dist_dir, "setup.exe"), out_dir)

    # The payload: the product team's files and the programs the build made.
    entries = []
    payload = os.path.join(sample, "payload")
    for folder, _, files in os.walk(payload):
        for name in files:
            path = os.path.join(folder, name)
            entries.append((os.path.relpath(path, payload).replace(os.sep, "\\"), path))
    entries += [(name, path) for name, path in built_programs(build_dir, dist_dir) if os.path.exists(path)]

    with zipfile.ZipFile(os.path.join(out_dir, "setup.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
        for name, path in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=zip_time(os.path.getmtime(path)))
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as data:
                archive.writestr(info, data.read())
    for name, _ in sorted(entries):
        print("  setup.zip: " + name)


def zip_time(mtime):
    import time
    t = time.localtime(max(mtime, 315532800))  # the DOS epoch is 1980
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


if __name__ == "__main__":
    main()
