#!/usr/bin/env python3
"""Checks the release that scripts/release left in dist/: each manifest against its published
schema, each hash against the zip or MSI it names, each path a manifest names against the zip's
entries, the zip's own form (shipped files, fixed order, times and modes), and that each MSI holds
the zip's files for its architecture under the codes the winget manifest gives."""
import argparse
import hashlib
import json
import os
import subprocess
import sys
import tempfile
import zipfile
from datetime import datetime, timezone
from pathlib import Path, PureWindowsPath

import jsonschema
import yaml

PACKAGE_ID = "Quellmar.WinBrumix"
WINGET_SCHEMAS = {kind: f"winget-1.10.0/manifest.{kind}.1.10.0.json" for kind in ("version", "installer", "defaultLocale")}
ZIP_FOLDERS = {"x64": "x64", "x86": "x86", "64bit": "x64", "32bit": "x86"}


class Check:
    def __init__(self, schemas):
        self.schemas = schemas
        self.problems = []

    def that(self, holds, problem):
        if not holds:
            self.problems.append(problem)

    def valid(self, document, schema_file, label):
        schema = json.loads((self.schemas / schema_file).read_text("utf-8"))
        validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
        for error in validator.iter_errors(document):
            where = "/".join(str(part) for part in error.absolute_path) or "(top)"
            self.problems.append(f"{label}: {where}: {error.message}")


def zip_paths(manifest_path):
    return PureWindowsPath(manifest_path).as_posix()


def check_zip(check, archive, name, epoch, repository):
    entries = archive.infolist()
    names = [entry.filename for entry in entries]
    check.that(names == sorted(names), f"zip entries are not in byte order: {names}")
    for shipped in ("LICENSE", "CHANGELOG.md", "README.md", "res/brumix-logon-task.xml"):
        inside = f"{name}/{Path(shipped).name}"
        check.that(inside in names and archive.read(inside) == (repository / shipped).read_bytes(),
                   f"{inside} is missing from the zip or differs from the repository's")
    # The zip stores local time in two-second steps; scripts/release writes it as UTC.
    when = datetime.fromtimestamp(epoch, timezone.utc)
    for entry in entries:
        stored = datetime(*entry.date_time, tzinfo=timezone.utc)
        check.that(abs((stored - when).total_seconds()) <= 2, f"{entry.filename}: time {stored}, not {when}")
        check.that(entry.external_attr >> 16 == 0o100644, f"{entry.filename}: mode {entry.external_attr >> 16:o}")
        check.that(entry.extra == b"", f"{entry.filename}: extra attributes {entry.extra!r}")
    sums = archive.read(f"{name}/SHA256SUMS").decode("ascii").splitlines()
    listed = {line.split("  ", 1)[1]: line.split("  ", 1)[0] for line in sums}
    inside = {entry[len(name) + 1:] for entry in names} - {"SHA256SUMS"}
    check.that(set(listed) == inside, f"SHA256SUMS lists {sorted(listed)}, the zip holds {sorted(inside)}")
    for path, digest in listed.items():
        check.that(hashlib.sha256(archive.read(f"{name}/{path}")).hexdigest() == digest, f"SHA256SUMS: {path}")
    return set(names)


