@echo off
cd ..\..\..
copy C:\AUTOEXEC.BAT ..\..\x.txt
md "Neuer Ordner"
cd "Neuer Ordner"
copy "C:\Programme\Velko Save\Gr”áe.txt" .
dir /w
ren *.txt *.bak
del *.bak
cd ..
rd "Neuer Ordner"
call fuzz
