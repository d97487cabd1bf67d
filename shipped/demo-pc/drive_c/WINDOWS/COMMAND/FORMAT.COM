FORMAT.COM - stand-in for the MS-DOS 7.10 format command of Windows 98.
Part of the Velko Save demo PC; it holds no program code.