def check_winget(check, folder, version, zip_name, zip_hash, entries):
    files = sorted(path.name for path in folder.glob("*.yaml"))
    wanted = sorted([f"{PACKAGE_ID}.yaml", f"{PACKAGE_ID}.installer.yaml", f"{PACKAGE_ID}.locale.en-US.yaml"])
    check.that(files == wanted, f"winget: {folder} holds {files}, not {wanted}")
    documents = {}
    for file in files:
        document = yaml.safe_load((folder / file).read_text("utf-8"))
        kind = document.get("ManifestType")
        check.that(kind in WINGET_SCHEMAS, f"winget {file}: ManifestType {kind}")
        if kind not in WINGET_SCHEMAS:
            continue
        check.valid(document, WINGET_SCHEMAS[kind], f"winget {file}")
        check.that(document.get("PackageIdentifier") == PACKAGE_ID and document.get("PackageVersion") == version,
                   f"winget {file}: not {PACKAGE_ID} {version}")
        documents[kind] = document
    installers = documents.get("installer", {}).get("Installers", [])
    kinds = sorted((entry.get("Architecture"), entry.get("InstallerType")) for entry in installers)
    check.that(kinds == [("x64", "wix"), ("x64", "zip"), ("x86", "wix"), ("x86", "zip")],
               f"winget: installers {kinds}, not a zip and an MSI for x64 and x86")
    by_architecture = {entry.get("Architecture"): entry for entry in installers if entry.get("InstallerType") == "zip"}
    for architecture, entry in by_architecture.items():
        label = f"winget {architecture}"
        check.that(entry.get("NestedInstallerType") == "portable", f"{label}: the zip's programs are not portable")
        check.that(entry.get("InstallerSha256", "").lower() == zip_hash, f"{label}: hash is not the zip's")
        check.that(entry.get("InstallerUrl", "").endswith("/" + zip_name), f"{label}: {entry.get('InstallerUrl')}")
        nested = entry.get("NestedInstallerFiles", [])
        check.that(sorted(item.get("PortableCommandAlias") for item in nested) == ["brumix", "winbrumix"],
                   f"{label}: aliases {nested}")
        for item in nested:
            path = zip_paths(item["RelativeFilePath"])
            check.that(path in entries and path.split("/")[1] == ZIP_FOLDERS.get(architecture),
                       f"{label}: {path} is not this architecture's program in the zip")
    msis = {entry.get("Architecture"): entry for entry in installers if entry.get("InstallerType") == "wix"}
    return [entry.get("InstallerUrl") for entry in by_architecture.values()], msis


def msi_table(msi, table):
    exported = subprocess.run(["msiinfo", "export", str(msi), table], capture_output=True, text=True, check=True,
                              timeout=60).stdout
    return [line.split("\t") for line in exported.splitlines()[3:]]


def check_msi(check, msi, entry, version, epoch, archive, name, zip_url):
    """One MSI against its winget entry and the zip: the same codes, hash and version, the same
    files for its architecture, and the fixed package time that makes two builds the same."""
    label = msi.name
    data = msi.read_bytes()
    digest = hashlib.sha256(data).hexdigest()
    check.that((msi.parent / f"{msi.name}.sha256").read_text("ascii") == f"{digest}  {msi.name}\n",
               f"{label}.sha256 is not the MSI's")
    properties = dict(row[:2] for row in msi_table(msi, "Property") if len(row) >= 2)
    check.that(properties.get("ProductVersion") == version,
               f"{label}: ProductVersion {properties.get('ProductVersion')}")
    check.that(entry.get("InstallerSha256", "").lower() == digest, f"winget {label}: hash is not the MSI's")
    check.that(entry.get("InstallerUrl") == zip_url.rsplit("/", 1)[0] + "/" + msi.name,
               f"winget {label}: {entry.get('InstallerUrl')} is not beside the zip")
    check.that(entry.get("Scope") == "machine" and entry.get("UpgradeBehavior") == "install",
               f"winget {label}: not a per-machine install over the older release")
    arp = (entry.get("AppsAndFeaturesEntries") or [{}])[0]
    check.that(entry.get("ProductCode") == arp.get("ProductCode") == properties.get("ProductCode"),
               f"winget {label}: ProductCode is not the MSI's {properties.get('ProductCode')}")
    check.that(arp.get("UpgradeCode") == properties.get("UpgradeCode"),
               f"winget {label}: UpgradeCode is not the MSI's {properties.get('UpgradeCode')}")
    check.that(arp.get("DisplayVersion") == version, f"winget {label}: DisplayVersion {arp.get('DisplayVersion')}")
    summary = subprocess.run(["msiinfo", "suminfo", str(msi)], capture_output=True, text=True, check=True,
                             timeout=60, env={**os.environ, "TZ": "UTC"}).stdout
    when = datetime.fromtimestamp(epoch, timezone.utc).strftime("%a %b %e %H:%M:%S %Y")
    check.that(f"Created: {when}" in summary and f"Last saved: {when}" in summary,
               f"{label}: the package's times are not the release's ({when})")
    folder = "x64" if label.endswith("-x64.msi") else "x86"
    wanted = {f"{folder}/brumix.exe", f"{folder}/winbrumix.exe", "README.md", "LICENSE", "CHANGELOG.md",
              "brumix-logon-task.xml"}
    with tempfile.TemporaryDirectory(prefix="brumix-msi-check.") as out:
        subprocess.run(["msiextract", "-C", out, str(msi)], capture_output=True, check=True, timeout=120)
        extracted = {path.name: path for path in Path(out).rglob("*") if path.is_file()}
        check.that(sorted(extracted) == sorted(Path(inside).name for inside in wanted),
                   f"{label}: holds {sorted(extracted)}")
        for inside in wanted:
            path = extracted.get(Path(inside).name)
            check.that(path is not None and path.read_bytes() == archive.read(f"{name}/{inside}"),
                       f"{label}: {Path(inside).name} is not the zip's {inside}")


