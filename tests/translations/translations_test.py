#!/usr/bin/env python3
# complete SOURCE_DIR: every text of the code has a finished German entry keeping its
# placeholders and accelerators, and no entry outlives its text.
# windows RENDER_TOOL: the real windows speak German with LANG=de_DE.UTF-8, English with LANG=C.
import os, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET


def messages(ts):
    for context in ET.parse(ts).getroot().iter("context"):
        for message in context.iter("message"):
            yield context.findtext("name"), message.findtext("source"), message.find("translation")


def marks(text):  # %1.. and accelerators ("&&" is a literal "&")
    return sorted(re.findall(r"%\d+", text)), text.replace("&&", "").count("&")


def complete(source_dir):
    faults, committed = [], os.path.join(source_dir, "translations", "corvane_de.ts")
    with tempfile.TemporaryDirectory() as scratch:
        updated = shutil.copy(committed, scratch)
        subprocess.run([os.path.join(source_dir, "scripts", "update-translations"), updated],
                       check=True, timeout=90)
        current = {(c, s) for c, s, _ in messages(updated)}
        for context, source, translation in messages(updated):
            if translation is None or translation.get("type") or not translation.text:
                faults.append("%s: %r has no finished German entry" % (context, source))
            elif marks(translation.text) != marks(source):
                faults.append("%s: %r lost a placeholder or accelerator" % (context, source))
        faults += ["%s: %r is no longer in the code" % (c, s)
                   for c, s, _ in messages(committed) if (c, s) not in current]
        if len(current) < 100:
            faults.append("only %d texts found: is lupdate reading the code?" % len(current))
    return faults


# "window control kind: text" of a label or button of each window, in English and in German.
EXPECTED = [
    ("frmLoad QLabel text: Loading...", "frmLoad QLabel text: Wird geladen..."),
    ("frmSettings btnSave text: Save", "frmSettings btnSave text: Speichern"),
    ("frmPlayer BtnVolUp tip: Volume up", "frmPlayer BtnVolUp tip: Lauter"),
    ("frmTray Label2 text: Channels (", "frmTray Label2 text: Sender ("),
    ("frmRecord CmdRecord text: RECORD", "frmRecord CmdRecord text: AUFNEHMEN"),
    ("frmRecord lblServer text: Server IP:", "frmRecord lblServer text: Server-IP:"),
    ("frmMessage dcButton1 text: Close", "frmMessage dcButton1 text: Schließen"),
    ("frmInfoViewer btnHome tip: Home", "frmInfoViewer btnHome tip: Startseite"),
]


def rendered_texts(tool, lang):
    env = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
    env["LANG"] = lang  # Qt reads it itself: no glibc locale of that name is needed
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([tool, out], env=env, capture_output=True, text=True, timeout=200)
        if run.returncode != 0:
            sys.exit("LANG=%s: %s ended with %d\n%s" % (lang, tool, run.returncode, run.stderr))
        with open(os.path.join(out, "texts.txt"), encoding="utf-8") as listing:
            return listing.read().splitlines()


def windows(tool):
    shown = {"C": rendered_texts(tool, "C"), "de_DE.UTF-8": rendered_texts(tool, "de_DE.UTF-8")}
    return ["LANG=%s: no %r" % (lang, wanted)
            for pair in EXPECTED for lang, wanted in zip(shown, pair)
            if not any(line.startswith(wanted) for line in shown[lang])]


if __name__ == "__main__":
    found = complete(sys.argv[2]) if sys.argv[1] == "complete" else windows(sys.argv[2])
    print("\n".join(found))
    sys.exit(1 if found else 0)
