COMMAND.COM - stand-in for the MS-DOS 7.10 command interpreter of Windows 98.
Part of the Velko Save demo PC; it holds no program code.
