"""Sets an MSI's package code and times in place: wixl 0.101 draws the code at random and stamps
the time of the build, so two builds of one commit would differ in those bytes alone."""
import struct
import uuid

SIGNATURE = bytes.fromhex("D0CF11E0A1B11AE1")
SUMMARY_STREAM = "\x05SummaryInformation"
END_OF_CHAIN = 0xFFFFFFFE
# Property ids of the summary information and the types they hold (MS-OLEPS).
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
FILETIME_EPOCH_OFFSET = 11644473600  # seconds from 1601-01-01 to 1970-01-01


class CompoundFile:
    """The few parts of a compound file (MS-CFB) needed to find one stream's bytes in the file."""

    def __init__(self, data):
        if data[:8] != SIGNATURE:
            raise ValueError("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (fat_count, directory_start, _, self.mini_cutoff, minifat_start, _, difat_start,
         difat_count) = struct.unpack_from("<8I", data, 0x2C)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        sector = difat_start
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))
            fat_sectors += entries[:-1]
            sector = entries[-1]
        self.fat = []
        for sector in fat_sectors[:fat_count]:
            self.fat += struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))
        self.minifat = []
        for sector in self.chain(minifat_start):
            self.minifat += struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))
        self.entries = {}
        for sector in self.chain(directory_start):
            for at in range(self.offset(sector), self.offset(sector) + self.sector_size, 128):
                name_length = struct.unpack_from("<H", data, at + 0x40)[0]
                name = data[at:at + max(name_length - 2, 0)].decode("utf-16-le")
                start, size = struct.unpack_from("<IQ", data, at + 0x74)
                self.entries.setdefault(name, (start, size & 0xFFFFFFFF))
        root_start, _ = self.entries["Root Entry"]
        self.mini_stream = [self.offset(sector) for sector in self.chain(root_start)]

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        sectors, sector = [], start
        while sector != END_OF_CHAIN:
            if sector >= len(table) or len(sectors) > len(table):
                raise ValueError("broken sector chain")
            sectors.append(sector)
            sector = table[sector]
        return sectors

    def stream_offsets(self, name):
        """The file offset of each byte of the stream, in order."""
        start, size = self.entries[name]
        offsets = []
        if size < self.mini_cutoff:
            for mini in self.chain(start, self.minifat):
                at = mini * self.mini_size
                base = self.mini_stream[at // self.sector_size] + at % self.sector_size
                offsets += range(base, base + self.mini_size)
        else:
            for sector in self.chain(start):
                offsets += range(self.offset(sector), self.offset(sector) + self.sector_size)
        return offsets[:size]


def filetime(epoch):
    return (epoch + FILETIME_EPOCH_OFFSET) * 10_000_000


def patched_summary(stream, package_code, epoch):
    """The summary information with the revision number (the package code) and both times set."""
    stream = bytearray(stream)
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    done = set()
    for index in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * index)
        at += section
        kind = struct.unpack_from("<I", stream, at)[0]
        if pid == PID_REVNUMBER and kind == VT_LPSTR:
            text = ("{" + str(package_code).upper() + "}").encode("ascii") + b"\0"
            if struct.unpack_from("<I", stream, at + 4)[0] != len(text):
                raise ValueError("the revision number is not a braced GUID")
            stream[at + 8:at + 8 + len(text)] = text
        elif pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM) and kind == VT_FILETIME:
            struct.pack_into("<Q", stream, at + 4, filetime(epoch))
        else:
            continue
        done.add(pid)
    missing = {PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM} - done
    if missing:
        raise ValueError(f"the summary information lacks properties {sorted(missing)}")
    return bytes(stream)


def set_package_code_and_time(path, package_code: uuid.UUID, epoch: int):
    data = bytearray(path.read_bytes())
    offsets = CompoundFile(bytes(data)).stream_offsets(SUMMARY_STREAM)
    stream = patched_summary(bytes(data[at] for at in offsets), package_code, epoch)
    for at, byte in zip(offsets, stream):
        data[at] = byte
    path.write_bytes(bytes(data))

