"""Reads an exported contacts file with another program and prints what that
program understood, one JSON object per contact, in the file's order:
uid, name, family, given, additional, phones ([kind, number]), emails, note,
categories, birthday. Each tool prints only the fields it knows.

    read_export.py vobject|khard|abook|csv FILE [WORKDIR]

Numbers and addresses come sorted: khard and abook keep them by kind.
"""
import csv
import json
import os
import subprocess
import sys

KINDS = ("cell", "work", "home", "fax")


def kind_of(types):
    types = [t.lower() for t in types]
    return next((k for k in ("fax", "cell", "work", "home") if k in types), "")


def read_vobject(path):
    import vobject
    out = []
    with open(path, encoding="utf-8", newline="") as f:
        for card in vobject.readComponents(f.read()):
            n = card.n.value
            out.append({
                "uid": card.uid.value,
                "name": card.fn.value,
                "family": n.family, "given": n.given, "additional": n.additional,
                "phones": [[kind_of(t.params.get("TYPE", [])), t.value]
                           for t in card.contents.get("tel", [])],
                "emails": [e.value for e in card.contents.get("email", [])],
                "note": card.note.value if "note" in card.contents else "",
                "categories": ", ".join(card.categories.value) if "categories" in card.contents else "",
                "birthday": card.bday.value if "bday" in card.contents else "",
            })
    return out


def read_khard(path, workdir):
    """One card a file in a vdir, as khard and vdirsyncer keep them."""
    import vobject
    import yaml
    vdir = os.path.join(workdir, "vdir")
    os.makedirs(vdir, exist_ok=True)
    uids = []
    with open(path, encoding="utf-8", newline="") as f:
        cards = f.read().split("BEGIN:VCARD")[1:]
    for i, card in enumerate(cards):
        with open(os.path.join(vdir, "%d.vcf" % i), "w", encoding="utf-8", newline="") as f:
            f.write("BEGIN:VCARD" + card)
        uids.append(vobject.readOne("BEGIN:VCARD" + card).uid.value)
    config = os.path.join(workdir, "khard.conf")
    with open(config, "w") as f:
        f.write("[addressbooks]\n[[book]]\npath = %s\n[general]\ndefault_action = list\n" % vdir)
    env = dict(os.environ, HOME=workdir, EDITOR="true")

    def khard(*args):
        return subprocess.run(["khard", "-c", config] + list(args), env=env, check=True,
                              capture_output=True, text=True).stdout

    listed = [line.split("\t")[0] for line in khard("list", "--parsable").splitlines()]
    if sorted(listed) != sorted(uids):
        sys.exit("khard lists %s, the file has %s" % (listed, uids))
    out = []
    for uid in uids:
        shown = yaml.safe_load(khard("show", "--format", "yaml", "uid:" + uid))
        phones = []
        for kind, numbers in (shown.get("Phone") or {}).items():
            for number in numbers if isinstance(numbers, list) else [numbers]:
                if number:  # khard's template lists the kinds it has no number of
                    phones.append(["" if kind == "voice" else kind, number])
        emails = []
        for _, addresses in (shown.get("Email") or {}).items():
            emails += filter(None, addresses if isinstance(addresses, list) else [addresses])
        categories = shown.get("Categories") or ""
        out.append({
            "uid": uid,
            "name": shown["Formatted name"],
            "family": shown["Last name"] or "", "given": shown["First name"] or "",
            "additional": shown["Additional"] or "",
            "phones": phones, "emails": emails,
            "note": shown.get("Note") or "",
            "categories": ", ".join(categories) if isinstance(categories, list) else categories,
            "birthday": str(shown.get("Birthday") or "").replace("-", ""),
        })
    return out


def read_abook(path, workdir):
    text = subprocess.run(
        ["abook", "--convert", "--informat", "vcard", "--infile", path, "--outformat", "abook",
         "--outfile", "-"], env=dict(os.environ, HOME=workdir), check=True, capture_output=True,
        text=True).stdout
    out = []
    for block in text.split("\n\n"):
        fields = dict(line.split("=", 1) for line in block.splitlines() if "=" in line)
        if "name" not in fields:
            continue
        phones = [[kind, fields[field]] for field, kind in
                  (("phone", ""), ("mobile", "cell"), ("workphone", "work"), ("fax", "fax"))
                  if field in fields]
        out.append({"name": fields["name"], "phones": phones,
                    "emails": fields["email"].split(",") if "email" in fields else []})
    return out


def read_csv(path):
    out = []
    with open(path, encoding="utf-8-sig", newline="") as f:
        for row in csv.DictReader(f):
            phones = []
            for value in filter(None, row["Phone"].split("; ")):
                kind = next((k for k in KINDS if value.endswith(" (%s)" % k)), "")
                phones.append([kind, value[:-len(kind) - 3] if kind else value])
            out.append({"uid": row["UID"], "name": row["Name"], "phones": phones,
                        "emails": list(filter(None, row["E-mail"].split("; "))),
                        "note": row["Note"], "categories": row["Category"],
                        "birthday": row["Birthday"]})
    return out


if __name__ == "__main__":
    tool, path = sys.argv[1], sys.argv[2]
    workdir = sys.argv[3] if len(sys.argv) > 3 else os.path.dirname(path)
    readers = {"vobject": lambda: read_vobject(path), "khard": lambda: read_khard(path, workdir),
               "abook": lambda: read_abook(path, workdir), "csv": lambda: read_csv(path)}
    contacts = readers[tool]()
    for contact in contacts:
        contact["phones"] = sorted(contact["phones"])
        contact["emails"] = sorted(contact["emails"])
    json.dump(contacts, sys.stdout, ensure_ascii=False)
