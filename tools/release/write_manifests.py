#!/usr/bin/env python3
"""Writes the winget (multi-file, 1.10.0) and Scoop manifests for a release zip just built."""
import argparse
import hashlib
import json
import re
from pathlib import Path

import yaml

PACKAGE_ID = "Quellmar.WinBrumix"
PUBLISHER = "Quellmar"
PACKAGE_NAME = "Win Brumix"
HOMEPAGE = "http://www.quellmar.example/"
LICENSE_ID = "MIT"
SHORT_DESCRIPTION = "Counts and clears the browser's cache, cookies and typed addresses"
DESCRIPTION = (
    "A small window (winbrumix) and a console program (brumix) that count and clear the entries "
    "of the system browser's URL cache, its cookies and the addresses typed into its address bar, "
    "by hand, every few seconds while minimised, or from a script or a scheduled task."
)
SETTINGS_NOTE = (
    "The window remembers its choices under HKCU\\SOFTWARE\\Quellmar\\Win Brumix; uninstalling "
    'leaves them. To remove them: reg delete "HKCU\\SOFTWARE\\Quellmar\\Win Brumix" /f'
)
MANIFEST_VERSION = "1.10.0"
LOCALE = "en-US"
# The zip's folders, the winget architecture names and Scoop's for each.
ARCHITECTURES = [("x64", "x64", "64bit"), ("x86", "x86", "32bit")]
PROGRAMS = ["brumix", "winbrumix"]


def release_entry(changelog, version):
    """The date and the text of a version's entry in a Keep a Changelog file."""
    pattern = rf"^## \[{re.escape(version)}\] - (\d{{4}}-\d{{2}}-\d{{2}})\n(.*?)(?=^## |\Z)"
    match = re.search(pattern, changelog, re.M | re.S)
    if not match:
        raise SystemExit(f"write_manifests: CHANGELOG.md has no '## [{version}] - DATE' entry")
    return match.group(1), match.group(2).strip()


class ManifestDumper(yaml.SafeDumper):
    """Writes texts of several lines as literal blocks, the way people write manifests."""


ManifestDumper.add_representer(
    str, lambda dumper, text: dumper.represent_scalar("tag:yaml.org,2002:str", text, style="|" if "\n" in text else None))


def write_yaml(path, schema_kind, document):
    header = f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{schema_kind}.{MANIFEST_VERSION}.schema.json\n\n"
    path.write_text(header + yaml.dump(document, Dumper=ManifestDumper, sort_keys=False, allow_unicode=True, width=100), "utf-8")


def winget_manifests(out, version, url, sha256, release_date, release_notes, copyright_line):
    folder = out / "winget" / "manifests" / PACKAGE_ID[0].lower() / Path(*PACKAGE_ID.split(".")) / version
    folder.mkdir(parents=True, exist_ok=True)
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    tail = {"ManifestVersion": MANIFEST_VERSION}
    write_yaml(folder / f"{PACKAGE_ID}.yaml", "version",
               {**common, "DefaultLocale": LOCALE, "ManifestType": "version", **tail})
    installers = [{
        "Architecture": winget_arch,
        "InstallerUrl": url,
        "InstallerSha256": sha256.upper(),
        "NestedInstallerFiles": [
            {"RelativeFilePath": f"winbrumix-{version}\\{folder_name}\\{program}.exe", "PortableCommandAlias": program}
            for program in PROGRAMS
        ],
    } for folder_name, winget_arch, _ in ARCHITECTURES]
    write_yaml(folder / f"{PACKAGE_ID}.installer.yaml", "installer", {
        **common,
        "InstallerType": "zip",
        "NestedInstallerType": "portable",
        "ReleaseDate": release_date,
        "Installers": installers,
        "ManifestType": "installer",
        **tail,
    })
    write_yaml(folder / f"{PACKAGE_ID}.locale.{LOCALE}.yaml", "defaultLocale", {
        **common,
        "PackageLocale": LOCALE,
        "Publisher": PUBLISHER,
        "PublisherUrl": HOMEPAGE,
        "PackageName": PACKAGE_NAME,
        "PackageUrl": HOMEPAGE,
        "License": LICENSE_ID,
        "Copyright": copyright_line,
        "ShortDescription": SHORT_DESCRIPTION,
        "Description": DESCRIPTION,
        "Moniker": "winbrumix",
        "Tags": ["browser", "cache", "cookies", "privacy", "cleaner"],
        "ReleaseNotes": release_notes,
        "InstallationNotes": SETTINGS_NOTE,
        "ManifestType": "defaultLocale",
        **tail,
    })
    return folder


def scoop_manifest(out, version, url, url_template, releases_page, sha256):
    folder = out / "scoop"
    folder.mkdir(parents=True, exist_ok=True)

    def per_architecture(version_text):
        return {scoop_arch: {"extract_dir": f"winbrumix-{version_text}\\{folder_name}"}
                for folder_name, _, scoop_arch in ARCHITECTURES}

    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": HOMEPAGE,
        "license": LICENSE_ID,
        "notes": SETTINGS_NOTE,
        "url": url,
        "hash": sha256.lower(),
        "architecture": per_architecture(version),
        "bin": "brumix.exe",
        "shortcuts": [["winbrumix.exe", PACKAGE_NAME]],
        "checkver": {"url": releases_page, "regex": r"winbrumix-([\d.]+)\.zip"},
        # The next release's hash is the first word of the .sha256 file published beside its zip.
        "autoupdate": {
            "url": url_template,
            "hash": {"url": "$url.sha256", "regex": "^$sha256"},
            "architecture": per_architecture("$version"),
        },
    }
    path = folder / "winbrumix.json"
    path.write_text(json.dumps(manifest, indent=4) + "\n", "utf-8")
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--version", required=True)
    parser.add_argument("--zip", required=True, type=Path)
    parser.add_argument("--url", required=True, help="the download address, with $version for the version")
    parser.add_argument("--releases-page", required=True, help="the page that links every release's zip")
    parser.add_argument("--changelog", required=True, type=Path)
    parser.add_argument("--license", required=True, type=Path)
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()

    version = args.version
    release_date, release_notes = release_entry(args.changelog.read_text("utf-8"), version)
    if "$version" not in args.url:
        raise SystemExit("write_manifests: the download address needs $version, for Scoop's autoupdate")
    url = args.url.replace("$version", version)
    sha256 = hashlib.sha256(args.zip.read_bytes()).hexdigest()
    copyright_line = next(line for line in args.license.read_text("utf-8").splitlines() if line.startswith("Copyright"))
    print(winget_manifests(args.out, version, url, sha256, release_date, release_notes, copyright_line))
    print(scoop_manifest(args.out, version, url, args.url, args.releases_page, sha256))


if __name__ == "__main__":
    main()
