@echo off
rem Restarts the Desktop Window Manager Session Manager service, so that the
rem effects chosen in NUV Veldmark v0.1 take effect without restarting the PC.
rem It changes no setting itself. Run it as administrator.
setlocal
title Restarting the Interface Grafix System
rem The system's own commands, by their full path: cmd looks for a bare name
rem in the current folder first, where a download may have left another one
rem of that name. A 32-bit cmd on 64-bit Windows sees SysWOW64 there, which
rem has them too.
set "net=%SystemRoot%\System32\net.exe"
set "sc=%SystemRoot%\System32\sc.exe"

"%net%" session >nul 2>&1
if errorlevel 1 (
    echo This needs administrator rights.
    echo Right click over Skellan.BAT and select "Run As Administrator".
    goto failed
)

"%sc%" query UxSms >nul 2>&1
if errorlevel 1 (
    echo The Desktop Window Manager Session Manager service ^(UxSms^) is not on this system.
    echo These settings only work on Windows Vista and Windows 7.
    goto failed
)

echo Stopping the Desktop Window Manager Session Manager ...
"%net%" stop UxSms
if errorlevel 1 (
    echo The Desktop Window Manager Session Manager could not be stopped.
    echo Restart your PC to apply the settings.
    goto failed
)
echo Starting the Desktop Window Manager Session Manager ...
"%net%" start UxSms
if errorlevel 1 (
    rem Something was changed: the service is stopped, and the desktop stays
    rem without composition until it starts again, at the latest at a restart.
    echo The Desktop Window Manager Session Manager did not start again.
    echo Restart your PC to start it with the settings you applied.
    pause
    exit /b 1
)

echo Done: the desktop now uses the settings you applied.
pause
exit /b 0

:failed
echo Nothing was changed.
pause
exit /b 1
