' Writes the order list of a whole rack: every module the running KVX Stratigon Utility sees,
' with its configuration and each upgrade kit that fits it, one CSV line per upgrade (a module
' without one gets a line of its own), for a spreadsheet or a purchaser. No message box waits
' for a person: DisplayAlerts is False, and what the utility would have shown goes into the
' Remarks column. Starts the utility when it is not running.
'
'   cscript //nologo Inventory.vbs FILE.csv
Option Explicit

Const kComplete = 112   ' ReadStatus of a module read completely
Dim arguments, stratigon, modules, module, upgrades, upgrade, files, file, lines

Set arguments = WScript.Arguments
If arguments.Count <> 1 Then
    WScript.Echo "Usage: cscript //nologo Inventory.vbs FILE.csv"
    WScript.Quit 2
End If

On Error Resume Next
Set stratigon = CreateObject("Stratigon.Application")
If Not IsObject(stratigon) Then
    WScript.Echo "Cannot reach the KVX Stratigon Utility (Stratigon.Application): " & Err.Description
    WScript.Quit 3
End If
stratigon.DisplayAlerts = False
Set modules = stratigon.Modules
Check "Modules"

Set files = CreateObject("Scripting.FileSystemObject")
Set file = files.CreateTextFile(arguments(0), True)
Check "Writing " & arguments(0)
file.WriteLine "Frame,Slot,Product,Serial number,Unique ID,Memory depth,State speed,Timing speed,Channels," & _
    "Upgrade,Resulting depth,Resulting speed,Remarks"
lines = 0
For Each module In modules
    Err.Clear
    upgrades = module.PossibleUpgrades
    If Err.Number <> 0 Or Err.Description <> "" Then
        WriteModule module, "", OneLine(Err.Description)
    ElseIf module.ReadStatus <> kComplete Then
        WriteModule module, "", "Not read completely (status " & module.ReadStatus & ")"
    ElseIf UBound(upgrades) < 0 Then
        WriteModule module, "", "No upgrade fits"
    Else
        For Each upgrade In upgrades
            WriteModule module, upgrade, ""
        Next
    End If
Next
file.Close
Check "Writing " & arguments(0)
WScript.Echo "Wrote " & lines & " lines for " & modules.Count & " modules to " & arguments(0)
Set module = Nothing
Set modules = Nothing
Set stratigon = Nothing

' One line: the module, then the upgrade's kit option, depth and speed (tab-separated as the
' utility lists them), then the remark.
Sub WriteModule(module, upgrade, remark)
    Dim columns, field, line, separator
    columns = Split(upgrade & vbTab & vbTab, vbTab)
    separator = ""
    For Each field In Array(module.FrameName, module.Slot, module.ProductType, module.SerialNumber, _
            module.UniqueID, module.MemoryDepth, module.StateSpeed, module.TimingSpeed, module.Channels, _
            columns(0), columns(1), columns(2), remark)
        line = line & separator & Quoted(field)
        separator = ","
    Next
    file.WriteLine line
    lines = lines + 1
End Sub

' A CSV field: in quotes, quotes inside doubled.
Function Quoted(text)
    Quoted = """" & Replace(CStr(text), """", """""") & """"
End Function

' The utility's description on one line: its own text, then what it kept from the screen.
Function OneLine(text)
    Dim part, parts
    OneLine = ""
    parts = Split(Replace(text, vbCr, ""), vbLf)
    For Each part In parts
        If part <> "" Then
            If OneLine <> "" Then OneLine = OneLine & " / "
            OneLine = OneLine & part
        End If
    Next
End Function

' The object is let go before WScript.Quit, which ends the script without releasing it: the
' utility would not close while it believes a client is still connected.
Sub Check(what)
    If Err.Number <> 0 Or Err.Description <> "" Then
        WScript.Echo what & " failed: " & OneLine(Err.Description)
        Set module = Nothing
        Set modules = Nothing
        Set stratigon = Nothing
        WScript.Quit 1
    End If
End Sub
