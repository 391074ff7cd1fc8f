#!/usr/bin/env python3
"""Writes the MSI of one architecture from the release's staged files, with Debian's wixl."""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import uuid
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import msi_summary  # noqa: E402

PRODUCT_NAME = "Win Brumix"
MANUFACTURER = "Quellmar"
# Name-based codes hang off this namespace; changing it would change every product's codes.
NAMESPACE = uuid.UUID("5b0d6f6e-2f4a-4c7e-9a55-57696e42726d")
# One per architecture, for every release to come: Windows Installer finds the installed
# release to replace by it. Never change them.
UPGRADE_CODES = {
    "x64": uuid.UUID("a3f2c6e1-7d0b-5e4a-9c38-1b6f0e2d4a71"),
    "x86": uuid.UUID("c81e9b54-2a6f-5d13-8e07-4f3b9a6c2d15"),
}
# wixl's architecture, the Program Files folder (the 32-bit one for x86) and whether each
# component must say Win64 (wixl 0.101 does not infer it from the package's architecture).
ARCHITECTURES = {
    "x64": ("x64", "ProgramFiles64Folder", "yes"),
    "x86": ("x86", "ProgramFilesFolder", "no"),
}
PROGRAMS = ["winbrumix.exe", "brumix.exe"]
DOCUMENTS = ["README.md", "LICENSE", "CHANGELOG.md", "brumix-logon-task.xml"]
SHORTCUT_TARGET = "winbrumix.exe"
DOWNGRADE_MESSAGE = "A newer version of Win Brumix is already installed."
WIX_NAMESPACE = "http://schemas.microsoft.com/wix/2006/wi"


def other_architecture(arch):
    return next(other for other in ARCHITECTURES if other != arch)


def code_text(code):
    return "{" + str(code).upper() + "}"


def product_code(version, arch):
    return uuid.uuid5(NAMESPACE, f"product {arch} {version}")


def component_guid(arch, name):
    # The same file in the same place keeps its component from release to release.
    return uuid.uuid5(NAMESPACE, f"component {arch} {name}")


def msi_version(version):
    """Windows Installer reads major.minor.build (at most 255.255.65535) and ignores a fourth
    field; a version it cannot read would make a package that every install refuses."""
    parts = version.split(".")
    limits = (255, 255, 65535, 65535)
    if not 3 <= len(parts) <= 4 or not all(p.isdigit() and int(p) <= top for p, top in zip(parts, limits)):
        raise SystemExit(f"write_msi: {version} is not a version Windows Installer can compare "
                         "(at most 255.255.65535.65535)")
    return version


def identifier(name):
    return re.sub(r"[^A-Za-z0-9_.]", "_", name)


def element(parent, tag, **attributes):
    return ET.SubElement(parent, f"{{{WIX_NAMESPACE}}}{tag}", attributes)


