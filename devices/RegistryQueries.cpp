#include "devices/RegistryQueries.h"

#include "format/RegistryText.h"
#include "format/Utf8Text.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kTextBytes = 256;

const RegistryValue* SearchUpward(const RegistryEntry& entry, const char* key)
{
    if (const RegistryValue* value = entry.Search(key, kIterateRecursively | kIterateParents))
        return value;
    return entry.Search(key, kIterateRecursively);
}

const RegistryValue* SearchOwnEntry(const RegistryEntry& entry, const char* key)
{
    if (const RegistryValue* value = entry.Search(key, kIterateParents))
        return value;
    return entry.Search(key, kIterateRecursively);
}

const RegistryValue* SearchAncestors(const RegistryEntry& entry, const char* key)
{
    return entry.Search(key, kIterateRecursively | kIterateParents);
}

// Registry strings are taken as ASCII of at most 255 characters; any other
// string counts as absent.
bool ConvertString(const RegistryValue* value, std::string* out)
{
    const std::string* text = value ? value->AsString() : nullptr;
    if (!text || text->size() >= kTextBytes)
        return false;
    for (const unsigned char c : *text) {
        if (c >= 0x80 || c == 0)
            return false;
    }
    *out = *text;
    return true;
}

bool ConvertString(const RegistryDictionary* dictionary, const char* key, std::string* out)
{
    if (!dictionary)
        return false;
    const auto found = dictionary->find(key);
    return found != dictionary->end() && ConvertString(&found->second, out);
}

// A loop device's backing path, which the classic rows never had, is a
// file name: any valid UTF-8 converts (the sysfs layer escapes the rest).
bool ConvertUtf8String(const RegistryValue* value, std::string* out)
{
    const std::string* text = value ? value->AsString() : nullptr;
    if (!text || text->size() >= kTextBytes || text->find('\0') != std::string::npos || ValidUtf8(*text) != *text)
        return false;
    *out = *text;
    return true;
}

std::string NumberText(const RegistryNumber& number, bool hex)
{
    char text[kTextBytes] = {};
    FormatRegistryNumber(number, text, hex);
    return text;
}

// The bus text of an ATA device from "AAPL,bus-id" or "io-device-location";
// false when neither exists.
bool AtaBusText(const RegistryEntry& entry, std::string* bus)
{
    if (const RegistryValue* busId = SearchAncestors(entry, "AAPL,bus-id")) {
        const RegistryData* bytes = busId->AsData();
        if (!bytes) {
            *bus = "???";
            return true;
        }
        char dump[kTextBytes] = "";
        FormatRegistryData(bytes->data(), bytes->size(), dump);
        const std::string hex = dump;
        const std::size_t first = hex.find_first_not_of('0');
        *bus = first == std::string::npos ? "0" : hex.substr(first);
        return true;
    }
    if (const RegistryValue* location = SearchAncestors(entry, "io-device-location")) {
        const RegistryData* bytes = location->AsData();
        if (!bytes) {
            *bus = "???";
            return true;
        }
        std::string text(bytes->begin(), bytes->end());
        text.resize(std::strlen(text.c_str()));
        if (text.size() >= kTextBytes)
            text.resize(kTextBytes - 1);
        *bus = text.empty() ? "0" : text;
        return true;
    }
    return false;
}

