' Upgrades a module of the running KVX Stratigon Utility, found by its serial number: makes it
' the selected module, installs one upgrade kit option on it and writes its upgrade
' information file. Starts the utility when it is not running.
'
'   cscript //nologo UpgradeBySerial.vbs SERIAL OPTION [REPORT]
'
'   SERIAL  the module's serial number, for example B012345
'   OPTION  the kit option: KVX7L1AUP-Opt-05, "KVX7L1AUP Option 05" or just 05
'   REPORT  the file to write; without it C:\My Documents\KVXUpgradeInfo.txt
Option Explicit

Dim arguments, stratigon, uniqueId, report
Set arguments = WScript.Arguments
If arguments.Count < 2 Then
    WScript.Echo "Usage: cscript //nologo UpgradeBySerial.vbs SERIAL OPTION [REPORT]"
    WScript.Quit 2
End If
report = ""
If arguments.Count > 2 Then report = arguments(2)

On Error Resume Next
Set stratigon = CreateObject("Stratigon.Application")
If Not IsObject(stratigon) Then
    WScript.Echo "Cannot reach the KVX Stratigon Utility (Stratigon.Application): " & Err.Description
    WScript.Quit 3
End If

uniqueId = stratigon.GetUniqueID(arguments(0))
Check "GetUniqueID"
WScript.Echo "Module " & arguments(0) & " has the unique ID " & uniqueId

stratigon.SelectModule uniqueId
Check "SelectModule"

stratigon.InstallUpgrade arguments(1), uniqueId
Check "InstallUpgrade"
WScript.Echo "Installed " & arguments(1)

stratigon.SaveUpgradeInfoToFile report, uniqueId, ""
Check "SaveUpgradeInfoToFile"
WScript.Echo "Wrote the upgrade information file"

stratigon.ShowWindow 1
Check "ShowWindow"
Set stratigon = Nothing

' Every failure comes with the utility's own description. Some script hosts leave Err.Number
' at 0 for a server's error codes, so the description is looked at too. The object is let go
' before WScript.Quit, which ends the script without releasing it: the utility would not close
' while it believes a client is still connected.
Sub Check(method)
    If Err.Number <> 0 Or Err.Description <> "" Then
        WScript.Echo method & " failed: " & Err.Description & " (" & Err.Source & ")"
        Set stratigon = Nothing
        WScript.Quit 1
    End If
End Sub