def source(version, arch, icon_name):
    """The WiX source: one component per file, each file its component's key path."""
    wixl_arch, program_files, win64 = ARCHITECTURES[arch]
    upgrade = code_text(UPGRADE_CODES[arch])
    ET.register_namespace("", WIX_NAMESPACE)
    root = ET.Element(f"{{{WIX_NAMESPACE}}}Wix")
    product = element(root, "Product", Id=str(product_code(version, arch)).upper(), Name=PRODUCT_NAME,
                      Language="1033", Version=version, Manufacturer=MANUFACTURER, UpgradeCode=upgrade)
    element(product, "Package", InstallerVersion="500", Compressed="yes", InstallScope="perMachine",
            Manufacturer=MANUFACTURER, Description=f"{PRODUCT_NAME} {version} ({arch})")
    element(product, "Media", Id="1", Cabinet="winbrumix.cab", EmbedCab="yes")
    # Removes an older release (after InstallValidate) and refuses a newer one.
    element(product, "MajorUpgrade", DowngradeErrorMessage=DOWNGRADE_MESSAGE)
    # Windows Installer compares only the first three fields, so a release that changes the
    # fourth alone is the same version to it and MajorUpgrade would install it beside the old
    # one. This row (what wixl 0.101's missing AllowSameVersionUpgrades would add) removes it;
    # it matches newer releases too, but those the downgrade condition has refused by then.
    same = element(product, "Upgrade", Id=upgrade)
    element(same, "UpgradeVersion", Minimum=version, IncludeMinimum="yes", Property="BRUMIX_SAME_VERSION_FOUND")
    # The other architecture's package is the same product in another folder, under the same
    # shortcut and name: an older or the same release of it goes as this architecture's would,
    # and a newer one refuses this package. Each package keeps its own upgrade code, which those
    # already published know it by. wixl 0.101 needs a minimum and drops IncludeMaximum, so the
    # first row matches every version, newer too: those the condition below has refused by then.
    other = element(product, "Upgrade", Id=code_text(UPGRADE_CODES[other_architecture(arch)]))
    element(other, "UpgradeVersion", Minimum="0.0.0", IncludeMinimum="yes", Property="BRUMIX_OTHER_ARCH_FOUND")
    element(other, "UpgradeVersion", Minimum=version, IncludeMinimum="no", OnlyDetect="yes",
            Property="BRUMIX_NEWER_OTHER_ARCH_FOUND")
    element(product, "Condition", Message=DOWNGRADE_MESSAGE).text = "NOT BRUMIX_NEWER_OTHER_ARCH_FOUND"
    element(product, "Icon", Id=icon_name, SourceFile=icon_name)
    for name, value in (("ARPPRODUCTICON", icon_name), ("ARPNOMODIFY", "1"), ("ARPNOREPAIR", "1")):
        element(product, "Property", Id=name, Value=value)

    target = element(product, "Directory", Id="TARGETDIR", Name="SourceDir")
    install_dir = element(element(target, "Directory", Id=program_files), "Directory", Id="INSTALLDIR",
                          Name=PRODUCT_NAME)
    element(target, "Directory", Id="ProgramMenuFolder")
    feature = element(product, "Feature", Id="Complete", Level="1", Title=PRODUCT_NAME)
    for name in PROGRAMS + DOCUMENTS:
        key = identifier(name)
        component = element(install_dir, "Component", Id=key, Guid=str(component_guid(arch, name)).upper(),
                            Win64=win64)
        element(component, "File", Id=key, Name=name, Source=name, KeyPath="yes")
        if name == SHORTCUT_TARGET:
            # Not advertised: it starts the program, with no feature check and no repair.
            element(component, "Shortcut", Id="StartMenuShortcut", Directory="ProgramMenuFolder",
                    Name=PRODUCT_NAME, Target=f"[#{key}]", WorkingDirectory="INSTALLDIR")
        element(feature, "ComponentRef", Id=key)
    ET.indent(root)
    return ET.tostring(root, encoding="unicode", xml_declaration=True) + "\n"


def write_msi(version, arch, stage, icon, epoch, out):
    msi_version(version)
    with tempfile.TemporaryDirectory(prefix="brumix-msi.") as work:
        work = Path(work)
        # wixl takes only relative sources, and the cabinet keeps each file's time: every
        # file is copied in with the release's time, so the same files give the same package.
        files = [(stage / arch / name, name) for name in PROGRAMS] + [(stage / name, name) for name in DOCUMENTS]
        files.append((icon, icon.name))
        digest = hashlib.sha256()
        for path, name in files:
            shutil.copyfile(path, work / name)
            (work / name).chmod(0o644)
            digest.update(name.encode() + b"\0" + (work / name).read_bytes())
        wxs = source(version, arch, icon.name)
        digest.update(wxs.encode())
        (work / "winbrumix.wxs").write_text(wxs, "utf-8")
        for path in work.iterdir():
            os.utime(path, (epoch, epoch))
        built = work / "winbrumix.msi"
        run = subprocess.run(["wixl", "--arch", ARCHITECTURES[arch][0], "--output", built.name, "winbrumix.wxs"],
                             cwd=work, capture_output=True, text=True, timeout=300)
        if run.returncode != 0 or not built.exists():
            raise SystemExit(f"write_msi: wixl failed:\n{run.stdout}{run.stderr}")
        # A package code names one package's bytes: any change of file or source gives another.
        package_code = uuid.uuid5(NAMESPACE, f"package {arch} {version} {digest.hexdigest()}")
        msi_summary.set_package_code_and_time(built, package_code, epoch)
        out.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--version", required=True, help="the product version, major.minor.build.revision")
    parser.add_argument("--arch", required=True, choices=sorted(ARCHITECTURES))
    parser.add_argument("--stage", required=True, type=Path,
                        help="the release's folder: x64/ and x86/ with the programs, and the documents")
    parser.add_argument("--icon", required=True, type=Path, help="the icon Apps & features shows")
    parser.add_argument("--epoch", required=True, type=int, help="the time the package carries")
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()
    write_msi(args.version, args.arch, args.stage, args.icon, args.epoch, args.out)
    print(f"{args.out}: ProductCode {code_text(product_code(args.version, args.arch))}, "
          f"UpgradeCode {code_text(UPGRADE_CODES[args.arch])}")


if __name__ == "__main__":
    main()
