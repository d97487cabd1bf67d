SYS.COM - stand-in for the MS-DOS 7.10 system transfer command of Windows 98.
Part of the Velko Save demo PC; it holds no program code.