std::string AtaInterfaceText(const RegistryEntry& entry, const std::string& ic,
                             const RegistryDictionary& protocol)
{
    std::string text = ic;
    const RegistryNumber* unit = RegistryNumberOf(entry, "unit number");
    if (!unit) {
        std::string location;
        if (ConvertString(&protocol, "Physical Interconnect Location", &location))
            text += " " + location;
        return text;
    }
    const std::string unitText = NumberText(*unit, false);
    std::string bus;
    if (AtaBusText(entry, &bus)) {
        if (bus.find("Channel") != std::string::npos)
            return "Serial ATA " + bus;
        return ic + " Bus " + bus + ": Dev " + unitText;
    }
    if (const RegistryNumber* channel = RegistryNumberOf(entry, "Channel"))
        return "Channel: " + NumberText(*channel, false);
    std::string deviceType;
    if (ConvertString(SearchAncestors(entry, "device-type"), &deviceType)) {
        if (std::string("Generic").find(deviceType) != std::string::npos) {
            std::string socket;
            if (ConvertString(SearchAncestors(entry, "socket type"), &socket))
                text = socket;
        } else {
            text = "device-type: " + deviceType;
        }
    }
    return text;
}

std::string KeyedNumberText(const RegistryEntry& entry, const std::string& ic, const char* key,
                            const char* label, bool hex)
{
    const RegistryNumber* number = RegistryNumberOf(entry, key);
    return number ? ic + label + NumberText(*number, hex) : std::string();
}

// Attachments Linux commonly has that the classic rows do not name: the
// text shows what identifies the device on its bus.
std::string LinuxInterfaceText(const RegistryEntry& entry, const std::string& ic)
{
    std::string detail;
    if (ic == "NVMe")
        return KeyedNumberText(entry, ic, "NVMe Namespace", ":  Namespace = ", false);
    if (ic == "Virtio" && ConvertString(SearchUpward(entry, "Virtio Bus"), &detail))
        return ic + ":  Bus = " + detail;
    if (ic == "Loop" && ConvertUtf8String(SearchUpward(entry, "Backing File"), &detail))
        return ic + ":  File = " + detail;
    if ((ic == "MMC" || ic == "SD") && ConvertString(SearchUpward(entry, "Card Name"), &detail))
        return ic + ":  Card = " + detail;
    if (ic == "Xen" && ConvertString(SearchUpward(entry, "Xen Device"), &detail))
        return "Xen Virtual Block Device:  " + detail;
    if (ic == "Device Mapper" && ConvertString(SearchUpward(entry, "Mapper Name"), &detail))
        return ic + ":  Name = " + detail;
    if (ic == "bcache" && ConvertString(SearchUpward(entry, "Stacked On"), &detail))
        return ic + ":  On = " + (detail.empty() ? "(no backing device)" : detail);
    if (ic == "NBD" && ConvertString(SearchOwnEntry(entry, "BSD Name"), &detail))
        return "Network Block Device:  " + detail;
    return std::string();
}

std::string InterfaceText(const RegistryEntry& entry)
{
    const RegistryDictionary* protocol = RegistryDictionaryOf(entry, "Protocol Characteristics");
    std::string ic;
    if (!ConvertString(protocol, "Physical Interconnect", &ic))
        return std::string();
    if (ic.find("SCSI") != std::string::npos) {
        const auto target = protocol->find("SCSI Target Identifier");
        if (target != protocol->end()) {
            const RegistryNumber* number = target->second.AsNumber();
            return number ? ic + ":  ID = " + NumberText(*number, false) : std::string();
        }
        return KeyedNumberText(entry, ic, "SCSI Target", ":  ID = ", false);
    }
    if (ic.find("ATA") != std::string::npos)
        return AtaInterfaceText(entry, ic, *protocol);
    if (ic.find("FireWire") != std::string::npos)
        return KeyedNumberText(entry, ic, "GUID", ":  GUID = ", true);
    if (ic.find("USB") != std::string::npos)
        return KeyedNumberText(entry, ic, "locationID", ":  locationID = ", false);
    if (ic.find("Fibre Channel Interface") != std::string::npos)
        return ic;
    return LinuxInterfaceText(entry, ic);
}

std::string DeviceIconFile(const RegistryEntry& entry)
{
    std::string value;
    ConvertString(RegistryDictionaryOf(entry, "IOMediaIcon"), "IOBundleResourceFile", &value);
    return value;
}

