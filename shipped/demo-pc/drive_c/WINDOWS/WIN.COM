WIN.COM - stand-in for the Windows 98 start program.
Part of the Velko Save demo PC; it holds no program code.
