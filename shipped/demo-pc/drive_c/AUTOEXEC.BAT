@ECHO OFF
SET TEMP=C:\WINDOWS\TEMP
SET TMP=C:\WINDOWS\TEMP
PATH C:\WINDOWS;C:\WINDOWS\COMMAND
mode con codepage prepare=((850) C:\WINDOWS\COMMAND\ega.cpi)
mode con codepage select=850
keyb gr,,C:\WINDOWS\COMMAND\keyboard.sys