def check_scoop(check, path, version, zip_hash, winget_urls, entries):
    manifest = json.loads(path.read_text("utf-8"))
    check.valid(manifest, "scoop/schema.json", "scoop")
    check.that(manifest.get("version") == version, f"scoop: version {manifest.get('version')}")
    check.that(manifest.get("hash") == zip_hash, "scoop: hash is not the zip's")
    check.that([manifest.get("url")] * 2 == winget_urls, f"scoop: url {manifest.get('url')} is not winget's")
    architectures = manifest.get("architecture", {})
    check.that(sorted(architectures) == ["32bit", "64bit"], f"scoop: architectures {sorted(architectures)}")
    shortcuts = manifest.get("shortcuts", [])
    for architecture, settings in architectures.items():
        folder = zip_paths(settings.get("extract_dir", ""))
        check.that(folder.split("/")[-1] == ZIP_FOLDERS[architecture], f"scoop {architecture}: extracts {folder}")
        for program in [manifest.get("bin")] + [shortcut[0] for shortcut in shortcuts]:
            check.that(f"{folder}/{program}" in entries, f"scoop {architecture}: {folder}/{program} is not in the zip")
    update = manifest.get("autoupdate", {})
    check.that(update.get("url", "").replace("$version", version) == manifest.get("url"),
               f"scoop: autoupdate url {update.get('url')} does not give this release's")
    check.that(update.get("hash", {}).get("url") == "$url.sha256", "scoop: autoupdate hash is not read from .sha256")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--dist", required=True, type=Path)
    parser.add_argument("--version", required=True)
    parser.add_argument("--epoch", required=True, type=int)
    parser.add_argument("--schemas", required=True, type=Path)
    args = parser.parse_args()

    check = Check(args.schemas)
    name = f"winbrumix-{args.version}"
    zip_path = args.dist / f"{name}.zip"
    zip_hash = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    sidecar = (args.dist / f"{name}.zip.sha256").read_text("ascii")
    check.that(sidecar == f"{zip_hash}  {name}.zip\n", f"{name}.zip.sha256 says {sidecar!r}, the zip is {zip_hash}")
    with zipfile.ZipFile(zip_path) as archive:
        entries = check_zip(check, archive, name, args.epoch, Path(__file__).resolve().parents[2])
    winget = args.dist / "winget" / "manifests" / "q" / "Quellmar" / "WinBrumix" / args.version
    urls, msis = check_winget(check, winget, args.version, f"{name}.zip", zip_hash, entries)
    check_scoop(check, args.dist / "scoop" / "winbrumix.json", args.version, zip_hash, urls, entries)
    with zipfile.ZipFile(zip_path) as archive:
        for architecture in ("x64", "x86"):
            msi = args.dist / f"{name}-{architecture}.msi"
            check.that(msi.exists() and architecture in msis, f"no {msi.name} or no winget entry for it")
            if msi.exists() and architecture in msis:
                check_msi(check, msi, msis[architecture], args.version, args.epoch, archive, name, urls[0])

    for problem in check.problems:
        print(f"release check: {problem}", file=sys.stderr)
    if check.problems:
        return 1
    print(f"release check: 3 winget manifests and the Scoop manifest valid against their schemas; "
          f"every hash is the zip's ({zip_hash}) or its MSI's; LICENSE, CHANGELOG.md and the log-on task in the zip; "
          f"each MSI holds the zip's files of its architecture, under the codes the winget manifest gives")
    return 0


if __name__ == "__main__":
    sys.exit(main())
