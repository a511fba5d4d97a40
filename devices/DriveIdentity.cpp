#include "devices/DriveIdentity.h"

#include "devices/DevicePaths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// The file's text with surrounding blanks and NULs removed ("" when unreadable).
std::string Trimmed(const std::string& text)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0 || c == '\0'; };
    std::size_t begin = 0, end = text.size();
    while (begin < end && blank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && blank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

std::string FileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Attribute(const fs::path& path)
{
    return Trimmed(FileText(path));
}

// Page 0x80 of the vital product data: four header bytes, then the serial number.
std::string SerialFromVpdPage80(const fs::path& path)
{
    const std::string page = FileText(path);
    if (page.size() <= 4 || static_cast<unsigned char>(page[1]) != 0x80)
        return {};
    const std::size_t length = (static_cast<unsigned char>(page[2]) << 8) | static_cast<unsigned char>(page[3]);
    return Trimmed(page.substr(4, length));
}

// A property of the block device in the udev database, where one is kept.
std::string UdevProperty(const fs::path& blockDir, const std::string& udevData, const std::string& name)
{
    const std::string number = Attribute(blockDir / "dev");
    if (number.empty())
        return {};
    std::ifstream in(fs::path(udevData) / ("b" + number));
    const std::string prefix = "E:" + name + "=";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0)
            return Trimmed(line.substr(prefix.size()));
    return {};
}

// Where a drive is attached, for drives that cannot be told apart otherwise:
// udev's ID_PATH (the name under /dev/disk/by-path) where udev runs, else the
// drive's folder below /sys/devices without the SCSI host and target numbers,
// which follow the order in which controllers were found, not the hardware.
// A virtual drive has no port: a device-mapper one is known by its uuid (its
// number follows the order of creation), others (zram, md) by kernel name.
std::string AttachmentPath(const fs::path& blockDir, const DriveIdentityRoots& roots)
{
    const std::string byPath = UdevProperty(blockDir, roots.udevData, "ID_PATH");
    if (!byPath.empty())
        return byPath;
    std::error_code error;
    const fs::path devices = fs::canonical(fs::path(roots.sysRoot) / "devices", error);
    const fs::path relative = fs::canonical(blockDir, error).lexically_relative(devices);
    if (error || relative.empty() || *relative.begin() == "..")
        return {};
    if (*relative.begin() == "virtual") {
        const std::string mapperUuid = Attribute(blockDir / "dm" / "uuid");
        return mapperUuid.empty() ? relative.string() : "dm-uuid-" + mapperUuid;
    }
    std::string path;
    for (const fs::path& part : relative.parent_path().parent_path()) {  // without block/<name>
        const std::string name = part.string();
        if (name.rfind("host", 0) == 0 || name.rfind("target", 0) == 0)
            continue;
        const bool scsiAddress = std::count(name.begin(), name.end(), ':') == 3 && std::isdigit(static_cast<unsigned char>(name[0]));
        path += (path.empty() ? "" : "/") + (scsiAddress ? name.substr(name.find(':') + 1) : name);
    }
    return path;
}

std::string WholeDriveIdentity(const std::string& name, const DriveIdentityRoots& roots)
{
    const fs::path blockDir = fs::path(roots.sysRoot) / "block" / name;
    const std::string backing = Attribute(blockDir / "loop" / "backing_file");
    if (!backing.empty())
        return "loop:" + backing;
    for (const char* attribute : {"device/serial", "wwid", "device/wwid"}) {
        const std::string serial = Attribute(blockDir / attribute);
        if (!serial.empty())
            return std::string("serial:") + serial;
    }
    std::string serial = SerialFromVpdPage80(blockDir / "device" / "vpd_pg80");
    if (serial.empty())
        serial = UdevProperty(blockDir, roots.udevData, "ID_SERIAL");
    if (!serial.empty())
        return "serial:" + serial;
    const std::string wwn = UdevProperty(blockDir, roots.udevData, "ID_WWN");
    if (!wwn.empty())
        return "wwn:" + wwn;
    const std::string sectors = Attribute(blockDir / "size");
    if (sectors.empty())
        return {};
    std::string model = Attribute(blockDir / "device" / "model");
    if (model.empty())
        model = Attribute(blockDir / "device" / "name");  // memory cards
    const std::string identity = "model:" + model + ":" + std::to_string(std::stoull("0" + sectors) * 512);
    const std::string attachment = AttachmentPath(blockDir, roots);
    return attachment.empty() ? identity : identity + "@" + attachment;
}
}  // namespace

std::string DriveIdentityFor(const std::string& devicePath, const DriveIdentityRoots& roots)
{
    struct stat status {};
    if (stat(devicePath.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        std::error_code error;
        const fs::path absolute = fs::weakly_canonical(fs::absolute(devicePath, error), error);
        return "file:" + absolute.string();
    }
    const std::string drivePath = DrivePathForDevicePath(devicePath, roots.sysRoot);
    if (drivePath.empty())
        return {};
    const std::string identity = WholeDriveIdentity(KernelNameOfDevicePath(drivePath), roots);
    if (identity.empty() || drivePath == devicePath)
        return identity;
    const std::string name = KernelNameOfDevicePath(devicePath);
    const std::string partition = Attribute(fs::path(roots.sysRoot) / "class" / "block" / name / "partition");
    return identity + "#part" + (partition.empty() ? name : partition);
}
