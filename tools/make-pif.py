#!/usr/bin/env python3
"""Writes shipped/program/restore.pif, the program-information file that makes Windows 95/98
run Restore.bat in MS-DOS mode.

The backup run copies it beside every Restore.bat as Restore.pif. It names no start
directory, so Windows starts the script in its own folder, the backup directory, which is
where the script expects the copies it names without a directory.

Layout, as Windows 95 writes a PIF for a program set to MS-DOS mode (967 bytes):

  0x000  basic section (0x171 bytes): title, program file, flags, screen
  0x171  heading "MICROSOFT PIFEX"  -> data at 0x000
  0x187  heading "WINDOWS 386 3.0"  -> data at 0x19D (0x68 bytes)
  0x205  heading "WINDOWS VMM 4.0"  -> data at 0x21B (0x1AC bytes), last in the chain

A heading is 16 bytes of NUL-padded name, then three little-endian words: offset of the next
heading (0xFFFF for the last), offset of the section's data, length of the data.

MS-DOS mode: Windows 95 keeps the "MS-DOS mode" check box of the program's Advanced settings
as bit 23 (0x00800000) of the 32-bit option flags at offset 0x10 of the "WINDOWS 386 3.0"
section's data. In this file that is byte 0x1AF, bit 7 (value 0x80). A reader should find
the section through the heading chain rather than rely on the fixed offset.

Run from anywhere: python3 tools/make-pif.py
"""

import pathlib
import struct

TITLE = "Velko Restore"
PROGRAM = "RESTORE.BAT"

BASIC_LENGTH = 0x171
HEADING_LENGTH = 0x16
W386_LENGTH = 0x68
VMM_LENGTH = 0x1AC
LAST_HEADING = 0xFFFF

BASIC_CLOSE_ON_EXIT = 0x0010

W386_FULL_SCREEN = 0x00000008
W386_DETECT_IDLE_TIME = 0x00001000
W386_FAST_PASTE = 0x00020000
W386_MSDOS_MODE = 0x00800000
W386_OPTIONS_OFFSET = 0x10

VMM_VIDEO_EMULATE_ROM = 0x0001
VMM_VIDEO_FULL_SCREEN = 0x0100
VMM_FONTS_RASTER_TRUETYPE_AUTO = 0x001C


def text(value, length, pad=b"\0"):
    data = value.encode("ascii")
    assert len(data) <= length, value
    return data + pad * (length - len(data))


def basic_section():
    section = bytearray(BASIC_LENGTH)
    section[0x02:0x20] = text(TITLE, 30, pad=b" ")
    struct.pack_into("<HH", section, 0x20, 640, 128)        # conventional memory, KB
    section[0x24:0x63] = text(PROGRAM, 63)                  # no directory: found beside the PIF
    struct.pack_into("<H", section, 0x63, BASIC_CLOSE_ON_EXIT)
    # 0x65 start directory and 0xA5 parameters stay empty.
    section[0xE5:0xED] = bytes([0, 1, 0x00, 0xFF, 25, 80, 0, 0])  # text mode, 1 page, 80x25
    struct.pack_into("<H", section, 0xED, 7)
    struct.pack_into("<H", section, 0x16F, 0x20E0)         # the usual Windows defaults of flags 2
    section[0x01] = sum(section[0x02:0x171]) & 0xFF         # checksum over 0x02..0x170
    return bytes(section)


def w386_section():
    section = bytearray(W386_LENGTH)
    # conventional max/min, foreground/background priority, EMS and XMS max/min (0xFFFF: auto)
    struct.pack_into("<8H", section, 0x00, 640, 0, 100, 50, 0xFFFF, 0, 0xFFFF, 0)
    options = W386_MSDOS_MODE | W386_FULL_SCREEN | W386_DETECT_IDLE_TIME | W386_FAST_PASTE
    struct.pack_into("<I", section, W386_OPTIONS_OFFSET, options)
    struct.pack_into("<H", section, 0x14, 0x001F)           # video ROM emulation, text memory
    struct.pack_into("<HHI", section, 0x20, 100, 50, 0)     # priorities again, as Windows does
    return bytes(section)


def vmm_section():
    section = bytearray(VMM_LENGTH)
    section[0x058:0x0A8] = text("PIFMGR.DLL", 80)           # icon 0 of PIFMGR.DLL: MS-DOS
    struct.pack_into("<H", section, 0x0B6, 50)              # idle sensitivity
    struct.pack_into("<H", section, 0x0B8, VMM_VIDEO_EMULATE_ROM | VMM_VIDEO_FULL_SCREEN)
    struct.pack_into("<H", section, 0x0C4, 0x0001)          # fast paste
    # keyboard timing values Windows writes by default
    struct.pack_into("<8H", section, 0x0C6, 0, 5, 25, 3, 200, 1000, 2, 10)
    struct.pack_into("<H", section, 0x0D6, 0x0001)          # mouse: QuickEdit off
    struct.pack_into("<H", section, 0x0DE, VMM_FONTS_RASTER_TRUETYPE_AUTO)
    section[0x0EA:0x10A] = text("Terminal", 32)
    section[0x10A:0x12A] = text("Courier New", 32)
    struct.pack_into("<H", section, 0x12C, 0x0003)          # window: toolbar
    struct.pack_into("<HH", section, 0x130, 80, 25)         # screen columns and rows
    return bytes(section)


def heading(name, next_heading, data_offset, data_length):
    return text(name, 16) + struct.pack("<HHH", next_heading, data_offset, data_length)


def pif():
    w386_heading = BASIC_LENGTH + HEADING_LENGTH
    w386_data = w386_heading + HEADING_LENGTH
    vmm_heading = w386_data + W386_LENGTH
    vmm_data = vmm_heading + HEADING_LENGTH
    data = (basic_section()
            + heading("MICROSOFT PIFEX", w386_heading, 0, BASIC_LENGTH)
            + heading("WINDOWS 386 3.0", vmm_heading, w386_data, W386_LENGTH)
            + w386_section()
            + heading("WINDOWS VMM 4.0", LAST_HEADING, vmm_data, VMM_LENGTH)
            + vmm_section())
    assert len(data) == vmm_data + VMM_LENGTH == 967
    assert data[0x1AF] & 0x80, "MS-DOS mode flag is not where the comment says"
    return data


def main():
    target = pathlib.Path(__file__).resolve().parent.parent / "shipped" / "program" / "restore.pif"
    target.write_bytes(pif())
    print(f"{target}: {target.stat().st_size} bytes")


if __name__ == "__main__":
    main()
