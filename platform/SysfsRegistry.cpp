#include "platform/SysfsRegistry.h"

#include "platform/BlockStack.h"
#include "format/Utf8Text.h"

#include <libudev.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

std::optional<int64_t> ReadSysfsNumber(const fs::path& path)
{
    const std::string text = ReadSysfsText(path);
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (end == text.c_str())
        return std::nullopt;
    return value;
}

std::string Trimmed(std::string text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What the walk along the device path learned about the attachment.
struct Attachment {
    bool usb = false;
    bool fibre = false;
    bool ata = false;
    bool nvme = false;
    bool virtio = false;
    bool scsi = false;
    bool xen = false;
    std::string mmcType;  // "SD", "MMC", ... for memory cards
    fs::path scsiDevice;  // directory with vendor and model
    fs::path nvmeController;
    fs::path mmcCard;
};

// Bus number in the top byte, then one nibble per hub port, like the USB
// location identifiers other systems show.
int64_t UsbLocationId(const fs::path& usbDevice)
{
    const int64_t bus = ReadSysfsNumber(usbDevice / "busnum").value_or(0);
    int64_t location = (bus & 0xFF) << 24;
    const std::string devpath = ReadSysfsText(usbDevice / "devpath");
    int shift = 20;
    std::size_t start = 0;
    while (start < devpath.size() && shift >= 0) {
        const std::size_t dot = devpath.find('.', start);
        const std::string port = devpath.substr(start, dot == std::string::npos ? dot : dot - start);
        location |= (std::strtoll(port.c_str(), nullptr, 10) & 0xF) << shift;
        shift -= 4;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return location;
}

// Gives one directory of the device path its properties.
void DescribeAncestor(RegistryEntry& entry, const fs::path& dir, Attachment& attachment)
{
    static const std::regex ataPort("ata([0-9]+)");
    static const std::regex target("target[0-9]+:[0-9]+:([0-9]+)");
    static const std::regex scsiDevice("[0-9]+:[0-9]+:[0-9]+:([0-9]+)");
    static const std::regex virtioBus("virtio[0-9]+");
    static const std::regex mmcCard("mmc[0-9]+:[0-9a-fA-F]+");
    static const std::regex nvmeController("nvme[0-9]+");
    static const std::regex nvmeSubsystem("nvme-subsys[0-9]+");
    static const std::regex xenDevice("vbd-[0-9]+");
    const std::string name = dir.filename().string();
    std::smatch match;
    if (Exists(dir / "busnum") && Exists(dir / "devnum")) {
        attachment.usb = true;
        entry.Set("locationID", RegistryInteger(UsbLocationId(dir), RegistryNumber::Type::SInt32));
    } else if (name.rfind("rport-", 0) == 0) {
        attachment.fibre = true;
    } else if (std::regex_match(name, match, ataPort)) {
        attachment.ata = true;
        const std::string location = "Channel " + match[1].str();
        entry.Set("io-device-location", RegistryBytes(RegistryData(location.begin(), location.end())));
    } else if (std::regex_match(name, match, target)) {
        attachment.scsi = true;
        entry.Set("SCSI Target", RegistryInteger(std::stoll(match[1].str()), RegistryNumber::Type::SInt32));
    } else if (std::regex_match(name, match, scsiDevice)) {
        attachment.scsiDevice = dir;
        if (attachment.ata)
            entry.Set("unit number", RegistryInteger(std::stoll(match[1].str()), RegistryNumber::Type::SInt32));
    } else if (std::regex_match(name, virtioBus)) {
        attachment.virtio = true;
        entry.Set("Virtio Bus", RegistryString(name));
    } else if (std::regex_match(name, mmcCard)) {
        attachment.mmcType = ReadSysfsText(dir / "type");
        if (attachment.mmcType.empty())
            attachment.mmcType = "MMC";
        attachment.mmcCard = dir;
        entry.Set("Card Name", RegistryString(name));
    } else if (std::regex_match(name, nvmeController) || std::regex_match(name, nvmeSubsystem)) {
        // A multipath namespace hangs below its subsystem, which knows the model.
        attachment.nvme = true;
        attachment.nvmeController = dir;
    } else if (std::regex_match(name, xenDevice)) {
        attachment.xen = true;
        entry.Set("Xen Device", RegistryString(name));
    }
}

// libata reports every ATA disk's vendor as "ATA", which names no maker.
std::string JoinVendorModel(const std::string& vendor, const std::string& model)
{
    const std::string maker = Trimmed(vendor);
    return Trimmed((maker == "ATA" ? std::string() : maker) + " " + Trimmed(model));
}

// Vendor and model from the udev database, where a udev daemon keeps one.
std::string UdevProductName(const fs::path& blockDir)
{
    if (!Exists("/run/udev/data"))
        return std::string();
    udev* context = udev_new();
    if (!context)
        return std::string();
    std::string product;
    if (udev_device* device = udev_device_new_from_syspath(context, blockDir.c_str())) {
        // The _ENC forms keep the spaces that ID_VENDOR and ID_MODEL turn into "_".
        const char* vendor = udev_device_get_property_value(device, "ID_VENDOR_ENC");
        const char* model = udev_device_get_property_value(device, "ID_MODEL_ENC");
        if (!vendor)
            vendor = udev_device_get_property_value(device, "ID_VENDOR");
        if (!model)
            model = udev_device_get_property_value(device, "ID_MODEL");
        if (model)
            product = JoinVendorModel(DecodeUdevString(vendor ? vendor : ""), DecodeUdevString(model));
        udev_device_unref(device);
    }
    udev_unref(context);
    return product;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// Devices the kernel makes up from others or from files and sockets.
std::string VirtualDeviceProduct(const std::string& name, const fs::path& blockDir)
{
    if (StartsWith(name, "loop"))
        return "Loop Device";
    if (StartsWith(name, "nbd"))
        return "Network Block Device";
    if (StartsWith(name, "bcache"))
        return "bcache Device";
    if (StartsWith(name, "dm-")) {
        const std::string uuid = ReadSysfsText((blockDir / "dm" / "uuid").string());
        if (StartsWith(uuid, "LVM-"))
            return "LVM Volume";
        if (StartsWith(uuid, "CRYPT-"))
            return "Encrypted Volume";
        return "Device Mapper Volume";
    }
    return std::string();
}

std::string ProductName(const std::string& name, const fs::path& blockDir, const Attachment& attachment)
{
    std::string product = UdevProductName(blockDir);
    if (!product.empty())
        return product;
    if (!attachment.scsiDevice.empty()) {
        product = JoinVendorModel(ReadSysfsText(attachment.scsiDevice / "vendor"),
                                  ReadSysfsText(attachment.scsiDevice / "model"));
    } else if (!attachment.nvmeController.empty()) {
        product = ReadSysfsText(attachment.nvmeController / "model");
    } else if (!attachment.mmcCard.empty()) {
        product = Trimmed(attachment.mmcType + " " + ReadSysfsText(attachment.mmcCard / "name"));
    } else if (attachment.virtio) {
        product = "Virtio Disk";
    } else if (attachment.xen) {
        product = "Xen Virtual Disk";
    } else {
        product = VirtualDeviceProduct(name, blockDir);
    }
    // Generic names would make several drives look alike in the menu.
    if (!product.empty() && attachment.scsiDevice.empty() && attachment.nvmeController.empty() &&
        attachment.mmcCard.empty())
        product += " (" + name + ")";
    return product;
}

struct Protocol {
    std::string interconnect;
    std::string icon = "drive-harddisk";
};

Protocol ChooseProtocol(const std::string& name, const fs::path& blockDir, const Attachment& attachment)
{
    Protocol protocol;
    if (attachment.usb) {
        protocol = {"USB", "drive-removable-media-usb"};
    } else if (attachment.fibre) {
        protocol.interconnect = "Fibre Channel Interface";
    } else if (attachment.ata) {
        protocol.interconnect = "ATA";
    } else if (attachment.nvme) {
        protocol.interconnect = "NVMe";
    } else if (attachment.virtio) {
        protocol.interconnect = "Virtio";
    } else if (attachment.xen) {
        protocol.interconnect = "Xen";
    } else if (!attachment.mmcType.empty()) {
        protocol = {attachment.mmcType == "SD" ? "SD" : "MMC", "media-flash"};
    } else if (attachment.scsi) {
        protocol.interconnect = "SCSI";
    } else if (StartsWith(name, "loop")) {
        protocol.interconnect = "Loop";
    } else if (StartsWith(name, "nbd")) {
        protocol.interconnect = "NBD";
    } else if (StartsWith(name, "bcache")) {
        protocol.interconnect = "bcache";
    } else if (StartsWith(name, "dm-")) {
        protocol.interconnect = "Device Mapper";
    }
    if (protocol.icon == "drive-harddisk" && ReadSysfsText(blockDir / "removable") == "1")
        protocol.icon = "drive-removable-media";
    return protocol;
}

// A loop device's backing path as the drive text can show it (ShownText),
// a path too long for the text cut to its end.
std::string ShownBackingPath(const std::string& path)
{
    constexpr std::size_t kLongest = 200;
    const std::string shown = ShownText(path);
    if (shown.size() <= kLongest)
        return shown;
    return "..." + shown.substr(TextCutStart(shown, kLongest - 3));
}

void DescribeMedium(RegistryEntry& medium, const std::string& name, const fs::path& blockDir,
                    const Attachment& attachment)
{
    medium.Set("BSD Name", RegistryString(name));
    medium.Set("Whole", RegistryBool(true));
    const int64_t sectors = ReadSysfsNumber(blockDir / "size").value_or(0);
    medium.Set("Size", RegistryInteger(sectors * 512));
    medium.Set("Writable", RegistryBool(ReadSysfsText(blockDir / "ro") == "0"));
    Protocol protocol = ChooseProtocol(name, blockDir, attachment);
    const bool optical = name.rfind("sr", 0) == 0 ||
                         (!attachment.scsiDevice.empty() && ReadSysfsText(attachment.scsiDevice / "type") == "5");
    if (optical) {
        protocol.icon = "drive-optical";
        if (sectors > 0)
            medium.Set("TOC", RegistryBytes({}));
    }
    if (!protocol.interconnect.empty()) {
        RegistryDictionary characteristics;
        characteristics["Physical Interconnect"] = RegistryString(protocol.interconnect);
        medium.Set("Protocol Characteristics", RegistryValue{characteristics});
    }
    if (attachment.nvme) {
        const int64_t nsid = ReadSysfsNumber(blockDir / "nsid").value_or(
            std::strtoll(name.substr(name.rfind('n') + 1).c_str(), nullptr, 10));
        medium.Set("NVMe Namespace", RegistryInteger(nsid, RegistryNumber::Type::SInt32));
    }
    if (const std::string backing = ReadSysfsText(blockDir / "loop" / "backing_file"); !backing.empty())
        medium.Set("Backing File", RegistryString(ShownBackingPath(backing)));
    if (const std::string mapper = ReadSysfsText(blockDir / "dm" / "name"); !mapper.empty())
        medium.Set("Mapper Name", RegistryString(mapper));

    RegistryDictionary icon;
    icon["CFBundleIdentifier"] = RegistryString(kIconThemeBundle);
    icon["IOBundleResourceFile"] = RegistryString(protocol.icon);
    medium.Set("IOMediaIcon", RegistryValue{icon});
    const std::string product = ProductName(name, blockDir, attachment);
    if (!product.empty()) {
        RegistryDictionary device;
        device["Product Name"] = RegistryString(product);
        medium.Set("Device Characteristics", RegistryValue{device});
    }
}

// md arrays are composite media: named by their kernel name, with the level.
void DescribeRaidSet(RegistryEntry& medium, const std::string& name, const fs::path& blockDir)
{
    medium.Set("BSD Name", RegistryString(name));
    medium.Set("Whole", RegistryBool(true));
    medium.Set("Size", RegistryInteger(ReadSysfsNumber(blockDir / "size").value_or(0) * 512));
    medium.Set("IOClass", RegistryString("LinuxSoftwareRAID"));
    medium.Set("RAID Level", RegistryString(ReadSysfsText(blockDir / "md" / "level")));
    // An array assembled read-only says so in its own attribute.
    medium.Set("Writable", RegistryBool(ReadSysfsText(blockDir / "ro") != "1"));
}

// The path devices of a multipath NVMe namespace (nvme0c1n1) have no node:
// only the namespace head (nvme0n1) is a drive.
bool IsHiddenPathDevice(const std::string& name, const fs::path& blockDir)
{
    static const std::regex pathDevice("nvme[0-9]+c[0-9]+n[0-9]+");
    return std::regex_match(name, pathDevice) || ReadSysfsText((blockDir / "hidden").string()) == "1";
}

const RegistryEntry* AddMedium(RegistryEntry& root, const fs::path& sysRoot, const std::string& name)
{
    const fs::path blockLink = sysRoot / "block" / name;
    std::error_code error;
    const fs::path blockDir = fs::canonical(blockLink, error);
    if (error || IsHiddenPathDevice(name, blockDir))
        return nullptr;
    const fs::path devices = fs::canonical(sysRoot / "devices", error);
    RegistryEntry* parent = &root;
    Attachment attachment;
    if (!error) {
        const fs::path relative = blockDir.lexically_relative(devices);
        fs::path dir = devices;
        for (const fs::path& component : relative.parent_path()) {
            dir /= component;
            if (component == "block" || component == "." || component == "..")
                continue;
            RegistryEntry& entry = parent->ChildNamed(component.string());
            DescribeAncestor(entry, dir, attachment);
            parent = &entry;
        }
    }
    if (Exists(blockDir / "md" / "level")) {
        RegistryEntry& medium = parent->AddChild(name);
        DescribeRaidSet(medium, name, blockDir);
        return &medium;
    }
    const std::string product = ProductName(name, blockDir, attachment);
    RegistryEntry& medium = parent->AddChild((product.empty() ? name : product) + " Media");
    DescribeMedium(medium, name, blockDir, attachment);
    if (StartsWith(name, "bcache")) {
        std::string below;
        for (const std::string& device : StackBelow(name, sysRoot.string()))
            below += device == name ? "" : (below.empty() ? "" : ", ") + device;
        medium.Set("Stacked On", RegistryString(below));
    }
    return &medium;
}

// Letters and digits of a name in runs; digit runs compare as numbers and
// letter runs by length first, as the kernel counts sda .. sdz, sdaa.
int CompareNaturally(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digits = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        if (digits != (std::isdigit(static_cast<unsigned char>(b[j])) != 0))
            return digits ? -1 : 1;
        std::size_t endA = i;
        std::size_t endB = j;
        while (endA < a.size() && (std::isdigit(static_cast<unsigned char>(a[endA])) != 0) == digits) ++endA;
        while (endB < b.size() && (std::isdigit(static_cast<unsigned char>(b[endB])) != 0) == digits) ++endB;
        std::string runA = a.substr(i, endA - i);
        std::string runB = b.substr(j, endB - j);
        if (digits) {
            runA.erase(0, std::min(runA.find_first_not_of('0'), runA.size() - 1));
            runB.erase(0, std::min(runB.find_first_not_of('0'), runB.size() - 1));
        }
        if (runA.size() != runB.size())
            return runA.size() < runB.size() ? -1 : 1;
        if (const int order = runA.compare(runB); order != 0)
            return order;
        i = endA;
        j = endB;
    }
    return (a.size() - i) == (b.size() - j) ? 0 : ((a.size() - i) < (b.size() - j) ? -1 : 1);
}

// Drives of the machine first, then those made of other devices, loop
// devices last.
int KindRank(const std::string& name)
{
    static const char* const kinds[] = {"nvme", "sd", "hd", "vd", "xvd", "mmcblk", "md", "dm-", "bcache", "nbd"};
    if (StartsWith(name, "loop"))
        return static_cast<int>(std::size(kinds)) + 1;
    for (std::size_t rank = 0; rank < std::size(kinds); ++rank) {
        if (StartsWith(name, kinds[rank]))
            return static_cast<int>(rank);
    }
    return static_cast<int>(std::size(kinds));
}

}  // namespace

bool DriveNameComesBefore(const std::string& a, const std::string& b)
{
    const int rankA = KindRank(a);
    const int rankB = KindRank(b);
    if (rankA != rankB)
        return rankA < rankB;
    const int order = CompareNaturally(a, b);
    return order != 0 ? order < 0 : a < b;
}

std::string ReadSysfsText(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line))
        return std::string();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\n' || line.back() == '\t'))
        line.pop_back();
    return line;
}

MediaRegistry BuildMediaRegistry(const std::string& sysRoot)
{
    MediaRegistry registry;
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& item : fs::directory_iterator(fs::path(sysRoot) / "block", error))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end(), DriveNameComesBefore);
    for (const std::string& name : names) {
        if (const RegistryEntry* medium = AddMedium(*registry.root, sysRoot, name))
            registry.media.push_back(medium);
    }
    return registry;
}

MediaRegistry BuildMediaRegistryFor(const std::string& name, const std::string& sysRoot)
{
    MediaRegistry registry;
    if (name.empty() || name.find('/') != std::string::npos)
        return registry;
    if (const RegistryEntry* medium = AddMedium(*registry.root, sysRoot, name))
        registry.media.push_back(medium);
    return registry;
}