std::string DeviceIconBundle(const RegistryEntry& entry)
{
    std::string value;
    ConvertString(RegistryDictionaryOf(entry, "IOMediaIcon"), "CFBundleIdentifier", &value);
    return value;
}

}  // namespace

const RegistryNumber* RegistryNumberOf(const RegistryEntry& entry, const char* key)
{
    const RegistryValue* value = SearchUpward(entry, key);
    return value ? value->AsNumber() : nullptr;
}

const RegistryDictionary* RegistryDictionaryOf(const RegistryEntry& entry, const char* key)
{
    const RegistryValue* value = SearchUpward(entry, key);
    return value ? value->AsDictionary() : nullptr;
}

std::string DeviceNodePath(const RegistryEntry& entry)
{
    std::string name;
    if (ConvertString(SearchOwnEntry(entry, "BSD Name"), &name) && !name.empty())
        return "/dev/" + name;
    return std::string();
}

int64_t DeviceSizeBytes(const RegistryEntry& entry)
{
    const RegistryNumber* number = RegistryNumberOf(entry, "Size");
    return number ? number->integer : 0;
}

uint64_t MaxTransferBytes(const RegistryEntry& entry)
{
    if (!RegistryNumberOf(entry, "IOMaximumSegmentByteCountRead"))
        return 0;
    const RegistryNumber* write = RegistryNumberOf(entry, "IOMaximumSegmentByteCountWrite");
    return write ? static_cast<uint64_t>(write->integer) + 1 : 0;
}

bool IsDeviceWritable(const RegistryEntry& entry)
{
    const RegistryValue* value = SearchOwnEntry(entry, "Writable");
    const bool* flag = value ? value->AsBool() : nullptr;
    return flag && *flag;
}

bool HasTableOfContents(const RegistryEntry& entry)
{
    const RegistryValue* value = SearchOwnEntry(entry, "TOC");
    return value && value->AsData();
}

std::string DeviceModelName(const RegistryEntry& entry)
{
    std::string product;
    if (!ConvertString(RegistryDictionaryOf(entry, "Device Characteristics"), "Product Name", &product))
        return std::string();
    const std::size_t first = product.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return product.substr(first, product.find_last_not_of(' ') - first + 1);
}

std::string DeviceIconPath(const RegistryEntry& entry)
{
    const std::string file = DeviceIconFile(entry);
    const std::string identifier = DeviceIconBundle(entry);
    if (identifier == kIconThemeBundle)
        return file;
    const std::string folder = "/System/Library/Extensions/";
    const std::string prefix = "com.apple.iokit.";
    if (const std::size_t at = identifier.find(prefix); at != std::string::npos)
        return folder + identifier.substr(at + prefix.size()) + ".kext/Contents/Resources/" + file;
    if (identifier.find("Vornhelm") != std::string::npos)
        return folder + "Vornhelm.kext/Contents/Resources/NonRAID.icns";
    return folder + identifier + ".kext/Contents/Resources/" + file;
}

std::string DeviceInterfaceText(const RegistryEntry& entry)
{
    std::string text = InterfaceText(entry);
    if (text.size() > 255)
        text.resize(255);
    return text;
}

std::string CompositeDeviceInterfaceText(const RegistryEntry& entry)
{
    std::string ioClass;
    std::string level;
    if (ConvertString(SearchUpward(entry, "IOClass"), &ioClass)) {
        if (ioClass.find("AppleRAID") != std::string::npos) {
            if (ConvertString(SearchUpward(entry, "AppleRAID-LevelName"), &level))
                return "AppleRAID: " + level;
            return std::string();
        }
        // Linux software RAID (md): its level as the kernel names it.
        if (ioClass == "LinuxSoftwareRAID") {
            if (ConvertString(SearchUpward(entry, "RAID Level"), &level))
                return "Linux Software RAID: " + level;
            return std::string();
        }
    }
    return DeviceInterfaceText(entry);
}
