#include "report/UpgradeInfoLayout.h"

namespace stratigon {

namespace {

constexpr char kRule[] = "######################################################################\r\n";
constexpr char kColumnHeadings[] = "\tUpgrade Kit & Option\tMemory Depth\tState Speed\r\n\t";

void AppendBanner(std::string& out, const std::string& date)
{
    out.append(kRule).append(kRule);
    out.append("#\r\n");
    out.append("#\t\tKVX Stratigon Upgrade Information File\r\n");
    out.append("#\r\n");
    out.append("# This file contains information needed when ordering a KVX Stratigon\r\n");
    out.append("# upgrade kit. Contact your local Quorvalis representative for pricing\r\n");
    out.append("# and ordering information. When ordering an upgrade, include a hard\r\n");
    out.append("# copy of this file with your order.\r\n");
    out.append("#\r\n");
    out.append("# \t\t\t").append(date).append(" \r\n");
    out.append("#\r\n");
    out.append(kRule).append(kRule);
}

void AppendConfiguration(std::string& out, const UpgradeInfo& info)
{
    out.append("\r\nCurrent Configuration:\r\n");
    out.append("\r\n\tProduct Type:\t\t\t").append(info.productName);
    out.append("\r\n\tSerial Number:\t\t\t").append(info.serialNumber);
    out.append("\r\n\tUnique ID:\t\t\t").append(info.uniqueId);
    out.append("\r\n\tMemory Depth:\t\t\t").append(info.memoryDepth);
    if (!info.patternGenerator) {
        out.append("\r\n\tState Speed:\t\t\t").append(info.stateSpeed);
        out.append("\r\n\tTiming Speed:\t\t\t").append(info.timingSpeed);
        out.append("\r\n\tChannels:\t\t\t").append(info.channels);
    }
    out.append("\r\n\tStratigon Software Version:\t").append(kStratigonVersion);
    out.append(info.patternGenerator ? "\r\n\tKVXPG Software Version:\t\t" : "\r\n\tKVX Software Version:\t\t");
    out.append(info.applicationVersion);
    out.append("\r\n\tModule Firmware Version:\t").append(info.firmwareVersion);
}

void AppendUpgrades(std::string& out, const UpgradeInfo& info)
{
    out.append("\r\n\r\n\r\nUpgrade option Selected:\r\n");
    if (info.selectedLine)
        out.append("\r\n").append(kColumnHeadings).append(FileFormLine(*info.selectedLine));
    else
        out.append("\r\n\t- No Upgrade Selected -");
    out.append("\r\n\r\n\r\nUpgrades Possible:\r\n\r\n");
    if (info.possibleLines.empty()) {
        out.append("\t- No Possible Upgrades -\r\n");
        return;
    }
    out.append(kColumnHeadings);
    for (const std::string& line : info.possibleLines)
        out.append(FileFormLine(line)).append("\r\n\t");
}

}  // namespace

std::string ComposeUpgradeInfo(const UpgradeInfo& info)
{
    std::string out;
    AppendBanner(out, info.date);
    AppendConfiguration(out, info);
    AppendUpgrades(out, info);
    return out;
}

std::string FileFormLine(const std::string& displayLine)
{
    std::string line = displayLine;
    const std::size_t lastTab = line.rfind('\t');
    if (lastTab != std::string::npos)
        line.insert(lastTab, 1, '\t');
    return line;
}

}  // namespace stratigon
