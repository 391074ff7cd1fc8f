#!/usr/bin/env python3
"""Writes the winget (multi-file, 1.10.0) and Scoop manifests for a release just built: the zip
for both, and the MSIs beside it for winget."""
import argparse
import hashlib
import json
import re
import subprocess
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
# wixl cannot change PATH: the MSI's programs are found by their folder.
MSI_NOTE = (
    "The MSI installs both programs into the Program Files folder (Program Files (x86) for x86), "
    "under Win Brumix, and leaves PATH alone: run brumix there, as "
    '"%ProgramFiles%\\Win Brumix\\brumix.exe". Either MSI replaces an install of the other '
    "architecture."
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


def msi_properties(path):
    """The Property table of an MSI, as msiinfo exports it (three header lines, then name TAB value)."""
    table = subprocess.run(["msiinfo", "export", str(path), "Property"], capture_output=True, text=True,
                           check=True, timeout=60).stdout
    return dict(line.split("\t", 1) for line in table.splitlines()[3:] if "\t" in line)


def msi_installer(msi, url, version):
    """An MSI's entry: per machine, found again in Apps & features by its codes; a newer one is
    installed over it, its own major upgrade removing the older."""
    properties = msi_properties(msi)
    architecture = re.search(r"-(x64|x86)\.msi$", msi.name).group(1)
    return {
        "Architecture": architecture,
        "InstallerType": "wix",
        "Scope": "machine",
        "InstallerUrl": url.rsplit("/", 1)[0] + "/" + msi.name,
        "InstallerSha256": hashlib.sha256(msi.read_bytes()).hexdigest().upper(),
        "UpgradeBehavior": "install",
        "ProductCode": properties["ProductCode"],
        "AppsAndFeaturesEntries": [{
            "DisplayName": PACKAGE_NAME,
            "Publisher": PUBLISHER,
            "DisplayVersion": version,
            "ProductCode": properties["ProductCode"],
            "UpgradeCode": properties["UpgradeCode"],
            "InstallerType": "wix",
        }],
    }


def winget_manifests(out, version, url, sha256, msis, release_date, release_notes, copyright_line):
    folder = out / "winget" / "manifests" / PACKAGE_ID[0].lower() / Path(*PACKAGE_ID.split(".")) / version
    folder.mkdir(parents=True, exist_ok=True)
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    tail = {"ManifestVersion": MANIFEST_VERSION}
    write_yaml(folder / f"{PACKAGE_ID}.yaml", "version",
               {**common, "DefaultLocale": LOCALE, "ManifestType": "version", **tail})
    installers = [{
        "Architecture": winget_arch,
        "InstallerType": "zip",
        "NestedInstallerType": "portable",
        "InstallerUrl": url,
        "InstallerSha256": sha256.upper(),
        "NestedInstallerFiles": [
            {"RelativeFilePath": f"winbrumix-{version}\\{folder_name}\\{program}.exe", "PortableCommandAlias": program}
            for program in PROGRAMS
        ],
    } for folder_name, winget_arch, _ in ARCHITECTURES]
    installers += [msi_installer(msi, url, version) for msi in msis]
    write_yaml(folder / f"{PACKAGE_ID}.installer.yaml", "installer", {
        **common,
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
        "InstallationNotes": SETTINGS_NOTE + "\n" + MSI_NOTE,
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
    parser.add_argument("--msi", nargs="*", default=[], type=Path, help="the MSIs, published beside the zip")
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
    print(winget_manifests(args.out, version, url, sha256, args.msi, release_date, release_notes, copyright_line))
    print(scoop_manifest(args.out, version, url, args.url, args.releases_page, sha256))


if __name__ == "__main__":
    main()
