// Writes the order list of a whole rack, as Inventory.vbs does, from JScript: every module the
// running KVX Stratigon Utility sees, with its configuration and each upgrade kit that fits it,
// one CSV line per upgrade. No message box waits for a person: DisplayAlerts is false, and what
// the utility would have shown goes into the Remarks column. Starts the utility when it is not
// running.
//
//   cscript //nologo inventory.js FILE.csv
//
// The utility does not close while it believes a client holds its objects. WScript.Quit ends a
// script without letting them go (under Wine they stay held until the Wine server restarts),
// so after success the script simply ends, which lets go of everything; it quits with an exit
// code only when it failed.
var kComplete = 112;  // ReadStatus of a module read completely

// The utility's description on one line: its own text, then what it kept from the screen.
function oneLine(text) {
    var parts = String(text).replace(/\r/g, "").split("\n"), kept = [];
    for (var i = 0; i < parts.length; i++)
        if (parts[i] != "") kept.push(parts[i]);
    return kept.join(" / ");
}

function quoted(text) { return '"' + String(text).replace(/"/g, '""') + '"'; }

// One line: the module, then the upgrade's kit option, depth and speed (tab-separated as the
// utility lists them), then the remark.
function writeModule(file, module, upgrade, remark) {
    var columns = (upgrade + "\t\t").split("\t");
    var fields = [module.FrameName, module.Slot, module.ProductType, module.SerialNumber, module.UniqueID,
                  module.MemoryDepth, module.StateSpeed, module.TimingSpeed, module.Channels,
                  columns[0], columns[1], columns[2], remark];
    for (var i = 0; i < fields.length; i++)
        fields[i] = quoted(fields[i]);
    file.WriteLine(fields.join(","));
}

// The lines of one module; how many.
function writeUpgrades(file, module) {
    var upgrades;
    try {
        upgrades = new VBArray(module.PossibleUpgrades).toArray();
    } catch (e) {
        writeModule(file, module, "", oneLine(e.description || e.message));
        return 1;
    }
    if (module.ReadStatus != kComplete) {
        writeModule(file, module, "", "Not read completely (status " + module.ReadStatus + ")");
        return 1;
    }
    if (upgrades.length == 0) {
        writeModule(file, module, "", "No upgrade fits");
        return 1;
    }
    for (var u = 0; u < upgrades.length; u++)
        writeModule(file, module, upgrades[u], "");
    return upgrades.length;
}

function writeInventory(stratigon, path) {
    stratigon.DisplayAlerts = false;
    var modules = stratigon.Modules, lines = 0;
    var file = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(path, true);
    file.WriteLine(["Frame", "Slot", "Product", "Serial number", "Unique ID", "Memory depth", "State speed",
                    "Timing speed", "Channels", "Upgrade", "Resulting depth", "Resulting speed", "Remarks"].join(","));
    for (var each = new Enumerator(modules); !each.atEnd(); each.moveNext())
        lines += writeUpgrades(file, each.item());
    file.Close();
    WScript.Echo("Wrote " + lines + " lines for " + modules.Count + " modules to " + path);
}

function main() {
    if (WScript.Arguments.length != 1) {
        WScript.Echo("Usage: cscript //nologo inventory.js FILE.csv");
        return 2;
    }
    var stratigon;
    try {
        stratigon = new ActiveXObject("Stratigon.Application");
    } catch (e) {
        WScript.Echo("Cannot reach the KVX Stratigon Utility (Stratigon.Application): " + (e.description || e.message));
        return 3;
    }
    try {
        writeInventory(stratigon, WScript.Arguments(0));
        return 0;
    } catch (e) {
        WScript.Echo("The inventory failed: " + oneLine(e.description || e.message));
        return 1;
    }
}

var status = main();
if (status != 0)
    WScript.Quit(status);
